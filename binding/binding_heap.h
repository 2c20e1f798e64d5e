// The arena of one value tree: the intern table of its texts and the block
// allocator of its container headers, enum payloads and member nodes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "binding/block_allocator.h"
#include "binding/interned_string.h"

namespace zun {

class BindingPagePool;

// Owned by the root of a tree and used by one thread at a time.
class BindingHeap {
 public:
  BindingHeap();
  explicit BindingHeap(BindingPagePool& pool);
  ~BindingHeap();
  BindingHeap(const BindingHeap&) = delete;
  // A heap over the process pool for a new tree: the calling thread's spare
  // heap when it has one, else a new one.
  [[nodiscard]] static BindingHeap* Create();
  // Ends a tree's heap (null is ignored). An emptied heap over the process
  // pool becomes the thread's spare if it has none; otherwise it is deleted.
  static void Destroy(BindingHeap* heap);
  BindingHeap& operator=(const BindingHeap&) = delete;

  // The record of `text` (taken as given, NULs included), counted once more.
  // The empty text gives the shared empty record. Copies nothing on a hit.
  [[nodiscard]] const InternedString* Intern(std::string_view text);
  // Gives back one count; the record is freed when its count reaches 0.
  void Release(const InternedString* record);
  // The record of `text` if the table holds one; no count is taken.
  [[nodiscard]] const InternedString* FindInterned(std::string_view text) const;
  [[nodiscard]] size_t InternedCount() const { return count_; }

  // Blocks up to BlockAllocator::kLargestBlock come from the block allocator,
  // larger ones from general memory, chained so that the heap can free them
  // all at once.
  [[nodiscard]] void* AllocateBlock(size_t size) {
    return size <= BlockAllocator::kLargestBlock ? blocks_.Allocate(size) : AllocateLarge(size);
  }
  void ReleaseBlock(void* block, size_t size) {
    if (size <= BlockAllocator::kLargestBlock) {
      blocks_.Release(block, size);
    } else {
      ReleaseLarge(block);
    }
  }

  // Blobs keep their bytes in vectors of their own, which only the values
  // holding them can free: the heap counts them to know whether its whole
  // tree may go without visiting the values.
  void BlobCreated() { ++blobs_; }
  void BlobDestroyed() { --blobs_; }
  // Whether ReleaseTree may end the tree: no value holds memory of its own.
  [[nodiscard]] bool CanReleaseTree() const { return blobs_ == 0; }
  // Ends every value of the tree at once, for a root that goes with its
  // heap: frees every record, block and large block without visiting the
  // values, which must not be touched afterwards. Requires CanReleaseTree.
  void ReleaseTree();
  [[nodiscard]] BlockAllocator& Blocks() { return blocks_; }
  [[nodiscard]] const BlockAllocator& Blocks() const { return blocks_; }

 private:
  // A slot keeps its record's table hash beside the pointer (null when
  // free), so that probing past other texts and rehashing read no record.
  struct Slot {
    InternedString* record;
    uint32_t tableHash;
  };
  // In front of every large block. 16 bytes keep the block as aligned as
  // general memory is.
  struct alignas(16) LargeHeader {
    LargeHeader* previous;
    LargeHeader* next;
  };

  static constexpr size_t kInitialSlots = 8;
  // Largest table a spare heap keeps for its next tree (all slots free).
  static constexpr size_t kSpareSlots = 256;

  // The slot that holds `text`, or the empty slot that ends its probe run.
  [[nodiscard]] size_t Locate(std::string_view text, uint32_t tableHash) const;
  [[nodiscard]] InternedString* Insert(size_t slot, std::string_view text, uint32_t tableHash);
  void RemoveSlot(size_t slot);
  void Grow();
  [[nodiscard]] void* AllocateLarge(size_t size);
  void ReleaseLarge(void* block);
  void FreeLargeBlocks();

  BlockAllocator blocks_;
  Slot* slots_ = nullptr;
  size_t slotCount_ = 0;  // 0 or a power of two
  size_t count_ = 0;
  LargeHeader* large_ = nullptr;  // every large block, newest first
  size_t blobs_ = 0;
};

}  // namespace zun
