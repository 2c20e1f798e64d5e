// The value heap: an open-addressed table of interned texts (linear probing,
// at most half full) beside the block allocator. Records are freed as soon as
// their last reference goes.
#include "binding/binding_heap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

#include "binding/intern_table_hash.h"
#include "binding/page_pool.h"

namespace zun {

namespace {

constexpr const char* kTextTooLong = "text too long for a value heap";

// Rounded up to eight bytes: blocks are aligned to the largest power of two
// (up to eight) dividing their size, and a record holds 64-bit fields.
size_t RecordSize(size_t length) { return (sizeof(InternedString) + length + 1 + 7) & ~size_t{7}; }

// Equal first and last sizeof(Word) bytes of two texts of `length` bytes,
// sizeof(Word) <= length <= 2 * sizeof(Word): two overlapping loads cover
// the whole text.
template <typename Word>
bool SameHeadAndTail(const char* a, const char* b, size_t length) {
  Word a0, b0, a1, b1;
  std::memcpy(&a0, a, sizeof(Word));
  std::memcpy(&b0, b, sizeof(Word));
  std::memcpy(&a1, a + length - sizeof(Word), sizeof(Word));
  std::memcpy(&b1, b + length - sizeof(Word), sizeof(Word));
  return ((a0 ^ b0) | (a1 ^ b1)) == 0;
}

// Equal bytes of two texts of `length` bytes. Most texts are short: words
// compared inline beat the call to memcmp there.
bool SameBytes(const char* a, const char* b, size_t length) {
  if (length > 16) return std::memcmp(a, b, length) == 0;
  if (length >= 8) return SameHeadAndTail<uint64_t>(a, b, length);
  if (length >= 4) return SameHeadAndTail<uint32_t>(a, b, length);
  for (size_t i = 0; i < length; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// One emptied heap per thread, kept for the next tree: short-lived trees
// (a converted record, a request's arguments) then skip creating the heap.
struct SpareHeap {
  BindingHeap* heap = nullptr;
  SpareHeap() = default;
  SpareHeap(const SpareHeap&) = delete;
  SpareHeap& operator=(const SpareHeap&) = delete;
  ~SpareHeap() { delete heap; }
};
thread_local SpareHeap tSpareHeap;

}  // namespace

BindingHeap::BindingHeap() : BindingHeap(BindingPagePool::Process()) {}

BindingHeap::BindingHeap(BindingPagePool& pool) : blocks_(pool) {}

BindingHeap::~BindingHeap() {
  if (count_ != 0) {
    for (size_t i = 0; i < slotCount_; ++i) {
      if (slots_[i].record != nullptr) ReleaseBlock(slots_[i].record, RecordSize(slots_[i].record->length));
    }
  }
  FreeLargeBlocks();
  delete[] slots_;
}

void* BindingHeap::AllocateLarge(size_t size) {
  if (size > SIZE_MAX - sizeof(LargeHeader)) throw std::bad_alloc();
  auto* header = static_cast<LargeHeader*>(::operator new(sizeof(LargeHeader) + size));
  header->previous = nullptr;
  header->next = large_;
  if (large_ != nullptr) large_->previous = header;
  large_ = header;
  return header + 1;
}

void BindingHeap::ReleaseLarge(void* block) {
  LargeHeader* header = static_cast<LargeHeader*>(block) - 1;
  if (header->previous != nullptr) {
    header->previous->next = header->next;
  } else {
    large_ = header->next;
  }
  if (header->next != nullptr) header->next->previous = header->previous;
  ::operator delete(header);
}

void BindingHeap::FreeLargeBlocks() {
  while (large_ != nullptr) {
    LargeHeader* header = large_;
    large_ = header->next;
    ::operator delete(header);
  }
}

// Records are blocks or large blocks as well, so emptying the table is all
// that is left of them.
void BindingHeap::ReleaseTree() {
  FreeLargeBlocks();
  blocks_.ReleaseAll();
  if (count_ != 0) {
    std::fill(slots_, slots_ + slotCount_, Slot{nullptr, 0});
    count_ = 0;
  }
}

BindingHeap* BindingHeap::Create() {
  if (BindingHeap* spare = std::exchange(tSpareHeap.heap, nullptr)) return spare;
  return new BindingHeap();
}

void BindingHeap::Destroy(BindingHeap* heap) {
  if (heap == nullptr) return;
  const bool reusable = heap->count_ == 0 && heap->large_ == nullptr && !heap->blocks_.InUse() &&
                        &heap->blocks_.Pool() == &BindingPagePool::Process();
  if (!reusable || tSpareHeap.heap != nullptr) {
    delete heap;
    return;
  }
  // A large table is not kept: the next tree may be small.
  if (heap->slotCount_ > kSpareSlots) {
    delete[] heap->slots_;
    heap->slots_ = nullptr;
    heap->slotCount_ = 0;
  }
  tSpareHeap.heap = heap;
}

// Only callers that checked slotCount_ != 0 get here.
size_t BindingHeap::Locate(std::string_view text, uint32_t tableHash) const {
  const size_t mask = slotCount_ - 1;
  for (size_t i = tableHash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.record == nullptr) return i;
    const InternedString* record = slot.record;
    if (slot.tableHash == tableHash && record->length == text.size() &&
        SameBytes(record->text, text.data(), text.size())) {
      return i;
    }
  }
}

const InternedString* BindingHeap::FindInterned(std::string_view text) const {
  if (count_ == 0 || text.empty()) return nullptr;
  return slots_[Locate(text, InternTableHash(text))].record;
}

const InternedString* BindingHeap::Intern(std::string_view text) {
  if (text.empty()) return &kEmptyInternedString;
  const uint32_t tableHash = InternTableHash(text);
  InternedString* record = nullptr;
  if (slotCount_ != 0) {
    const size_t slot = Locate(text, tableHash);
    record = slots_[slot].record;
    if (record == nullptr) record = Insert(slot, text, tableHash);
  } else {
    Grow();
    record = Insert(Locate(text, tableHash), text, tableHash);
  }
  ++record->refCount;
  return record;
}

// `slot` is the empty slot that Locate found for `text`; growing moves it.
InternedString* BindingHeap::Insert(size_t slot, std::string_view text, uint32_t tableHash) {
  if (text.size() > UINT32_MAX - sizeof(InternedString) - 1) throw std::length_error(kTextTooLong);
  if ((count_ + 1) * 2 > slotCount_) {
    Grow();
    slot = Locate(text, tableHash);
  }
  auto* record = static_cast<InternedString*>(AllocateBlock(RecordSize(text.size())));
  char* bytes = reinterpret_cast<char*>(record + 1);
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  const auto length = static_cast<uint32_t>(text.size());
  *record = InternedString{OrderPrefix(text), bytes, length, 0, tableHash};
  slots_[slot] = Slot{record, tableHash};
  ++count_;
  return record;
}

void BindingHeap::Grow() {
  const size_t newCount = slotCount_ == 0 ? kInitialSlots : slotCount_ * 2;
  auto* fresh = new Slot[newCount]();
  const size_t mask = newCount - 1;
  for (size_t i = 0; i < slotCount_; ++i) {
    if (slots_[i].record == nullptr) continue;
    size_t target = slots_[i].tableHash & mask;
    while (fresh[target].record != nullptr) target = (target + 1) & mask;
    fresh[target] = slots_[i];
  }
  delete[] slots_;
  slots_ = fresh;
  slotCount_ = newCount;
}

// Backward-shift deletion: later entries of the probe run move into the hole
// when their home slot lies at or before it, so no tombstones are needed.
void BindingHeap::RemoveSlot(size_t slot) {
  const size_t mask = slotCount_ - 1;
  size_t hole = slot;
  for (size_t i = (hole + 1) & mask; slots_[i].record != nullptr; i = (i + 1) & mask) {
    const size_t home = slots_[i].tableHash & mask;
    if (((i - home) & mask) >= ((i - hole) & mask)) {
      slots_[hole] = slots_[i];
      hole = i;
    }
  }
  slots_[hole] = Slot{nullptr, 0};
  --count_;
}

void BindingHeap::Release(const InternedString* record) {
  if (record == &kEmptyInternedString) return;
  // Records are created mutable by this heap; callers only hold const views.
  auto* owned = const_cast<InternedString*>(record);
  if (--owned->refCount != 0) return;
  const size_t mask = slotCount_ - 1;
  size_t slot = owned->tableHash & mask;
  while (slots_[slot].record != owned) slot = (slot + 1) & mask;
  RemoveSlot(slot);
  ReleaseBlock(owned, RecordSize(owned->length));
}

}  // namespace zun
