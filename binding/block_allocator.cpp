// Size classes of the value heap: free slots are chained by 16-bit indices
// stored in the slots themselves; full pages leave the class list.
#include "binding/block_allocator.h"

#include <array>
#include <cstring>

#include "binding/page_pool.h"

namespace zun {

namespace {

static_assert(BlockAllocator::kPageHeaderSize <= 24);
#if defined(__i386__)
// The first usable slot of a class of n bytes is (n + 15) / n on the
// production build.
static_assert(sizeof(BlockAllocator::PageHeader) == 16);
#endif
static_assert(BindingPagePool::kPageSize / BlockAllocator::kGranule <= UINT16_MAX);

size_t ClassIndex(size_t size) {
  return size == 0 ? 0 : (size + BlockAllocator::kGranule - 1) / BlockAllocator::kGranule - 1;
}
constexpr size_t ClassBlockSize(size_t index) { return (index + 1) * BlockAllocator::kGranule; }

unsigned char* SlotAddress(BlockAllocator::PageHeader* page, size_t index, size_t blockSize) {
  return reinterpret_cast<unsigned char*>(page) + index * blockSize;
}

uint16_t NextFreeOf(const unsigned char* slot) {
  uint16_t next;
  std::memcpy(&next, slot, sizeof(next));
  return next;
}

void SetNextFree(unsigned char* slot, uint16_t next) { std::memcpy(slot, &next, sizeof(next)); }

// offset / blockSize by a multiplication: with ceil(2^32 / size) as the
// factor the quotient is exact while offset * size < 2^32, far beyond a page.
constexpr auto kSlotDivisors = [] {
  std::array<uint64_t, BlockAllocator::kClassCount> factors{};
  for (size_t i = 0; i < factors.size(); ++i) {
    const uint64_t size = ClassBlockSize(i);
    factors[i] = ((uint64_t{1} << 32) + size - 1) / size;
  }
  return factors;
}();
static_assert(uint64_t{BindingPagePool::kPageSize} * BlockAllocator::kLargestBlock < (uint64_t{1} << 32));

uint16_t SlotIndex(size_t offset, size_t classIndex) {
  return static_cast<uint16_t>((offset * kSlotDivisors[classIndex]) >> 32);
}

}  // namespace

BlockAllocator::BlockAllocator(BindingPagePool& pool) : pool_(pool) {}

BlockAllocator::~BlockAllocator() = default;

void BlockAllocator::CreateClasses() {
  classes_ = std::make_unique<SizeClass[]>(kClassCount);
  for (size_t i = 0; i < kClassCount; ++i) {
    auto* page = reinterpret_cast<PageHeader*>(classes_[i].embedded);
    InitialisePage(page, kEmbeddedPageSize, ClassBlockSize(i));
    classes_[i].head = page;
    classes_[i].liveBlocks = 0;
  }
}

void BlockAllocator::InitialisePage(PageHeader* page, size_t pageSize, size_t blockSize) {
  *page = PageHeader{nullptr, nullptr, static_cast<uint16_t>(pageSize), 0, 0,
                     static_cast<uint16_t>(FirstSlot(blockSize))};
}

void BlockAllocator::PushFront(SizeClass& sizeClass, PageHeader* page) {
  page->previous = nullptr;
  page->next = sizeClass.head;
  if (sizeClass.head != nullptr) sizeClass.head->previous = page;
  sizeClass.head = page;
}

void BlockAllocator::Unlink(SizeClass& sizeClass, PageHeader* page) {
  if (page->previous != nullptr) {
    page->previous->next = page->next;
  } else {
    sizeClass.head = page->next;
  }
  if (page->next != nullptr) page->next->previous = page->previous;
  page->next = nullptr;
  page->previous = nullptr;
}

void* BlockAllocator::AllocateFromNewPage(SizeClass& sizeClass, size_t blockSize) {
  auto* page = static_cast<PageHeader*>(pool_.TakePage());
  InitialisePage(page, BindingPagePool::kPageSize, blockSize);
  PushFront(sizeClass, page);
  return Allocate(blockSize);
}

void* BlockAllocator::Allocate(size_t size) {
  if (!classes_) CreateClasses();
  const size_t blockSize = ClassBlockSize(ClassIndex(size));
  SizeClass& sizeClass = classes_[ClassIndex(size)];
  PageHeader* page = sizeClass.head;
  if (page == nullptr) return AllocateFromNewPage(sizeClass, blockSize);
  // The header fields are read once into locals: reading them back right
  // after the 16-bit stores below would stall on store forwarding.
  uint16_t firstFree = page->firstFree;
  uint16_t fresh = page->fresh;
  unsigned char* block;
  if (firstFree != 0) {
    block = SlotAddress(page, firstFree, blockSize);
    firstFree = NextFreeOf(block);
    page->firstFree = firstFree;
  } else {
    block = SlotAddress(page, fresh, blockSize);
    const bool lastSlot = (fresh + size_t{2}) * blockSize > page->pageSize;
    fresh = lastSlot ? 0 : static_cast<uint16_t>(fresh + 1);
    page->fresh = fresh;
  }
  ++page->used;
  ++sizeClass.liveBlocks;
  if (firstFree == 0 && fresh == 0) Unlink(sizeClass, page);
  return block;
}

void BlockAllocator::Release(void* block, size_t size) {
  const size_t classIndex = ClassIndex(size);
  SizeClass& sizeClass = classes_[classIndex];
  auto* bytes = static_cast<unsigned char*>(block);
  const bool embedded = bytes >= sizeClass.embedded && bytes < sizeClass.embedded + kEmbeddedPageSize;
  auto* page = embedded ? reinterpret_cast<PageHeader*>(sizeClass.embedded)
                        : reinterpret_cast<PageHeader*>(reinterpret_cast<uintptr_t>(block) &
                                                        ~uintptr_t{BindingPagePool::kPageSize - 1});
  const uint16_t firstFree = page->firstFree;
  if (firstFree == 0 && page->fresh == 0) PushFront(sizeClass, page);
  SetNextFree(bytes, firstFree);
  page->firstFree = SlotIndex(static_cast<size_t>(bytes - reinterpret_cast<unsigned char*>(page)), classIndex);
  const uint16_t used = --page->used;
  --sizeClass.liveBlocks;
  if (used == 0 && !embedded) {
    Unlink(sizeClass, page);
    pool_.ReturnPage(page);
  }
}

size_t BlockAllocator::ListedPageCount(size_t size) const {
  if (!classes_) return 0;
  size_t count = 0;
  for (const PageHeader* page = classes_[ClassIndex(size)].head; page != nullptr; page = page->next) ++count;
  return count;
}

size_t BlockAllocator::UsedBlockCount(size_t size) const {
  return classes_ ? classes_[ClassIndex(size)].liveBlocks : 0;
}

bool BlockAllocator::InUse() const {
  if (!classes_) return false;
  for (size_t i = 0; i < kClassCount; ++i) {
    if (classes_[i].liveBlocks != 0) return true;
  }
  return false;
}

}  // namespace zun
