// Values: setters, containers, deep copy and release. Every block a value
// holds comes from its tree's heap (large ones from general memory through
// it); only blob bytes are vectors of their own.
#include "binding/binding_property.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>

namespace zun {

namespace {

constexpr const char* kTooManyElements = "too many elements for a binding collection";

// Counts are 32-bit in the collection header; more elements than that would
// need 64 GiB on the 64-bit build and cannot exist on the 32-bit one.
constexpr size_t kMaxElements = std::min<size_t>(PTRDIFF_MAX / sizeof(BindingProperty), UINT32_MAX);

static_assert(alignof(BindingProperty) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

constinit const BindingProperty kEmptyValue;

// Whether any of the eight bytes of `word` is zero.
bool HasZeroByte(uint64_t word) {
  return ((word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull) != 0;
}

// Member names and most strings are short: scanning them inline is cheaper
// than the call to memchr, which only pays off for longer texts.
std::string_view BeforeNul(std::string_view text) {
  constexpr size_t kInlineScan = 32;
  if (text.size() > kInlineScan) return text.substr(0, text.find('\0'));
  // Eight bytes at a time (the last word overlapping the one before); only
  // a text that has a NUL is searched byte by byte.
  bool maybeNul = false;
  if (text.size() >= 8) {
    for (size_t offset = 0; offset < text.size(); offset += 8) {
      uint64_t word;
      std::memcpy(&word, text.data() + std::min(offset, text.size() - 8), 8);
      maybeNul = maybeNul || HasZeroByte(word);
    }
    if (!maybeNul) return text;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\0') return text.substr(0, i);
  }
  return text;
}

std::string_view BeforeNul(const char* text) { return text == nullptr ? std::string_view() : text; }

template <typename T, typename... Args>
T* NewBlock(BindingHeap& heap, Args&&... args) {
  void* block = heap.AllocateBlock(sizeof(T));
  try {
    return new (block) T(std::forward<Args>(args)...);
  } catch (...) {
    heap.ReleaseBlock(block, sizeof(T));
    throw;
  }
}

template <typename T>
void DeleteBlock(BindingHeap& heap, T* object) {
  std::destroy_at(object);
  heap.ReleaseBlock(object, sizeof(T));
}

}  // namespace

const BindingProperty& BindingProperty::EmptyValue() { return kEmptyValue; }

BindingProperty::BindingProperty(const BindingProperty& other) { CopyFrom(other); }

BindingProperty::BindingProperty(BindingProperty&& other) {
  if (other.ownsHeap_ != 0) {
    std::swap(payload_, other.payload_);
    std::swap(heap_, other.heap_);
    std::swap(kind_, other.kind_);
  } else {
    CopyFrom(other);
    other.Reset();
  }
}

BindingProperty& BindingProperty::operator=(const BindingProperty& other) {
  if (this == &other) return *this;
  if (heap_ != nullptr && heap_ == other.heap_) {
    BindingProperty previous{ChildKey(heap_)};
    CopyAside(other, previous);
  } else {
    CopyFrom(other);
  }
  return *this;
}

BindingProperty& BindingProperty::operator=(BindingProperty&& other) {
  if (this == &other) return *this;
  if (ownsHeap_ != 0 && other.ownsHeap_ != 0) {
    std::swap(payload_, other.payload_);
    std::swap(heap_, other.heap_);
    std::swap(kind_, other.kind_);
  } else if (heap_ != nullptr && heap_ == other.heap_) {
    // The source may lie inside this value: what this value held is released
    // only after the source was reset.
    BindingProperty previous{ChildKey(heap_)};
    CopyAside(other, previous);
    other.Reset();
    return *this;
  } else {
    CopyFrom(other);
  }
  other.Reset();
  return *this;
}

// A root takes its whole tree down with the heap in one sweep when it can;
// values are then never visited.
void BindingProperty::Destroy() {
  if (ownsHeap_ != 0 && heap_ != nullptr && heap_->CanReleaseTree()) {
    heap_->ReleaseTree();
  } else {
    ReleasePayload();
  }
  if (ownsHeap_ != 0) BindingHeap::Destroy(heap_);
}

void BindingProperty::ReleasePayload() {
  switch (Kind()) {
    case BindingKind::String:
      if (payload_.string != &kEmptyInternedString) heap_->Release(payload_.string);
      break;
    case BindingKind::Blob:
      DeleteBlock(*heap_, payload_.blob);
      heap_->BlobDestroyed();
      break;
    case BindingKind::Enum:
      DeleteBlock(*heap_, payload_.enumValue);
      break;
    case BindingKind::Collection:
      DestroyElements();
      break;
    case BindingKind::Structure:
      DestroyMembers();
      break;
    default:
      break;
  }
}

void BindingProperty::DestroyElements() {
  BindingElements* elements = payload_.elements;
  if (elements == nullptr) return;
  for (size_t i = 0; i < elements->size; ++i) std::destroy_at(elements->data + i);
  if (!elements->HoldsInline()) heap_->ReleaseBlock(elements->data, elements->capacity * sizeof(BindingProperty));
  heap_->ReleaseBlock(elements, sizeof(BindingElements));
}

void BindingProperty::DestroyMembers() {
  payload_.members->Clear(*heap_);
  DeleteBlock(*heap_, payload_.members);
}

BindingHeap& BindingProperty::EnsureHeap() {
  if (heap_ == nullptr) heap_ = BindingHeap::Create();
  return *heap_;
}

void BindingProperty::SetString(std::string_view text) { StoreString(BeforeNul(text)); }

void BindingProperty::SetString(const char* text) { StoreString(BeforeNul(text)); }

// The text is interned before the old payload goes, so a value may be set
// from its own text or from another text of its tree.
void BindingProperty::StoreString(std::string_view textBeforeNul) {
  const InternedString* record =
      textBeforeNul.empty() ? &kEmptyInternedString : EnsureHeap().Intern(textBeforeNul);
  ReleasePayload();
  payload_.bits = 0;
  payload_.string = record;
  kind_ = static_cast<uint8_t>(BindingKind::String);
}

void BindingProperty::SetBlob(std::vector<uint8_t>&& bytes) {
  auto* blob = NewBlock<std::vector<uint8_t>>(EnsureHeap(), std::move(bytes));
  heap_->BlobCreated();
  ReleasePayload();
  payload_.bits = 0;
  payload_.blob = blob;
  kind_ = static_cast<uint8_t>(BindingKind::Blob);
}

void BindingProperty::SetBlob(std::span<const uint8_t> bytes) {
  SetBlob(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

void BindingProperty::SetEnum(int32_t value, const StaticTypeId* type) {
  auto* payload = NewBlock<BindingEnumPayload>(EnsureHeap(), BindingEnumPayload{value, type});
  ReleasePayload();
  payload_.bits = 0;
  payload_.enumValue = payload;
  kind_ = static_cast<uint8_t>(BindingKind::Enum);
}

void BindingProperty::MakeCollection() {
  if (Kind() == BindingKind::Collection) return;
  Reset();
  // The header comes with the first element: empty collections, common in
  // documents, cost no block.
  (void)EnsureHeap();
  payload_.elements = nullptr;
  kind_ = static_cast<uint8_t>(BindingKind::Collection);
}

void BindingProperty::MakeStructure() {
  if (Kind() == BindingKind::Structure) return;
  Reset();
  payload_.members = NewBlock<BindingMembers>(EnsureHeap());
  kind_ = static_cast<uint8_t>(BindingKind::Structure);
}

void BindingProperty::Reserve(size_t count) {
  if (Kind() != BindingKind::Collection) return;
  if (count > kMaxElements) throw std::length_error(kTooManyElements);
  if (count == 0) return;
  if (count > ElementStorage().capacity) Reallocate(count);
}

BindingElements& BindingProperty::ElementStorage() {
  if (payload_.elements == nullptr) payload_.elements = NewBlock<BindingElements>(*heap_);
  return *payload_.elements;
}

// Elements move to the new storage as plain bits: a value holds no pointer
// to itself, and the old storage is freed without running destructors.
void BindingProperty::Reallocate(size_t capacity) {
  BindingElements& elements = *payload_.elements;
  auto* fresh = static_cast<BindingProperty*>(heap_->AllocateBlock(capacity * sizeof(BindingProperty)));
  if (elements.size != 0) {
    std::memcpy(static_cast<void*>(fresh), elements.data, elements.size * sizeof(BindingProperty));
  }
  if (!elements.HoldsInline()) heap_->ReleaseBlock(elements.data, elements.capacity * sizeof(BindingProperty));
  elements.data = fresh;
  elements.capacity = static_cast<uint32_t>(capacity);
}

BindingProperty& BindingProperty::Element(size_t index) {
  MakeCollection();
  BindingElements& elements = ElementStorage();
  if (index < elements.size) return elements.data[index];
  if (index >= kMaxElements) throw std::length_error(kTooManyElements);
  if (index >= elements.capacity) {
    const size_t doubled = elements.capacity <= kMaxElements / 2 ? elements.capacity * 2 : kMaxElements;
    Reallocate(std::max(index + 1, doubled));
  }
  while (elements.size <= index) {
    new (elements.data + elements.size) BindingProperty(ChildKey(heap_));
    ++elements.size;  // index < kMaxElements <= UINT32_MAX
  }
  return elements.data[index];
}

BindingProperty& BindingProperty::Append() {
  return Element(Kind() == BindingKind::Collection ? ElementCount() : 0);
}

const BindingProperty& BindingProperty::Element(size_t index) const {
  if (Kind() != BindingKind::Collection || index >= ElementCount()) return kEmptyValue;
  return payload_.elements->data[index];
}

BindingProperty& BindingProperty::Member(std::string_view name) {
  name = BeforeNul(name);
  if (Kind() != BindingKind::Structure) return MemberOfNewStructure(name);
  return payload_.members->FindOrInsert(BindingMemberKey(name), *heap_);
}

BindingProperty& BindingProperty::Member(const char* name) { return Member(BeforeNul(name)); }

// A value holding texts may hold the name itself, which making the structure
// would free: then the name is interned first, and that count given back once
// the member holds one of its own. A scalar or Empty value holds no text.
BindingProperty& BindingProperty::MemberOfNewStructure(std::string_view name) {
  if (!HoldsReference()) {
    MakeStructure();
    return payload_.members->FindOrInsert(BindingMemberKey(name), *heap_);
  }
  const InternedString* record = EnsureHeap().Intern(name);
  try {
    MakeStructure();
    BindingProperty& member = payload_.members->FindOrInsert(BindingMemberKey(record->View()), *heap_);
    heap_->Release(record);
    return member;
  } catch (...) {
    heap_->Release(record);
    throw;
  }
}

const BindingProperty& BindingProperty::Member(std::string_view name) const {
  const BindingProperty* member = FindMember(name);
  return member != nullptr ? *member : kEmptyValue;
}

const BindingProperty& BindingProperty::Member(const char* name) const { return Member(BeforeNul(name)); }

BindingProperty* BindingProperty::FindMember(std::string_view name) {
  return const_cast<BindingProperty*>(std::as_const(*this).FindMember(name));
}

const BindingProperty* BindingProperty::FindMember(std::string_view name) const {
  if (Kind() != BindingKind::Structure) return nullptr;
  const BindingMember* member = payload_.members->Find(BindingMemberKey(BeforeNul(name)));
  return member != nullptr ? member->value : nullptr;
}

std::span<BindingProperty> BindingProperty::Elements() {
  if (Kind() != BindingKind::Collection || payload_.elements == nullptr) return {};
  return {payload_.elements->data, payload_.elements->size};
}

std::span<const BindingProperty> BindingProperty::Elements() const {
  if (Kind() != BindingKind::Collection || payload_.elements == nullptr) return {};
  return {payload_.elements->data, payload_.elements->size};
}

BindingMemberRange<BindingProperty> BindingProperty::Members() {
  if (Kind() != BindingKind::Structure) return {};
  return BindingMemberRange<BindingProperty>(payload_.members->FirstLeaf());
}

BindingMemberRange<const BindingProperty> BindingProperty::Members() const {
  if (Kind() != BindingKind::Structure) return {};
  return BindingMemberRange<const BindingProperty>(payload_.members->FirstLeaf());
}

bool BindingProperty::GetBool(bool fallback) const {
  return Kind() == BindingKind::Bool ? payload_.boolean : fallback;
}

int64_t BindingProperty::GetSigned(int64_t fallback) const {
  return Kind() == BindingKind::Signed ? payload_.signedValue : fallback;
}

uint64_t BindingProperty::GetUnsigned(uint64_t fallback) const {
  return Kind() == BindingKind::Unsigned ? payload_.unsignedValue : fallback;
}

double BindingProperty::GetFloat(double fallback) const {
  return Kind() == BindingKind::Float ? payload_.floatValue : fallback;
}

std::string_view BindingProperty::GetString(std::string_view fallback) const {
  return Kind() == BindingKind::String ? payload_.string->View() : fallback;
}

std::span<const uint8_t> BindingProperty::GetBlob(std::span<const uint8_t> fallback) const {
  return Kind() == BindingKind::Blob ? std::span<const uint8_t>(*payload_.blob) : fallback;
}

BindingEnumPayload BindingProperty::GetEnum(BindingEnumPayload fallback) const {
  return Kind() == BindingKind::Enum ? *payload_.enumValue : fallback;
}

size_t BindingProperty::Size() const {
  switch (Kind()) {
    case BindingKind::Empty:
      return 0;
    case BindingKind::String:
      return payload_.string->length;
    case BindingKind::Blob:
      return payload_.blob->size();
    case BindingKind::Collection:
      return ElementCount();
    case BindingKind::Structure:
      return payload_.members->size;
    default:
      return 1;
  }
}

bool BindingProperty::IsEmptyValue() const {
  switch (Kind()) {
    case BindingKind::Bool:
      return !payload_.boolean;
    case BindingKind::Signed:
      return payload_.signedValue == 0;
    case BindingKind::Unsigned:
      return payload_.unsignedValue == 0;
    case BindingKind::Float:
      return payload_.floatValue == 0.0;
    case BindingKind::Enum:
      return payload_.enumValue->value == 0;
    case BindingKind::String:
    case BindingKind::Blob:
    case BindingKind::Collection:
    case BindingKind::Structure:
      return Size() == 0;
    default:
      return true;
  }
}

// Deep copy of a value of another tree; this value is reset first.
void BindingProperty::CopyFrom(const BindingProperty& source) {
  switch (source.Kind()) {
    case BindingKind::String:
      StoreString(source.payload_.string->View());
      break;
    case BindingKind::Blob:
      SetBlob(std::span<const uint8_t>(*source.payload_.blob));
      break;
    case BindingKind::Enum:
      SetEnum(*source.payload_.enumValue);
      break;
    case BindingKind::Collection:
      CopyElements(source.payload_.elements);
      break;
    case BindingKind::Structure:
      CopyMembers(*source.payload_.members);
      break;
    default:
      Reset();
      payload_ = source.payload_;
      kind_ = source.kind_;
      break;
  }
}

void BindingProperty::CopyElements(const BindingElements* source) {
  Reset();
  MakeCollection();
  if (source == nullptr) return;
  Reserve(source->size);
  for (size_t i = 0; i < source->size; ++i) Append().CopyFrom(source->data[i]);
}

void BindingProperty::CopyMembers(const BindingMembers& source) {
  Reset();
  MakeStructure();
  BindingMembers& members = *payload_.members;
  for (const BindingMemberLeaf* leaf = source.FirstLeaf(); leaf != nullptr; leaf = leaf->next) {
    for (size_t i = 0; i < leaf->count; ++i) {
      const BindingMember& member = leaf->Entries()[i];
      // Names arrive in order, so each one goes at the end.
      members.FindOrInsert(BindingMemberKey(member.name->View()), *heap_).CopyFrom(*member.value);
    }
  }
}

// The source lies in this tree, possibly inside this value or this value
// inside it: the copy is built aside first, then this value takes it and
// `previous` (Empty, of this tree) receives what this value held, so nothing
// is read after it was released.
void BindingProperty::CopyAside(const BindingProperty& source, BindingProperty& previous) {
  previous.CopyFrom(source);
  std::swap(payload_, previous.payload_);
  std::swap(kind_, previous.kind_);
}

}  // namespace zun
