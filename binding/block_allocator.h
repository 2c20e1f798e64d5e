// Small-block allocator of one value heap: 18 size classes of 4 to 72 bytes,
// each with a 144-byte first page of its own and further pages from the pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <array>
#include <cstring>
#include <memory>

namespace zun {

class BindingPagePool;

// Not thread-safe: a heap belongs to one tree, used by one thread at a time.
// Allocation and release are constant time; a pool page goes back to the pool
// as soon as its last block is released. Full pages sit on a list of their
// own, so that a heap whose whole tree goes at once can give every page back
// without visiting a block (ReleaseAll).
class BlockAllocator {
 public:
  static constexpr size_t kClassCount = 18;
  static constexpr size_t kGranule = 4;
  static constexpr size_t kLargestBlock = kClassCount * kGranule;  // 72
  static constexpr size_t kEmbeddedPageSize = 144;
  // Pool pages are this large and aligned to their size (BindingPagePool).
  static constexpr size_t kPoolPageSize = 4096;

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
  // (up to 8) that divides its rounded size. The common cases are inline
  // (below); taking a page and first use go out of line.
  [[nodiscard]] void* Allocate(size_t size);
  // Gives back a block from Allocate with the same size.
  void Release(void* block, size_t size);
  // Ends every block at once: pool pages go back to the pool and each class
  // starts again from its empty embedded page. Blocks are not visited, so
  // whatever they hold must need no release of its own.
  void ReleaseAll();

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
    PageHeader* head;  // pages with a slot to hand out
    PageHeader* full;  // pages without
    size_t liveBlocks;
  };

  [[nodiscard]] static constexpr size_t ClassIndex(size_t size) {
    return size == 0 ? 0 : (size + kGranule - 1) / kGranule - 1;
  }
  [[nodiscard]] static constexpr size_t ClassBlockSize(size_t index) { return (index + 1) * kGranule; }
  // The slot of a block `offset` bytes into its page: offset / block size,
  // computed by multiplying with ceil(2^32 / size), which is exact while
  // offset * size < 2^32, far beyond a page.
  [[nodiscard]] static uint16_t SlotIndex(size_t offset, size_t classIndex);

  void CreateClasses();
  void* AllocateSlow(size_t size);
  void ReturnEmptyPage(SizeClass& sizeClass, PageHeader* page);
  static void InitialisePage(PageHeader* page, size_t pageSize, size_t blockSize);
  static void PushFront(PageHeader*& list, PageHeader* page);
  static void Unlink(PageHeader*& list, PageHeader* page);
  // The class's head page handed out its last slot / a full page got one back.
  static void PageFilled(SizeClass& sizeClass, PageHeader* page);
  static void PageReopened(SizeClass& sizeClass, PageHeader* page);

  BindingPagePool& pool_;
  std::unique_ptr<SizeClass[]> classes_;
};

namespace block_allocator_detail {

inline constexpr auto kSlotDivisors = [] {
  std::array<uint64_t, BlockAllocator::kClassCount> factors{};
  for (size_t i = 0; i < factors.size(); ++i) {
    const uint64_t size = (i + 1) * BlockAllocator::kGranule;
    factors[i] = ((uint64_t{1} << 32) + size - 1) / size;
  }
  return factors;
}();

inline uint16_t NextFreeOf(const unsigned char* slot) {
  uint16_t next;
  std::memcpy(&next, slot, sizeof(next));
  return next;
}

inline void SetNextFree(unsigned char* slot, uint16_t next) { std::memcpy(slot, &next, sizeof(next)); }

}  // namespace block_allocator_detail

inline uint16_t BlockAllocator::SlotIndex(size_t offset, size_t classIndex) {
  static_assert(uint64_t{kPoolPageSize} * kLargestBlock < (uint64_t{1} << 32));
  return static_cast<uint16_t>((offset * block_allocator_detail::kSlotDivisors[classIndex]) >> 32);
}

inline void* BlockAllocator::Allocate(size_t size) {
  using namespace block_allocator_detail;
  const size_t index = ClassIndex(size);
  PageHeader* page = classes_ ? classes_[index].head : nullptr;
  if (page == nullptr) [[unlikely]] {
    return AllocateSlow(size);
  }
  const size_t blockSize = ClassBlockSize(index);
  // The header fields are read once into locals: reading them back right
  // after the 16-bit stores below would stall on store forwarding.
  uint16_t firstFree = page->firstFree;
  uint16_t fresh = page->fresh;
  unsigned char* block;
  if (firstFree != 0) {
    block = reinterpret_cast<unsigned char*>(page) + firstFree * blockSize;
    firstFree = NextFreeOf(block);
    page->firstFree = firstFree;
  } else {
    block = reinterpret_cast<unsigned char*>(page) + fresh * blockSize;
    const bool lastSlot = (fresh + size_t{2}) * blockSize > page->pageSize;
    fresh = lastSlot ? 0 : static_cast<uint16_t>(fresh + 1);
    page->fresh = fresh;
  }
  ++page->used;
  ++classes_[index].liveBlocks;
  if (firstFree == 0 && fresh == 0) PageFilled(classes_[index], page);
  return block;
}

inline void BlockAllocator::Release(void* block, size_t size) {
  using namespace block_allocator_detail;
  const size_t index = ClassIndex(size);
  SizeClass& sizeClass = classes_[index];
  auto* bytes = static_cast<unsigned char*>(block);
  const bool embedded = bytes >= sizeClass.embedded && bytes < sizeClass.embedded + kEmbeddedPageSize;
  auto* page = embedded ? reinterpret_cast<PageHeader*>(sizeClass.embedded)
                        : reinterpret_cast<PageHeader*>(reinterpret_cast<uintptr_t>(block) &
                                                        ~uintptr_t{kPoolPageSize - 1});
  const uint16_t firstFree = page->firstFree;
  if (firstFree == 0 && page->fresh == 0) PageReopened(sizeClass, page);
  SetNextFree(bytes, firstFree);
  page->firstFree = SlotIndex(static_cast<size_t>(bytes - reinterpret_cast<unsigned char*>(page)), index);
  const uint16_t used = --page->used;
  --sizeClass.liveBlocks;
  if (used == 0 && !embedded) ReturnEmptyPage(sizeClass, page);
}

}  // namespace zun
