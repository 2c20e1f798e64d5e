// Small-block allocator of one value heap: 18 size classes of 4 to 72 bytes,
// each with a 144-byte first page of its own and further pages from the pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace zun {

class BindingPagePool;

// Not thread-safe: a heap belongs to one tree, used by one thread at a time.
// Allocation and release are constant time; a pool page goes back to the pool
// as soon as its last block is released.
class BlockAllocator {
 public:
  static constexpr size_t kClassCount = 18;
  static constexpr size_t kGranule = 4;
  static constexpr size_t kLargestBlock = kClassCount * kGranule;  // 72
  static constexpr size_t kEmbeddedPageSize = 144;

  // Header at the start of every page. Slots that overlap it are never used;
  // slot 0 always does, so index 0 ends a free chain. Slots are handed out
  // from the chain of released ones first, then in address order from
  // `fresh`, so a page needs no pass over its slots when it is taken. A page
  // is full when both are 0.
  struct PageHeader {
    PageHeader* next;
    PageHeader* previous;
    uint16_t pageSize;
    uint16_t used;
    uint16_t firstFree;  // 0 when no released slot is waiting
    uint16_t fresh;      // first slot never handed out; 0 when none is left
  };
  static constexpr size_t kPageHeaderSize = (sizeof(PageHeader) + 7) / 8 * 8;

  explicit BlockAllocator(BindingPagePool& pool);
  ~BlockAllocator();
  BlockAllocator(const BlockAllocator&) = delete;
  BlockAllocator& operator=(const BlockAllocator&) = delete;

  // A block of 1 to kLargestBlock bytes, aligned to the largest power of two
  // (up to 8) that divides its rounded size.
  [[nodiscard]] void* Allocate(size_t size);
  // Gives back a block from Allocate with the same size.
  void Release(void* block, size_t size);

  // Slot capacity of one page of a class, for sizing and tests.
  [[nodiscard]] static constexpr size_t FirstSlot(size_t blockSize) {
    return (blockSize + kPageHeaderSize - 1) / blockSize;
  }
  [[nodiscard]] static constexpr size_t SlotCount(size_t blockSize, size_t pageSize) {
    return pageSize / blockSize - FirstSlot(blockSize);
  }

  // Introspection for tests: pages on the class list of a block size
  // (the embedded page included while it has room), and blocks in use.
  [[nodiscard]] size_t ListedPageCount(size_t size) const;
  [[nodiscard]] size_t UsedBlockCount(size_t size) const;
  [[nodiscard]] BindingPagePool& Pool() const { return pool_; }
  // Whether any block of any class is in use.
  [[nodiscard]] bool InUse() const;

 private:
  struct SizeClass {
    alignas(16) unsigned char embedded[kEmbeddedPageSize];
    PageHeader* head;
    size_t liveBlocks;
  };

  void CreateClasses();
  void* AllocateFromNewPage(SizeClass& sizeClass, size_t blockSize);
  static void InitialisePage(PageHeader* page, size_t pageSize, size_t blockSize);
  static void PushFront(SizeClass& sizeClass, PageHeader* page);
  static void Unlink(SizeClass& sizeClass, PageHeader* page);

  BindingPagePool& pool_;
  std::unique_ptr<SizeClass[]> classes_;
};

}  // namespace zun
