// Structure members: lookup, insertion with leaf growth and splits, teardown.
// Every node is allocated through the tree's heap (blocks when small enough,
// general memory otherwise); each member's value is a block of its own, so
// that members move between nodes as two pointers and never move themselves.
#include "binding/binding_members.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace zun {

namespace {

// Children of a level above the leaves, with the first name of each child.
// firstNames[0] is never consulted: child 0 takes every name before
// firstNames[1]. Since members are never removed, firstNames[i] for i > 0
// stays exactly the smallest name below child i.
struct BindingMemberInner {
  uint16_t count;
  const InternedString* firstNames[BindingMembers::kFanout];
  void* children[BindingMembers::kFanout];
};

// Eight bytes of `text` from `offset` as a big-endian number, zero-padded
// past the end, so that numbers order like the bytes.
uint64_t BigEndianWord(std::string_view text, size_t offset) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data()) + offset;
  const size_t remaining = text.size() - offset;
  uint64_t word = 0;
  if (remaining >= 8) {
    std::memcpy(&word, bytes, 8);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return word;
  }
  for (size_t i = 0; i < remaining; ++i) word = (word << 8) | bytes[i];
  return word << (8 * (8 - remaining));
}

int CompareTails(std::string_view a, std::string_view b) {
  const size_t common = a.size() < b.size() ? a.size() : b.size();
  for (size_t offset = 8; offset < common; offset += 8) {
    const uint64_t left = BigEndianWord(a, offset);
    const uint64_t right = BigEndianWord(b, offset);
    // Words past the shorter text's end hold zero bytes where it has none;
    // a tie there is settled by the lengths below.
    if (left != right) return left < right ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

size_t LeafBytes(size_t capacity) { return sizeof(BindingMemberLeaf) + capacity * sizeof(BindingMember); }

BindingMemberLeaf* NewLeaf(BindingHeap& heap, uint16_t capacity) {
  auto* leaf = static_cast<BindingMemberLeaf*>(heap.AllocateBlock(LeafBytes(capacity)));
  leaf->next = nullptr;
  leaf->count = 0;
  leaf->capacity = capacity;
  return leaf;
}

void FreeLeaf(BindingHeap& heap, BindingMemberLeaf* leaf) { heap.ReleaseBlock(leaf, LeafBytes(leaf->capacity)); }

// The capacity of the root leaf that replaces `leaf` (null: the first one).
uint16_t NextRootLeafCapacity(const BindingMemberLeaf* leaf) {
  if (leaf == nullptr) return BindingMembers::kFirstLeafCapacity;
  return static_cast<uint16_t>(
      std::min<size_t>(size_t{leaf->capacity} * BindingMembers::kLeafGrowth, BindingMembers::kLeafCapacity));
}

// The first of `count` entries whose prefix is not below `prefix` (or, with
// `past`, above it). A leaf holds at most kLeafCapacity entries: counting
// them, each test independent of the others, beats the chain of dependent
// loads that halving the range would be.
template <bool past>
size_t PrefixBound(const BindingMember* entries, size_t count, uint64_t prefix) {
  size_t before = 0;
  for (size_t i = 0; i < count; ++i) before += (past ? entries[i].prefix <= prefix : entries[i].prefix < prefix) ? 1 : 0;
  return before;
}

// Index of the first member whose name is not before `key`; `found` tells
// whether its name equals the key. Prefixes decide most searches; names that
// share the key's prefix (neighbours in the leaf) are searched by their
// whole text.
size_t LowerBound(const BindingMemberLeaf& leaf, const BindingMemberKey& key, bool& found) {
  const BindingMember* entries = leaf.Entries();
  size_t low = PrefixBound<false>(entries, leaf.count, key.prefix);
  found = false;
  if (low == leaf.count || entries[low].prefix != key.prefix) return low;
  size_t high = low + 1 < leaf.count && entries[low + 1].prefix == key.prefix
                    ? PrefixBound<true>(entries, leaf.count, key.prefix)
                    : low + 1;
  while (low < high) {
    const size_t middle = (low + high) / 2;
    const int order = CompareMemberName(key.prefix, *entries[middle].name, key);
    if (order == 0) {
      found = true;
      return middle;
    }
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

// The child whose names range covers `key`.
size_t ChildIndex(const BindingMemberInner& inner, const BindingMemberKey& key) {
  size_t low = 1;
  size_t high = inner.count;
  while (low < high) {
    const size_t middle = (low + high) / 2;
    const InternedString& name = *inner.firstNames[middle];
    if (CompareMemberName(name.orderPrefix, name, key) <= 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low - 1;
}

// Opens a gap at `position` of a leaf with room and puts `member` there.
// (The member comes as its parts: a struct built in one place and copied
// in another would be read back through memory at another width.)
BindingProperty& PlaceMember(BindingMemberLeaf* leaf, size_t position, uint64_t prefix, const InternedString* name,
                             BindingProperty* value) {
  BindingMember* entries = leaf->Entries();
  const size_t count = leaf->count;
  std::memmove(entries + position + 1, entries + position, (count - position) * sizeof(BindingMember));
  leaf->count = static_cast<uint16_t>(count + 1);
  entries[position].prefix = prefix;
  entries[position].name = name;
  entries[position].value = value;
  return *value;
}

void DestroyNode(BindingHeap& heap, void* node, uint32_t level) {
  if (level == 0) {
    auto* leaf = static_cast<BindingMemberLeaf*>(node);
    BindingMember* entries = leaf->Entries();
    for (size_t i = 0; i < leaf->count; ++i) {
      heap.Release(entries[i].name);
      std::destroy_at(entries[i].value);
      heap.ReleaseBlock(entries[i].value, sizeof(BindingProperty));
    }
    FreeLeaf(heap, leaf);
    return;
  }
  auto* inner = static_cast<BindingMemberInner*>(node);
  for (size_t i = 0; i < inner->count; ++i) DestroyNode(heap, inner->children[i], level - 1);
  heap.ReleaseBlock(inner, sizeof(BindingMemberInner));
}

// The nodes an insertion may need, all allocated before the tree changes so
// that running out of memory leaves it as it was.
class SpareNodes {
 public:
  explicit SpareNodes(BindingHeap& heap) : heap_(heap) {}
  SpareNodes(const SpareNodes&) = delete;
  SpareNodes& operator=(const SpareNodes&) = delete;
  ~SpareNodes() {
    if (leaf_ != nullptr) FreeLeaf(heap_, leaf_);
    for (size_t i = 0; i < innerCount_; ++i) heap_.ReleaseBlock(inners_[i], sizeof(BindingMemberInner));
  }

  void Reserve(uint16_t leafCapacity, size_t innerCount) {
    leaf_ = NewLeaf(heap_, leafCapacity);
    for (; innerCount_ < innerCount; ++innerCount_) {
      inners_[innerCount_] = static_cast<BindingMemberInner*>(heap_.AllocateBlock(sizeof(BindingMemberInner)));
    }
  }
  [[nodiscard]] BindingMemberLeaf* TakeLeaf() { return std::exchange(leaf_, nullptr); }
  [[nodiscard]] BindingMemberInner* TakeInner() { return inners_[--innerCount_]; }

 private:
  BindingHeap& heap_;
  BindingMemberLeaf* leaf_ = nullptr;
  BindingMemberInner* inners_[BindingMembers::kMaxHeight + 1];  // the first innerCount_ are set
  size_t innerCount_ = 0;
};

struct PathStep {
  BindingMemberInner* inner;
  size_t child;
};

// Where an insertion goes: the inner nodes passed on the way down, the leaf,
// and the position in the leaf.
struct InsertionPoint {
  PathStep path[BindingMembers::kMaxHeight];
  BindingMemberLeaf* leaf;
  size_t position;
  bool rightmost;  // the name goes after every name of the structure
};

// Inner nodes that a split of the leaf would split too, plus a new root
// when every one of them is full.
size_t InnerNodesForSplit(const InsertionPoint& at, uint32_t height) {
  size_t needed = 0;
  for (uint32_t level = height; level-- > 0;) {
    if (at.path[level].inner->count < BindingMembers::kFanout) return needed;
    ++needed;
  }
  return needed + 1;
}

void PlaceChild(BindingMemberInner& inner, size_t index, void* child, const InternedString* firstName) {
  const size_t after = inner.count - index;
  std::memmove(inner.firstNames + index + 1, inner.firstNames + index, after * sizeof(void*));
  std::memmove(inner.children + index + 1, inner.children + index, after * sizeof(void*));
  inner.firstNames[index] = firstName;
  inner.children[index] = child;
  ++inner.count;
}

// Adds `child` (whose smallest name is `firstName`) right after the child
// that the path passed at each level, splitting full inner nodes upwards.
void InsertChild(BindingMembers& members, const InsertionPoint& at, void* child, const InternedString* firstName,
                 SpareNodes& spare) {
  for (uint32_t level = members.height; level-- > 0;) {
    BindingMemberInner* inner = at.path[level].inner;
    const size_t index = at.path[level].child + 1;
    if (inner->count < BindingMembers::kFanout) {
      PlaceChild(*inner, index, child, firstName);
      return;
    }
    BindingMemberInner* right = spare.TakeInner();
    const bool appending = at.rightmost && index == inner->count;
    const size_t keep = appending ? inner->count : inner->count / 2u;
    right->count = static_cast<uint16_t>(inner->count - keep);
    std::memcpy(right->firstNames, inner->firstNames + keep, right->count * sizeof(void*));
    std::memcpy(right->children, inner->children + keep, right->count * sizeof(void*));
    inner->count = static_cast<uint16_t>(keep);
    if (index > keep || appending) {
      PlaceChild(*right, index - keep, child, firstName);
    } else {
      PlaceChild(*inner, index, child, firstName);
    }
    child = right;
    firstName = right->firstNames[0];
  }
  auto* root = spare.TakeInner();
  root->count = 2;
  root->firstNames[0] = nullptr;
  root->children[0] = members.root;
  root->firstNames[1] = firstName;
  root->children[1] = child;
  members.root = root;
  ++members.height;
}

}  // namespace

int CompareMemberNameAfterPrefix(const InternedString& name, const BindingMemberKey& key) {
  if (name.length <= 8 || key.text.size() <= 8) {
    return name.length == key.text.size() ? 0 : (name.length < key.text.size() ? -1 : 1);
  }
  return CompareTails(name.View(), key.text);
}

BindingProperty* BindingMembers::NewMember(const BindingMemberKey& key, BindingHeap& heap,
                                           const InternedString*& name) {
  void* block = heap.AllocateBlock(sizeof(BindingProperty));
  try {
    name = heap.Intern(key.text);
  } catch (...) {
    heap.ReleaseBlock(block, sizeof(BindingProperty));
    throw;
  }
  return new (block) BindingProperty(BindingProperty::ChildKey(&heap));
}

const BindingMember* BindingMembers::Find(const BindingMemberKey& key) const {
  if (root == nullptr) return nullptr;
  const void* node = root;
  for (uint32_t level = height; level > 0; --level) {
    const auto* inner = static_cast<const BindingMemberInner*>(node);
    node = inner->children[ChildIndex(*inner, key)];
  }
  const auto* leaf = static_cast<const BindingMemberLeaf*>(node);
  bool found = false;
  const size_t position = LowerBound(*leaf, key, found);
  return found ? &leaf->Entries()[position] : nullptr;
}

const BindingMemberLeaf* BindingMembers::FirstLeaf() const {
  const void* node = root;
  for (uint32_t level = height; level > 0 && node != nullptr; --level) {
    node = static_cast<const BindingMemberInner*>(node)->children[0];
  }
  return static_cast<const BindingMemberLeaf*>(node);
}

BindingProperty& BindingMembers::FindOrInsert(const BindingMemberKey& key, BindingHeap& heap) {
  InsertionPoint at;  // path entries are set down to the leaf's level only
  at.position = 0;
  at.rightmost = true;
  void* node = root;
  for (uint32_t level = 0; level < height; ++level) {
    auto* inner = static_cast<BindingMemberInner*>(node);
    const size_t child = ChildIndex(*inner, key);
    at.path[level] = {inner, child};
    at.rightmost = at.rightmost && child + 1 == inner->count;
    node = inner->children[child];
  }
  at.leaf = static_cast<BindingMemberLeaf*>(node);
  if (at.leaf != nullptr) {
    bool found = false;
    at.position = LowerBound(*at.leaf, key, found);
    if (found) return *at.leaf->Entries()[at.position].value;
    at.rightmost = at.rightmost && at.position == at.leaf->count;
  }

  // Only the root leaf grows in place; every other leaf has full capacity
  // and splits when full.
  const bool hasRoom = at.leaf != nullptr && at.leaf->count < at.leaf->capacity;
  const bool growsRootLeaf = !hasRoom && (at.leaf == nullptr || at.leaf->capacity < kLeafCapacity);
  SpareNodes spare(heap);
  if (growsRootLeaf) {
    spare.Reserve(NextRootLeafCapacity(at.leaf), 0);
  } else if (!hasRoom) {
    spare.Reserve(kLeafCapacity, InnerNodesForSplit(at, height));
  }
  const InternedString* name = nullptr;
  BindingProperty* const value = NewMember(key, heap, name);
  // Nothing below throws.
  ++size;
  if (hasRoom) return PlaceMember(at.leaf, at.position, key.prefix, name, value);
  if (growsRootLeaf) {
    BindingMemberLeaf* grown = spare.TakeLeaf();
    if (at.leaf != nullptr) {
      std::memcpy(static_cast<void*>(grown->Entries()), at.leaf->Entries(), at.leaf->count * sizeof(BindingMember));
      grown->count = at.leaf->count;
      FreeLeaf(heap, at.leaf);
    }
    root = grown;
    return PlaceMember(grown, at.position, key.prefix, name, value);
  }
  BindingMemberLeaf* right = spare.TakeLeaf();
  const size_t keep = at.rightmost ? at.leaf->count : at.leaf->count / 2u;
  right->count = static_cast<uint16_t>(at.leaf->count - keep);
  std::memcpy(static_cast<void*>(right->Entries()), at.leaf->Entries() + keep, right->count * sizeof(BindingMember));
  at.leaf->count = static_cast<uint16_t>(keep);
  right->next = at.leaf->next;
  at.leaf->next = right;
  const bool toRight = at.position > keep || at.rightmost;
  BindingProperty& placed = toRight ? PlaceMember(right, at.position - keep, key.prefix, name, value)
                                    : PlaceMember(at.leaf, at.position, key.prefix, name, value);
  InsertChild(*this, at, right, right->Entries()[0].name, spare);
  return placed;
}

void BindingMembers::Clear(BindingHeap& heap) {
  if (root != nullptr) DestroyNode(heap, root, height);
  root = nullptr;
  size = 0;
  height = 0;
}

}  // namespace zun
