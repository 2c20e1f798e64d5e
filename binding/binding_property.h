// The dynamic value of the framework: a tagged variant of ten kinds. All values
// of one tree share the heap owned by the tree's root.
//
//   BindingProperty root;                       // a root, no heap yet
//   root.Member("name").SetString("alice");     // creates the heap
//   root.Member("tags").Append().SetSigned(7);
//   for (auto [name, value] : root.Members()) { ... }   // name order
//
// Readers never insert: `Member(name) const` and `Element(i) const` return the
// shared empty value when nothing is there. Writers on a non-const value do
// insert, so use FindMember() to look without changing the tree.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "binding/binding_heap.h"
#include "binding/binding_kind.h"
#include "binding/interned_string.h"

namespace zun {

struct StaticTypeId;

// The payload of an `Enum` value.
struct BindingEnumPayload {
  int32_t value = 0;
  const StaticTypeId* type = nullptr;
};

struct BindingElements;
struct BindingMembers;
template <typename Value>
class BindingMemberRange;


class alignas(8) BindingProperty {
 public:
  // Lets containers create their elements and members inside a tree; only
  // BindingProperty can make one.
  class ChildKey {
   private:
    friend class BindingProperty;
    friend struct BindingMembers;
    explicit ChildKey(BindingHeap* heap) : heap_(heap) {}
    BindingHeap* heap_;
  };

  // A root without a heap; the heap is created on first need.
  constexpr BindingProperty() noexcept = default;
  // A value inside the tree of `key`'s heap; it never owns the heap.
  explicit BindingProperty(ChildKey key) noexcept : heap_(key.heap_), ownsHeap_(0) {}
  // A new root holding a deep copy of `other`.
  BindingProperty(const BindingProperty& other);
  // A new root: takes over `other`'s tree when it is a root, else copies it
  // deeply. `other` ends up Empty.
  BindingProperty(BindingProperty&& other);
  // Deep copy into this value's tree. The source may lie inside this tree.
  BindingProperty& operator=(const BindingProperty& other);
  // Between two roots the trees are exchanged in constant time; otherwise a
  // deep copy. The source ends up Empty either way.
  BindingProperty& operator=(BindingProperty&& other);
  // Scalars hold nothing to release: their fast paths stay inline.
  ~BindingProperty() {
    if (HoldsReference() || ownsHeap_ != 0) Destroy();
  }

  // Releases the payload; the value becomes Empty and keeps its heap.
  void Reset() {
    if (HoldsReference()) ReleasePayload();
    kind_ = static_cast<uint8_t>(BindingKind::Empty);
    payload_.bits = 0;
  }

  void SetBool(bool value) {
    Reset();
    payload_.boolean = value;
    kind_ = static_cast<uint8_t>(BindingKind::Bool);
  }
  void SetSigned(int64_t value) {
    if (HoldsReference()) ReleasePayload();
    payload_.signedValue = value;
    kind_ = static_cast<uint8_t>(BindingKind::Signed);
  }
  void SetUnsigned(uint64_t value) {
    if (HoldsReference()) ReleasePayload();
    payload_.unsignedValue = value;
    kind_ = static_cast<uint8_t>(BindingKind::Unsigned);
  }
  void SetFloat(double value) {
    if (HoldsReference()) ReleasePayload();
    payload_.floatValue = value;
    kind_ = static_cast<uint8_t>(BindingKind::Float);
  }
  // Strings keep the bytes before the first NUL of the given text. A null
  // pointer sets the empty string.
  void SetString(std::string_view text);
  void SetString(const char* text);
  void SetBlob(std::vector<uint8_t>&& bytes);
  void SetBlob(std::span<const uint8_t> bytes);
  void SetEnum(int32_t value, const StaticTypeId* type);
  void SetEnum(BindingEnumPayload payload) { SetEnum(payload.value, payload.type); }

  // Make the value a container; an existing container of that kind is kept.
  void MakeCollection();
  void MakeStructure();
  // Room for `count` elements when the value is a collection; no effect on
  // other kinds. Throws std::length_error beyond the largest possible count.
  void Reserve(size_t count);

  // Writing: makes a collection and appends Empty elements up to `index`.
  // The reference is valid until the collection grows.
  [[nodiscard]] BindingProperty& Element(size_t index);
  [[nodiscard]] BindingProperty& Append();
  // Reading: the element, or the shared empty value.
  [[nodiscard]] const BindingProperty& Element(size_t index) const;

  // Writing: makes a structure and inserts the member (Empty) if missing. The
  // name keeps the bytes before its first NUL.
  [[nodiscard]] BindingProperty& Member(std::string_view name);
  [[nodiscard]] BindingProperty& Member(const char* name);
  // Reading: the member, or the shared empty value.
  [[nodiscard]] const BindingProperty& Member(std::string_view name) const;
  [[nodiscard]] const BindingProperty& Member(const char* name) const;
  // The member, or null; never inserts.
  [[nodiscard]] BindingProperty* FindMember(std::string_view name);
  [[nodiscard]] const BindingProperty* FindMember(std::string_view name) const;

