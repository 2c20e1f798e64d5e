// Size classes of the value heap: free slots are chained by 16-bit indices
// stored in the slots themselves; full pages move to a list of their own.
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
    classes_[i].full = nullptr;
    classes_[i].liveBlocks = 0;
  }
}

void BlockAllocator::InitialisePage(PageHeader* page, size_t pageSize, size_t blockSize) {
  *page = PageHeader{nullptr, nullptr, static_cast<uint16_t>(pageSize), 0, 0,
                     static_cast<uint16_t>(FirstSlot(blockSize))};
}

void BlockAllocator::PushFront(PageHeader*& list, PageHeader* page) {
  page->previous = nullptr;
  page->next = list;
  if (list != nullptr) list->previous = page;
  list = page;
}

void BlockAllocator::Unlink(PageHeader*& list, PageHeader* page) {
  if (page->previous != nullptr) {
    page->previous->next = page->next;
  } else {
    list = page->next;
  }
  if (page->next != nullptr) page->next->previous = page->previous;
  page->next = nullptr;
  page->previous = nullptr;
}

void BlockAllocator::PageFilled(SizeClass& sizeClass, PageHeader* page) {
  Unlink(sizeClass.head, page);
  PushFront(sizeClass.full, page);
}

void BlockAllocator::PageReopened(SizeClass& sizeClass, PageHeader* page) {
  Unlink(sizeClass.full, page);
  PushFront(sizeClass.head, page);
}

void* BlockAllocator::AllocateSlow(size_t size) {
  if (!classes_) CreateClasses();
  const size_t index = ClassIndex(size);
  if (classes_[index].head == nullptr) {
    auto* page = static_cast<PageHeader*>(pool_.TakePage());
    InitialisePage(page, BindingPagePool::kPageSize, ClassBlockSize(index));
    PushFront(classes_[index].head, page);
  }
  return Allocate(size);
}

void BlockAllocator::ReturnEmptyPage(SizeClass& sizeClass, PageHeader* page) {
  Unlink(sizeClass.head, page);
  pool_.ReturnPage(page);
}

void BlockAllocator::ReleaseAll() {
  if (!classes_) return;
  for (size_t i = 0; i < kClassCount; ++i) {
    SizeClass& sizeClass = classes_[i];
    auto* embedded = reinterpret_cast<PageHeader*>(sizeClass.embedded);
    for (PageHeader* list : {sizeClass.head, sizeClass.full}) {
      while (list != nullptr) {
        PageHeader* page = list;
        list = page->next;
        if (page != embedded) pool_.ReturnPage(page);
      }
    }
    InitialisePage(embedded, kEmbeddedPageSize, ClassBlockSize(i));
    sizeClass.head = embedded;
    sizeClass.full = nullptr;
    sizeClass.liveBlocks = 0;
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
