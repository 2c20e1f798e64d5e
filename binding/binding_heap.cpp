// The value heap: a chained hash table of interned texts beside the block
// allocator. Records are freed as soon as their last reference goes.
#include "binding/binding_heap.h"

#include <cstring>
#include <stdexcept>

#include "binding/page_pool.h"

namespace zun {

namespace {
constexpr const char* kTextTooLong = "text too long for a value heap";
}  // namespace

BindingHeap::BindingHeap() : BindingHeap(BindingPagePool::Process()) {}

BindingHeap::BindingHeap(BindingPagePool& pool) : blocks_(pool) {}

BindingHeap::~BindingHeap() {
  for (size_t i = 0; i < bucketCount_; ++i) {
    for (InternedString* record = buckets_[i]; record != nullptr;) {
      InternedString* next = record->next;
      ::operator delete(record);
      record = next;
    }
  }
  delete[] buckets_;
}

const InternedString* BindingHeap::FindInterned(std::string_view text) const {
  if (count_ == 0 || text.empty()) return nullptr;
  const uint32_t hash = Fnv1a32(text);
  for (const InternedString* record = buckets_[hash & (bucketCount_ - 1)]; record != nullptr;
       record = record->next) {
    if (record->hash == hash && record->View() == text) return record;
  }
  return nullptr;
}

const InternedString* BindingHeap::Intern(std::string_view text) {
  if (text.empty()) return &kEmptyInternedString;
  const uint32_t hash = Fnv1a32(text);
  if (bucketCount_ != 0) {
    for (InternedString* record = buckets_[hash & (bucketCount_ - 1)]; record != nullptr;
         record = record->next) {
      if (record->hash == hash && record->View() == text) {
        ++record->refCount;
        return record;
      }
    }
  }
  InternedString* record = Insert(text, hash);
  ++record->refCount;
  return record;
}

InternedString* BindingHeap::Insert(std::string_view text, uint32_t hash) {
  if (text.size() > UINT32_MAX - sizeof(InternedString) - 1) throw std::length_error(kTextTooLong);
  if (count_ >= bucketCount_) Grow();
  void* storage = ::operator new(sizeof(InternedString) + text.size() + 1);
  auto* record = static_cast<InternedString*>(storage);
  char* bytes = reinterpret_cast<char*>(record + 1);
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  InternedString*& bucket = buckets_[hash & (bucketCount_ - 1)];
  *record = InternedString{bucket, bytes, static_cast<uint32_t>(text.size()), hash, 0};
  bucket = record;
  ++count_;
  return record;
}

void BindingHeap::Grow() {
  const size_t newCount = bucketCount_ == 0 ? kInitialBuckets : bucketCount_ * 2;
  auto** fresh = new InternedString*[newCount]();
  for (size_t i = 0; i < bucketCount_; ++i) {
    for (InternedString* record = buckets_[i]; record != nullptr;) {
      InternedString* next = record->next;
      InternedString*& bucket = fresh[record->hash & (newCount - 1)];
      record->next = bucket;
      bucket = record;
      record = next;
    }
  }
  delete[] buckets_;
  buckets_ = fresh;
  bucketCount_ = newCount;
}

void BindingHeap::Release(const InternedString* record) {
  if (record == &kEmptyInternedString) return;
  // Records are created mutable by this heap; callers only hold const views.
  auto* owned = const_cast<InternedString*>(record);
  if (--owned->refCount != 0) return;
  InternedString** link = &buckets_[owned->hash & (bucketCount_ - 1)];
  while (*link != owned) link = &(*link)->next;
  *link = owned->next;
  --count_;
  ::operator delete(owned);
}

}  // namespace zun
