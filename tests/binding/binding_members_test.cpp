// Structures large enough to split their member leaves and inner nodes
// several times, filled in every order a document can bring.
#include "binding/binding_members.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "binding/binding_property.h"

namespace zun {
namespace {

enum class Order { Ascending, Descending, Shuffled, Interleaved };

const char* OrderName(Order order) {
  switch (order) {
    case Order::Ascending: return "ascending";
    case Order::Descending: return "descending";
    case Order::Shuffled: return "shuffled";
    case Order::Interleaved: return "interleaved";
  }
  return "";
}

// Names that share long beginnings, so that ordering needs the bytes past
// the eighth; sorted as the structure must iterate them.
std::vector<std::string> SortedNames(size_t count) {
  std::vector<std::string> names;
  for (size_t i = 0; i < count; ++i) {
    std::string digits = std::to_string(i);
    names.push_back("member_name_" + std::string(6 - digits.size(), '0') + digits);
  }
  return names;
}

std::vector<std::string> InInsertionOrder(std::vector<std::string> names, Order order) {
  switch (order) {
    case Order::Ascending:
      break;
    case Order::Descending:
      std::reverse(names.begin(), names.end());
      break;
    case Order::Shuffled:
      std::shuffle(names.begin(), names.end(), std::mt19937(12345));
      break;
    case Order::Interleaved: {
      // Alternately from both ends: every insertion lands in the middle.
      std::vector<std::string> mixed;
      for (size_t low = 0, high = names.size(); low < high;) {
        mixed.push_back(names[low++]);
        if (low < high) mixed.push_back(names[--high]);
      }
      names = mixed;
      break;
    }
  }
  return names;
}

std::vector<std::string> NamesOf(const BindingProperty& value) {
  std::vector<std::string> names;
  for (auto [name, member] : value.Members()) names.emplace_back(name);
  return names;
}

void ExpectStructure(const BindingProperty& value, const std::vector<std::string>& sorted) {
  ASSERT_EQ(value.Size(), sorted.size());
  EXPECT_EQ(NamesOf(value), sorted);
  for (const std::string& name : sorted) {
    const BindingProperty* member = value.FindMember(name);
    ASSERT_NE(member, nullptr) << name;
    EXPECT_EQ(member->GetString(), name);
  }
  EXPECT_EQ(value.FindMember("member_name_"), nullptr);
  EXPECT_EQ(value.FindMember("member_name_9999999"), nullptr);
  EXPECT_EQ(value.FindMember(""), nullptr);
}

// The first eight bytes as a big-endian number, zero-padded, byte by byte.
uint64_t ReferencePrefix(std::string_view text) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i) {
    prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  }
  return prefix;
}

TEST(BindingMembersTest, OrderPrefixIsTheLeadingBytesBigEndian) {
  std::mt19937 random(7);
  for (size_t length = 0; length <= 12; ++length) {
    for (int round = 0; round < 50; ++round) {
      std::string text(length, '\0');
      for (char& byte : text) byte = static_cast<char>(random() & 0xFF);
      SCOPED_TRACE(length);
      EXPECT_EQ(OrderPrefix(text), ReferencePrefix(text));
    }
  }
}

TEST(BindingMembersTest, EveryInsertionOrderKeepsNameOrderAndLookups) {
  // 1, a full first leaf, one split, and enough for inner nodes to split.
  for (size_t count : {size_t{1}, size_t{32}, size_t{33}, size_t{700}, size_t{20000}}) {
    const std::vector<std::string> sorted = SortedNames(count);
    for (Order order : {Order::Ascending, Order::Descending, Order::Shuffled, Order::Interleaved}) {
      SCOPED_TRACE(std::string(OrderName(order)) + " " + std::to_string(count));
      BindingProperty value;
      for (const std::string& name : InInsertionOrder(sorted, order)) value.Member(name).SetString(name);
      ExpectStructure(value, sorted);

      // Writing existing names again adds nothing.
      for (const std::string& name : sorted) EXPECT_EQ(value.Member(name).GetString(), name);
      EXPECT_EQ(value.Size(), sorted.size());
    }
  }
}

TEST(BindingMembersTest, LargeStructuresCopyMoveAndGiveBackEveryBlock) {
  const std::vector<std::string> sorted = SortedNames(5000);
  BindingProperty source;
  for (const std::string& name : InInsertionOrder(sorted, Order::Shuffled)) source.Member(name).SetString(name);

  BindingProperty copy(source);
  ExpectStructure(copy, sorted);
  BindingProperty moved(std::move(copy));
  ExpectStructure(moved, sorted);

  // A copy into a member of the same tree: every name counted once more.
  BindingProperty& nested = source.Member("zzz_copy");
  nested = source.Member("member_name_000001");
  BindingProperty inner;
  inner = source;
  EXPECT_EQ(inner.Size(), sorted.size() + 1);

  source.Reset();
  EXPECT_EQ(source.Heap()->InternedCount(), 0u);
  for (size_t size = 4; size <= BlockAllocator::kLargestBlock; size += 4) {
    EXPECT_EQ(source.Heap()->Blocks().UsedBlockCount(size), 0u) << size;
  }
}

// A reference to a member stays valid while siblings are added, however
// often the structure's leaves grow and split meanwhile.
TEST(BindingMembersTest, MemberReferencesSurviveSiblingInsertions) {
  BindingProperty root;
  const std::vector<std::string> sorted = SortedNames(3000);
  std::vector<BindingProperty*> children;
  for (const std::string& name : InInsertionOrder(sorted, Order::Shuffled)) {
    BindingProperty& child = root.Member(name);
    child.Member("self").SetString(name);
    children.push_back(&child);
  }
  const std::vector<std::string> shuffled = InInsertionOrder(sorted, Order::Shuffled);
  for (size_t i = 0; i < shuffled.size(); ++i) {
    EXPECT_EQ(children[i], root.FindMember(shuffled[i]));
    children[i]->Member("list").Append().SetString(shuffled[i]);
  }
  for (const std::string& name : sorted) {
    const BindingProperty& child = std::as_const(root).Member(name);
    EXPECT_EQ(child.Member("self").GetString(), name);
    EXPECT_EQ(child.Member("list").Element(0).GetString(), name);
  }

  // Assigning one member to a new one: the source is read after the target
  // was inserted before it.
  root.Member("a_new_first_member") = root.Member(sorted.back());
  EXPECT_EQ(root.Member("a_new_first_member").Member("self").GetString(), sorted.back());
}

}  // namespace
}  // namespace zun
