// Size classes of the value heap: free slots are chained by 16-bit indices
// stored in the slots themselves; full pages leave the class list.
#include "binding/block_allocator.h"

#include "binding/page_pool.h"

namespace zun {

static_assert(BlockAllocator::kPageHeaderSize <= 24);
#if defined(__i386__)
// The first usable slot of a class of n bytes is (n + 15) / n on the
// production build.
static_assert(sizeof(BlockAllocator::PageHeader) == 16);
#endif
static_assert(BindingPagePool::kPageSize / BlockAllocator::kGranule <= UINT16_MAX);
static_assert(BlockAllocator::kPoolPageSize == BindingPagePool::kPageSize);

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

void* BlockAllocator::AllocateSlow(size_t size) {
  if (!classes_) CreateClasses();
  const size_t index = ClassIndex(size);
  if (classes_[index].head == nullptr) {
    auto* page = static_cast<PageHeader*>(pool_.TakePage());
    InitialisePage(page, BindingPagePool::kPageSize, ClassBlockSize(index));
    PushFront(classes_[index], page);
  }
  return Allocate(size);
}

void BlockAllocator::ReturnEmptyPage(SizeClass& sizeClass, PageHeader* page) {
  Unlink(sizeClass, page);
  pool_.ReturnPage(page);
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
