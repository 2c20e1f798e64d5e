// The members of a structure: an ordered tree of sorted arrays whose leaves
// hold the members and are chained in name order. Members are only ever
// added until the whole structure goes, so the tree never merges nodes.
//
// A small structure is one leaf that grows like a vector (2, 8, then
// kLeafCapacity members); a full leaf splits in two under an inner node. A
// leaf that is filled in name order (the last leaf taking a name after all
// others) splits off just the new member, so sorted input leaves full leaves.
// Insertion moves the entries of a leaf, never the member values they point to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <type_traits>

#include "binding/binding_property.h"

namespace zun {

// A member name being looked up, with its OrderPrefix computed once.
struct BindingMemberKey {
  explicit BindingMemberKey(std::string_view name) : text(name), prefix(OrderPrefix(name)) {}
  // `namePrefix` must be OrderPrefix(name).
  BindingMemberKey(std::string_view name, uint64_t namePrefix) : text(name), prefix(namePrefix) {}
  std::string_view text;
  uint64_t prefix;
};

// Compares a name with a key byte by byte as unsigned values: negative,
// zero or positive. Equal prefixes mean equal first eight bytes, so only the
// lengths or the bytes after the eighth remain to compare.
[[nodiscard]] int CompareMemberNameAfterPrefix(const InternedString& name, const BindingMemberKey& key);
[[nodiscard]] inline int CompareMemberName(uint64_t namePrefix, const InternedString& name,
                                           const BindingMemberKey& key) {
  if (namePrefix != key.prefix) return namePrefix < key.prefix ? -1 : 1;
  return CompareMemberNameAfterPrefix(name, key);
}

// A member's value is a block of the heap of its own: references to members
// stay valid while the structure grows, as long as the member exists.
// The name's OrderPrefix is kept beside it, so that a search through a leaf
// reads the names themselves only when eight bytes tie.
struct BindingMember {
  uint64_t prefix;
  const InternedString* name;
  BindingProperty* value;
};

struct alignas(8) BindingMemberLeaf {
  BindingMemberLeaf* next;  // the leaf of the following names, or null
  uint16_t count;
  uint16_t capacity;

  [[nodiscard]] BindingMember* Entries() { return reinterpret_cast<BindingMember*>(this + 1); }
  [[nodiscard]] const BindingMember* Entries() const {
    return reinterpret_cast<const BindingMember*>(this + 1);
  }
};

// The header of a structure, a block of the tree's heap.
struct BindingMembers {
  static constexpr uint16_t kLeafCapacity = 32;
  static constexpr uint16_t kFirstLeafCapacity = 2;  // a heap block
  static constexpr uint16_t kLeafGrowth = 4;
  static constexpr uint16_t kFanout = 16;
  static constexpr uint32_t kMaxHeight = 16;  // kFanout^16 members: beyond any memory

  void* root = nullptr;  // a leaf while height == 0
  uint32_t size = 0;
  uint32_t height = 0;

  [[nodiscard]] const BindingMember* Find(const BindingMemberKey& key) const;
  // The member named `key`, inserted Empty (with a count of its name taken
  // from `heap`) when missing. Leaves the structure unchanged if it throws.
  [[nodiscard]] BindingProperty& FindOrInsert(const BindingMemberKey& key, BindingHeap& heap);
  [[nodiscard]] const BindingMemberLeaf* FirstLeaf() const;
  // Releases every name, destroys every value and frees every node.
  void Clear(BindingHeap& heap);

 private:
  // An Empty value in a block of `heap`, and in `name` a count of `key`'s text.
  static BindingProperty* NewMember(const BindingMemberKey& key, BindingHeap& heap, const InternedString*& name);
};

// One member as iteration yields it.
template <typename Value>
struct BindingMemberEntry {
  std::string_view name;
  Value& value;
};

template <typename Value>
class BindingMemberIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = BindingMemberEntry<Value>;
  using difference_type = std::ptrdiff_t;
  using reference = BindingMemberEntry<Value>;
  using pointer = void;

  BindingMemberIterator() = default;
  explicit BindingMemberIterator(const BindingMemberLeaf* leaf) : leaf_(leaf) {}

  reference operator*() const {
    const BindingMember& member = leaf_->Entries()[index_];
    return {member.name->View(), *member.value};
  }
  BindingMemberIterator& operator++() {
    if (++index_ == leaf_->count) {
      leaf_ = leaf_->next;
      index_ = 0;
    }
    return *this;
  }
  BindingMemberIterator operator++(int) {
    BindingMemberIterator before = *this;
    ++*this;
    return before;
  }
  // The member as stored: its name record and prefix, for callers that
  // compare names the way the structure orders them.
  [[nodiscard]] const BindingMember& Stored() const { return leaf_->Entries()[index_]; }
  bool operator==(const BindingMemberIterator& other) const {
    return leaf_ == other.leaf_ && index_ == other.index_;
  }

 private:
  const BindingMemberLeaf* leaf_ = nullptr;
  uint32_t index_ = 0;
};

template <typename Value>
class BindingMemberRange {
 public:
  using iterator = BindingMemberIterator<Value>;

  BindingMemberRange() = default;
  explicit BindingMemberRange(const BindingMemberLeaf* first) : begin_(first) {}

  [[nodiscard]] iterator begin() const { return begin_; }
  [[nodiscard]] iterator end() const { return {}; }
  [[nodiscard]] bool empty() const { return begin_ == end(); }

 private:
  iterator begin_{};
};

}  // namespace zun