  // Elements in index order; empty unless the value is a collection.
  [[nodiscard]] std::span<BindingProperty> Elements();
  [[nodiscard]] std::span<const BindingProperty> Elements() const;
  // Members in name order (unsigned byte order), each as {name, value};
  // empty unless the value is a structure.
  [[nodiscard]] BindingMemberRange<BindingProperty> Members();
  [[nodiscard]] BindingMemberRange<const BindingProperty> Members() const;

  [[nodiscard]] BindingKind Kind() const { return static_cast<BindingKind>(kind_); }
  [[nodiscard]] const char* KindName() const { return BindingKindName(kind_); }

  // Typed getters return `fallback` when the kind differs; kinds are never
  // converted into one another.
  [[nodiscard]] bool GetBool(bool fallback = false) const;
  [[nodiscard]] int64_t GetSigned(int64_t fallback = 0) const;
  [[nodiscard]] uint64_t GetUnsigned(uint64_t fallback = 0) const;
  [[nodiscard]] double GetFloat(double fallback = 0.0) const;
  // A string's text is NUL-terminated right behind the view.
  [[nodiscard]] std::string_view GetString(std::string_view fallback = {}) const;
  [[nodiscard]] std::span<const uint8_t> GetBlob(std::span<const uint8_t> fallback = {}) const;
  [[nodiscard]] BindingEnumPayload GetEnum(BindingEnumPayload fallback = {}) const;

  // 0 for Empty; length, byte, element or member count for containers and
  // texts; 1 for every other kind.
  [[nodiscard]] size_t Size() const;
  // True for Empty, false, 0, ±0.0, enum value 0 and size 0 of texts, blobs
  // and containers (and for an unknown tag).
  [[nodiscard]] bool IsEmptyValue() const;

  // The tree's heap (null while none was needed) and whether this value
  // owns it, i.e. is a root.
  [[nodiscard]] const BindingHeap* Heap() const { return heap_; }
  [[nodiscard]] bool OwnsHeap() const { return ownsHeap_ != 0; }

  // The process-wide Empty value that lookups return when they find nothing.
  [[nodiscard]] static const BindingProperty& EmptyValue();

 private:
  union Payload {
    uint64_t bits;
    bool boolean;  // lowest byte
    int64_t signedValue;
    uint64_t unsignedValue;
    double floatValue;
    const InternedString* string;
    std::vector<uint8_t>* blob;
    BindingEnumPayload* enumValue;
    BindingElements* elements;
    BindingMembers* members;
  };

  // Kinds from String to Structure refer to something of the tree's heap;
  // unknown tags (above Structure) hold nothing.
  [[nodiscard]] bool HoldsReference() const {
    return kind_ >= static_cast<uint8_t>(BindingKind::String) &&
           kind_ <= static_cast<uint8_t>(BindingKind::Structure);
  }
  void Destroy();
  BindingHeap& EnsureHeap();
  void ReleasePayload();
  void DestroyElements();
  void DestroyMembers();
  void StoreString(std::string_view textBeforeNul);
  void Reallocate(size_t capacity);
  BindingProperty& MemberOfNewStructure(std::string_view name);
  // A collection's header, made with its first element: until then an empty
  // collection holds none.
  BindingElements& ElementStorage();
  [[nodiscard]] uint32_t ElementCount() const;
  void CopyFrom(const BindingProperty& source);
  // `source` null: an empty collection.
  void CopyElements(const BindingElements* source);
  void CopyMembers(const BindingMembers& source);
  void CopyAside(const BindingProperty& source, BindingProperty& previous);

  Payload payload_{.bits = 0};
  BindingHeap* heap_ = nullptr;
  uint8_t kind_ = static_cast<uint8_t>(BindingKind::Empty);
  uint8_t ownsHeap_ = 1;

  friend struct BindingElements;
  friend struct BindingMembers;
};

#if defined(__i386__)
static_assert(sizeof(BindingProperty) == 16 && alignof(BindingProperty) == 8,
              "native records embedding a value rely on its 16-byte size");
#endif

// The header of a collection, a block of the heap made with the first
// element (an empty collection has none), with room for the first elements
// behind it: most collections stay that small, and then cost one block.
// Larger storage is a block of its own (general memory beyond
// BlockAllocator::kLargestBlock bytes). The elements are relocated bitwise
// when the storage grows.
struct BindingElements {
  static constexpr uint32_t kInlineCapacity = 2;

  BindingElements() = default;
  BindingElements(const BindingElements&) = delete;
  BindingElements& operator=(const BindingElements&) = delete;

  [[nodiscard]] bool HoldsInline() const { return data == InlineStorage(); }

  BindingProperty* data = InlineStorage();
  uint32_t size = 0;
  uint32_t capacity = kInlineCapacity;

 private:
  [[nodiscard]] BindingProperty* InlineStorage() const {
    return reinterpret_cast<BindingProperty*>(const_cast<unsigned char*>(inlineStorage_));
  }

  alignas(BindingProperty) unsigned char inlineStorage_[kInlineCapacity * sizeof(BindingProperty)];
};

inline uint32_t BindingProperty::ElementCount() const {
  return payload_.elements != nullptr ? payload_.elements->size : 0;
}

}  // namespace zun

// Structures' member storage and iteration need the complete value type.
#include "binding/binding_members.h"  // IWYU pragma: export
