// Binding values: kinds and getters, containers, member order, interning,
// deep copy and move, and the blocks a tree takes from its heap.
#include "binding/binding_property.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "binding/static_type.h"
#include "platform/virtual_memory.h"

namespace zun {
namespace {

std::vector<std::string> MemberNames(const BindingProperty& value) {
  std::vector<std::string> names;
  for (auto [name, member] : value.Members()) names.emplace_back(name);
  return names;
}

const InternedString* Interned(const BindingProperty& root, std::string_view text) {
  return root.Heap() != nullptr ? root.Heap()->FindInterned(text) : nullptr;
}

TEST(BindingKindTest, NamesByTag) {
  const char* expected[] = {"empty", "bool",   "signed",     "unsigned",  "float", "string",
                            "blob",  "enum",   "collection", "structure", ""};
  for (uint8_t tag = 0; tag < 11; ++tag) EXPECT_STREQ(BindingKindName(tag), expected[tag]) << int(tag);
  EXPECT_STREQ(BindingKindName(255), "");
}

#if defined(__i386__)
TEST(BindingPropertyTest, LayoutOfTheProductionBuild) {
  EXPECT_EQ(sizeof(BindingProperty), 16u);
  EXPECT_EQ(alignof(BindingProperty), 8u);
}
#endif

TEST(BindingPropertyTest, NewValueIsAnEmptyRootWithoutHeap) {
  BindingProperty value;
  EXPECT_EQ(value.Kind(), BindingKind::Empty);
  EXPECT_TRUE(value.OwnsHeap());
  EXPECT_EQ(value.Heap(), nullptr);
  EXPECT_EQ(value.Size(), 0u);
  EXPECT_TRUE(value.IsEmptyValue());
}

TEST(BindingPropertyTest, ScalarsNeedNoHeapAndGettersKeepToTheirKind) {
  BindingProperty value;
  value.SetSigned(-5);
  EXPECT_EQ(value.Kind(), BindingKind::Signed);
  EXPECT_EQ(value.GetSigned(), -5);
  EXPECT_EQ(value.GetUnsigned(77), 77u) << "no conversion between kinds";
  EXPECT_EQ(value.Size(), 1u);

  value.SetUnsigned(5);
  EXPECT_EQ(value.GetSigned(-1), -1);
  EXPECT_EQ(value.GetUnsigned(), 5u);

  value.SetSigned(int32_t{-2});
  EXPECT_EQ(value.GetSigned(), -2) << "32-bit integers are sign-extended";
  value.SetUnsigned(uint32_t{0xFFFFFFFF});
  EXPECT_EQ(value.GetUnsigned(), 0xFFFFFFFFu);

  value.SetBool(true);
  EXPECT_TRUE(value.GetBool());
  EXPECT_EQ(value.GetFloat(2.5), 2.5);
  value.SetFloat(1.25);
  EXPECT_EQ(value.GetFloat(), 1.25);
  EXPECT_TRUE(value.GetBool(true));
  EXPECT_EQ(value.GetString("fallback"), "fallback");
  EXPECT_EQ(value.Heap(), nullptr);
}

TEST(BindingPropertyTest, BlobsAndEnums) {
  BindingProperty value;
  std::vector<uint8_t> bytes = {1, 2, 3};
  value.SetBlob(bytes);
  EXPECT_EQ(value.Kind(), BindingKind::Blob);
  EXPECT_EQ(value.Size(), 3u);
  bytes[0] = 9;
  EXPECT_EQ(value.GetBlob()[0], 1) << "a copied blob is independent of its source";

  value.SetBlob(std::vector<uint8_t>{4, 5});
  ASSERT_EQ(value.GetBlob().size(), 2u);
  EXPECT_EQ(value.GetBlob()[1], 5);

  const StaticTypeId& type = StaticType::Get<int>();
  value.SetEnum(3, &type);
  EXPECT_EQ(value.Kind(), BindingKind::Enum);
  EXPECT_EQ(value.GetEnum().value, 3);
  EXPECT_EQ(value.GetEnum().type, &type);
  EXPECT_EQ(value.Size(), 1u);
  EXPECT_TRUE(value.GetBlob().empty());
}

TEST(BindingPropertyTest, IsEmptyValueByKind) {
  struct Row {
    const char* label;
    void (*set)(BindingProperty&);
    bool empty;
  };
  const Row rows[] = {
      {"empty", [](BindingProperty&) {}, true},
      {"false", [](BindingProperty& v) { v.SetBool(false); }, true},
      {"true", [](BindingProperty& v) { v.SetBool(true); }, false},
      {"signed 0", [](BindingProperty& v) { v.SetSigned(0); }, true},
      {"signed -1", [](BindingProperty& v) { v.SetSigned(-1); }, false},
      {"unsigned 0", [](BindingProperty& v) { v.SetUnsigned(0); }, true},
      {"float -0.0", [](BindingProperty& v) { v.SetFloat(-0.0); }, true},
      {"float NaN", [](BindingProperty& v) { v.SetFloat(std::nan("")); }, false},
      {"float 0.5", [](BindingProperty& v) { v.SetFloat(0.5); }, false},
      {"string \"\"", [](BindingProperty& v) { v.SetString(""); }, true},
      {"string x", [](BindingProperty& v) { v.SetString("x"); }, false},
      {"blob none", [](BindingProperty& v) { v.SetBlob(std::vector<uint8_t>{}); }, true},
      {"enum 0", [](BindingProperty& v) { v.SetEnum(0, nullptr); }, true},
      {"enum 2", [](BindingProperty& v) { v.SetEnum(2, nullptr); }, false},
      {"collection none", [](BindingProperty& v) { v.MakeCollection(); }, true},
      {"collection of Empty", [](BindingProperty& v) { (void)v.Append(); }, false},
      {"structure none", [](BindingProperty& v) { v.MakeStructure(); }, true},
      {"structure of Empty", [](BindingProperty& v) { (void)v.Member("a"); }, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    BindingProperty value;
    row.set(value);
    EXPECT_EQ(value.IsEmptyValue(), row.empty);
  }
}

TEST(BindingPropertyTest, EmptyStringIsAStringButNothingIsInterned) {
  BindingProperty value;
  value.SetString("");
  EXPECT_EQ(value.Kind(), BindingKind::String);
  EXPECT_EQ(value.Size(), 0u);
  EXPECT_EQ(value.Heap(), nullptr);
  EXPECT_STREQ(value.GetString().data(), "");
  value.SetString(static_cast<const char*>(nullptr));
  EXPECT_EQ(value.Kind(), BindingKind::String);
  EXPECT_EQ(value.Size(), 0u);
}

TEST(BindingPropertyTest, StringsKeepTheBytesBeforeTheFirstNul) {
  BindingProperty value;
  value.SetString(std::string_view("ab\0cd", 5));
  EXPECT_EQ(value.GetString(), "ab");
  EXPECT_EQ(value.Size(), 2u);
  EXPECT_EQ(value.GetString().data()[2], '\0') << "texts are NUL-terminated";

  (void)value.Member(std::string_view("key\0tail", 8));
  EXPECT_EQ(MemberNames(value), std::vector<std::string>{"key"});
  EXPECT_NE(value.FindMember(std::string_view("key\0other", 9)), nullptr);
}

TEST(BindingPropertyTest, EqualTextsOfATreeShareOneRecord) {
  BindingProperty root;
  BindingProperty& first = root.Append();
  first.SetString("shared");
  BindingProperty& second = root.Append();
  second.SetString(std::string("shared"));
  const InternedString* record = Interned(root, "shared");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->refCount, 2u);
  EXPECT_EQ(record->Hash(), Fnv1a32("shared"));
  EXPECT_EQ(root.Element(0).GetString().data(), root.Element(1).GetString().data());

  (void)root.Append().Member("shared");
  EXPECT_EQ(record->refCount, 3u) << "a member name shares the record of the same text";

  root.Element(0).Reset();
  EXPECT_EQ(root.Element(1).GetString(), "shared");
  root.Element(1).Reset();
  root.Element(2).Reset();
  EXPECT_EQ(Interned(root, "shared"), nullptr) << "the last release frees the record";
  EXPECT_EQ(root.Heap()->InternedCount(), 0u);
}

TEST(BindingPropertyTest, MembersIterateInUnsignedByteOrder) {
  BindingProperty value;
  for (const char* name : {"b", "a", "\xC3\xA9t\xC3\xA9", "abc", "zz", "ab", "B", ""}) {
    value.Member(name).SetString(name);
  }
  const std::vector<std::string> expected = {"", "B", "a", "ab", "abc", "b", "zz", "\xC3\xA9t\xC3\xA9"};
  EXPECT_EQ(MemberNames(value), expected);
  for (auto [name, member] : value.Members()) EXPECT_EQ(member.GetString(), name);
  EXPECT_EQ(value.Size(), expected.size());
}

// Names around eight bytes long and sharing their first eight bytes, where
// the comparison of leading bytes alone cannot decide, among many members.
TEST(BindingPropertyTest, ManyMembersKeepOrderAndLookupAcrossSharedBeginnings) {
  std::vector<std::string> names = {"abcdefgh", "abcdefg",  "abcdefghi", "abcdefgh\xFF", "abcdefgha",
                                    "abcdefgi", "abcdefg\x80", "\xFF",   "\x7F",         "abcdefghabcdefghz",
                                    "abcdefghabcdefgh", "abcdefghabcdefghy", "b", "abcdefgg\xFF\xFF"};
  for (int i = 0; i < 200; ++i) names.push_back("member" + std::to_string(i * 37 % 200));
  BindingProperty value;
  for (size_t i = 0; i < names.size(); ++i) value.Member(names[i]).SetSigned(static_cast<int64_t>(i));

  std::vector<std::string> expected = names;
  const auto unsignedLess = [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  };
  std::sort(expected.begin(), expected.end(), [&](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), unsignedLess);
  });
  EXPECT_EQ(MemberNames(value), expected);
  for (size_t i = 0; i < names.size(); ++i) {
    const BindingProperty* member = value.FindMember(names[i]);
    ASSERT_NE(member, nullptr) << names[i];
    EXPECT_EQ(member->GetSigned(), static_cast<int64_t>(i)) << names[i];
  }
  for (const char* absent :
       {"abcdefgh\x01", "abcdefghj", "abcdefghabcdefg", "abcdefghabcdefghx", "member200", "a"}) {
    EXPECT_EQ(value.FindMember(absent), nullptr) << absent;
  }
  EXPECT_EQ(value.Size(), names.size()) << "writing an existing name inserts nothing";
  (void)value.Member("abcdefghi");
  EXPECT_EQ(value.Size(), names.size());
}

TEST(BindingPropertyTest, ReadingAMissingMemberDoesNotAddIt) {
  BindingProperty value;
  value.Member("present").SetSigned(1);
  const BindingProperty& readOnly = value;
  const BindingProperty& missing = readOnly.Member("absent");
  EXPECT_EQ(&missing, &BindingProperty::EmptyValue());
  EXPECT_EQ(value.FindMember("absent"), nullptr);
  EXPECT_EQ(value.Size(), 1u);
  EXPECT_EQ(readOnly.Member("present").GetSigned(), 1);

  (void)value.Member("absent");
  EXPECT_EQ(value.Size(), 2u) << "writing inserts";
  EXPECT_EQ(value.Member("absent").Kind(), BindingKind::Empty);

  BindingProperty scalar;
  scalar.SetSigned(4);
  EXPECT_EQ(&std::as_const(scalar).Member("x"), &BindingProperty::EmptyValue());
  EXPECT_EQ(&std::as_const(scalar).Element(0), &BindingProperty::EmptyValue());
}

TEST(BindingPropertyTest, WritingAnElementPastTheEndFillsWithEmpty) {
  BindingProperty value;
  value.Element(5).SetSigned(5);
  ASSERT_EQ(value.Size(), 6u);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(value.Element(i).Kind(), BindingKind::Empty) << i;
  EXPECT_EQ(std::as_const(value).Element(5).GetSigned(), 5);
  EXPECT_EQ(&std::as_const(value).Element(6), &BindingProperty::EmptyValue());
  EXPECT_EQ(value.Size(), 6u);
}

TEST(BindingPropertyTest, SetterReplacesAContainerAndMakeKeepsIt) {
  BindingProperty value;
  value.Append().SetSigned(1);
  value.MakeCollection();
  EXPECT_EQ(value.Size(), 1u) << "an existing collection is kept";
  value.MakeStructure();
  EXPECT_EQ(value.Kind(), BindingKind::Structure);
  EXPECT_EQ(value.Size(), 0u);
  value.Member("m").SetBool(true);
  value.SetSigned(3);
  EXPECT_EQ(value.Kind(), BindingKind::Signed);
  EXPECT_EQ(value.Heap()->Blocks().UsedBlockCount(sizeof(BindingMembers)), 0u);
}

TEST(BindingPropertyTest, GrowingCollectionKeepsChildrenInTheTree) {
  BindingProperty root;
  for (int i = 0; i < 100; ++i) {
    BindingProperty& element = root.Append();
    element.Member("index").SetSigned(i);
    element.Member("name").SetString("n" + std::to_string(i));
  }
  ASSERT_EQ(root.Size(), 100u);
  int i = 0;
  for (const BindingProperty& element : root.Elements()) {
    EXPECT_FALSE(element.OwnsHeap());
    EXPECT_EQ(element.Heap(), root.Heap());
    EXPECT_EQ(element.Member("index").GetSigned(), i);
    EXPECT_EQ(element.Member("name").GetString(), "n" + std::to_string(i));
    ++i;
  }
  EXPECT_EQ(Interned(root, "index")->refCount, 100u);
}

TEST(BindingPropertyTest, ReserveIsForCollectionsOnly) {
  BindingProperty value;
  value.SetString("keep");
  value.Reserve(10);
  EXPECT_EQ(value.GetString(), "keep");
  value.MakeCollection();
  value.Reserve(10);
  EXPECT_EQ(value.Size(), 0u);
  EXPECT_THROW(value.Reserve(std::numeric_limits<size_t>::max()), std::length_error);
  EXPECT_EQ(value.Kind(), BindingKind::Collection);
}

// An empty collection holds no block: its header comes with the first
// element. Every way of reading, copying and moving one must treat it as the
// empty collection it is.
TEST(BindingPropertyTest, EmptyCollectionsHoldNoBlockUntilTheirFirstElement) {
  auto usedBlocks = [](const BindingProperty& value) {
    size_t used = 0;
    for (size_t size = 4; size <= BlockAllocator::kLargestBlock; size += 4) {
      used += value.Heap()->Blocks().UsedBlockCount(size);
    }
    return used;
  };
  BindingProperty root;
  root.MakeCollection();
  root.Reserve(0);
  EXPECT_EQ(usedBlocks(root), 0u);
  EXPECT_EQ(root.Kind(), BindingKind::Collection);
  EXPECT_EQ(root.Size(), 0u);
  EXPECT_TRUE(root.Elements().empty());
  EXPECT_TRUE(std::as_const(root).Elements().empty());
  EXPECT_EQ(&std::as_const(root).Element(0), &BindingProperty::EmptyValue());

  BindingProperty copy(root);
  BindingProperty inTree;
  inTree.Member("list") = root;
  inTree.Member("again") = inTree.Member("list");
  BindingProperty moved(std::move(copy));
  for (const BindingProperty* value : {&moved, &inTree.Member("list"), &inTree.Member("again")}) {
    EXPECT_EQ(value->Kind(), BindingKind::Collection);
    EXPECT_EQ(value->Size(), 0u);
  }

  root.Append().SetSigned(1);
  EXPECT_EQ(usedBlocks(root), 1u) << "header and the first elements share one block";
  root.Append().SetSigned(2);
  EXPECT_EQ(usedBlocks(root), 1u);
  root.Append().SetSigned(3);
  // A third element moves the elements to storage of their own: a block
  // where four values fit in one, general memory otherwise.
  const bool storageIsABlock = 4 * sizeof(BindingProperty) <= BlockAllocator::kLargestBlock;
  EXPECT_EQ(usedBlocks(root), storageIsABlock ? 2u : 1u);
  EXPECT_EQ(root.Element(2).GetSigned(), 3);
  root.Reset();
  EXPECT_EQ(usedBlocks(root), 0u);

  BindingProperty reserved;
  reserved.MakeCollection();
  reserved.Reserve(5);
  EXPECT_EQ(reserved.Size(), 0u);
  reserved.Append().SetString("first");
  EXPECT_EQ(reserved.Element(0).GetString(), "first");
}

BindingProperty SampleTree() {
  BindingProperty root;
  root.Member("name").SetString("tree");
  root.Member("blob").SetBlob(std::vector<uint8_t>{7, 8});
  root.Member("kind").SetEnum(2, nullptr);
  BindingProperty& list = root.Member("list");
  list.Append().SetFloat(1.5);
  list.Append().Member("name").SetString("tree");
  return root;
}

void ExpectSampleTree(const BindingProperty& root) {
  EXPECT_EQ(MemberNames(root), (std::vector<std::string>{"blob", "kind", "list", "name"}));
  EXPECT_EQ(root.Member("name").GetString(), "tree");
  EXPECT_EQ(root.Member("blob").GetBlob()[1], 8);
  EXPECT_EQ(root.Member("kind").GetEnum().value, 2);
  EXPECT_EQ(root.Member("list").Element(0).GetFloat(), 1.5);
  EXPECT_EQ(root.Member("list").Element(1).Member("name").GetString(), "tree");
}

TEST(BindingPropertyTest, CopyIsDeepAndLivesInTheTargetTree) {
  BindingProperty source = SampleTree();
  BindingProperty copy(source);
  ExpectSampleTree(copy);
  EXPECT_NE(copy.Heap(), source.Heap());
  source.Member("list").Element(0).SetSigned(9);
  EXPECT_EQ(copy.Member("list").Element(0).GetFloat(), 1.5);

  BindingProperty target;
  target.Member("old").SetString("old");
  target.Member("slot") = copy.Member("list");
  EXPECT_EQ(target.Member("slot").Element(1).Member("name").GetString(), "tree");
  EXPECT_EQ(target.Member("slot").Heap(), target.Heap());
  EXPECT_FALSE(target.Member("slot").OwnsHeap());
}

TEST(BindingPropertyTest, CopyWithinOneTreeCountsTheSharedText) {
  BindingProperty root = SampleTree();
  root.Member("again") = root.Member("name");
  EXPECT_EQ(Interned(root, "tree")->refCount, 3u);  // two values and the copy
}

TEST(BindingPropertyTest, MovingBetweenRootsExchangesHeaps) {
  BindingProperty source = SampleTree();
  const BindingHeap* sourceHeap = source.Heap();
  BindingProperty target;
  target.SetString("previous");
  const BindingHeap* targetHeap = target.Heap();

  target = std::move(source);
  EXPECT_EQ(target.Heap(), sourceHeap);
  ExpectSampleTree(target);
  EXPECT_EQ(source.Kind(), BindingKind::Empty);
  EXPECT_EQ(source.Heap(), targetHeap);
  EXPECT_EQ(targetHeap->InternedCount(), 0u) << "the source released what the target held";

  BindingProperty constructed(std::move(target));
  EXPECT_EQ(constructed.Heap(), sourceHeap);
  EXPECT_EQ(target.Kind(), BindingKind::Empty);
}

TEST(BindingPropertyTest, MovingOutOfAMemberCopiesAndEmptiesIt) {
  BindingProperty tree = SampleTree();
  BindingProperty taken(std::move(tree.Member("list")));
  EXPECT_TRUE(taken.OwnsHeap());
  EXPECT_NE(taken.Heap(), tree.Heap());
  EXPECT_EQ(taken.Element(1).Member("name").GetString(), "tree");
  EXPECT_EQ(tree.Member("list").Kind(), BindingKind::Empty);

  BindingProperty other;
  other.Member("moved") = std::move(taken);
  EXPECT_EQ(other.Member("moved").Element(0).GetFloat(), 1.5);
  EXPECT_EQ(taken.Kind(), BindingKind::Empty);
}

// Assignments whose source and target lie in one tree, one inside the other.
TEST(BindingPropertyTest, AssignmentsWithinOneTreeReadTheSourceBeforeReleasingIt) {
  {
    BindingProperty root = SampleTree();
    root = root.Member("list");
    EXPECT_EQ(root.Element(1).Member("name").GetString(), "tree");
  }
  {
    BindingProperty root = SampleTree();
    root.Member("list").Element(1) = root.Member("list");
    EXPECT_EQ(root.Member("list").Element(1).Element(1).Member("name").GetString(), "tree");
  }
  {
    BindingProperty root = SampleTree();
    root = std::move(root.Member("list").Element(1));
    EXPECT_EQ(MemberNames(root), std::vector<std::string>{"name"});
  }
  {
    BindingProperty root = SampleTree();
    root.Member("list").Element(1) = std::move(root);
    EXPECT_EQ(root.Kind(), BindingKind::Empty);
    EXPECT_EQ(root.Heap()->InternedCount(), 0u) << "nothing of the tree is left behind";
  }
  {
    BindingProperty root = SampleTree();
    BindingProperty& self = root;
    root = self;
    ExpectSampleTree(root);
    root = std::move(self);
    ExpectSampleTree(root);
  }
}

TEST(BindingPropertyTest, SettingFromTextsOfTheSameValue) {
  BindingProperty value;
  value.SetString("only reference");
  value.SetString(value.GetString());
  EXPECT_EQ(value.GetString(), "only reference");

  BindingProperty& named = value.Member(value.GetString());
  (void)named;
  EXPECT_EQ(MemberNames(value), std::vector<std::string>{"only reference"});

  // The name lies in an element that making the structure releases (a text
  // too long for a heap block, so that a read after the release is caught).
  const std::string longText(100, 'e');
  BindingProperty list;
  list.Append().SetString(longText);
  (void)list.Member(list.Element(0).GetString());
  EXPECT_EQ(MemberNames(list), std::vector<std::string>{longText});

  BindingProperty blob;
  blob.SetBlob(std::vector<uint8_t>{1, 2, 3});
  blob.SetBlob(blob.GetBlob());
  EXPECT_EQ(blob.Size(), 3u);
}

TEST(BindingPropertyTest, TreeBlocksAllReturnToTheHeapAndPagesToThePool) {
  const size_t regionsBefore = platform::LiveRegionCount();
  {
    BindingProperty root;
    for (int i = 0; i < 2000; ++i) {
      BindingProperty& element = root.Append();
      element.Member("id").SetSigned(i);
      element.Member("tags").Append().SetEnum(i, nullptr);
    }
    EXPECT_GT(platform::LiveRegionCount(), regionsBefore) << "a large tree uses pool pages";
    root.Reset();
    const BlockAllocator& blocks = root.Heap()->Blocks();
    for (size_t size = 4; size <= BlockAllocator::kLargestBlock; size += 4) {
      EXPECT_EQ(blocks.UsedBlockCount(size), 0u) << size;
    }
    EXPECT_EQ(root.Heap()->InternedCount(), 0u);
  }
  EXPECT_EQ(platform::LiveRegionCount(), regionsBefore);
}

// A root that goes takes its tree down with the heap at once, or value by
// value while a blob (bytes of its own) is in the tree. Either way nothing
// leaks (the sanitized build checks for leaks), the pool pages go back, and
// the next tree, which may reuse the emptied heap, starts clean.
TEST(BindingPropertyTest, DestroyedRootsGiveEverythingBack) {
  enum class Blob { None, Kept, RemovedBeforeTheEnd };
  for (const Blob blob : {Blob::None, Blob::Kept, Blob::RemovedBeforeTheEnd}) {
    SCOPED_TRACE(static_cast<int>(blob));
    const size_t regionsBefore = platform::LiveRegionCount();
    {
      BindingProperty root;
      for (int i = 0; i < 3000; ++i) {
        BindingProperty& element = root.Append();  // storage beyond the largest block
        element.Member("name").SetString("entry " + std::to_string(i) + std::string(90, 'x'));
        element.Member("kind").SetEnum(i, nullptr);
        for (int m = 0; m < 40; ++m) element.Member("m" + std::to_string(m)).SetSigned(m);  // split leaves
      }
      if (blob != Blob::None) root.Element(17).Member("bytes").SetBlob(std::vector<uint8_t>(500, 7));
      if (blob == Blob::RemovedBeforeTheEnd) root.Element(17).Member("bytes").SetSigned(1);
      EXPECT_GT(platform::LiveRegionCount(), regionsBefore);
    }
    EXPECT_EQ(platform::LiveRegionCount(), regionsBefore);

    BindingProperty next;
    next.Member("b").SetString("second");
    next.Member("a").Append().SetString("first");
    EXPECT_EQ(MemberNames(next), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(next.Member("a").Element(0).GetString(), "first");
    EXPECT_EQ(next.Heap()->InternedCount(), 4u);
  }
}

// Readers nest values up to 512 levels; copying and destroying such a tree
// must stay well inside the stack.
TEST(BindingPropertyTest, DeepNestingCopiesAndDestroys) {
  constexpr int kDepth = 2048;
  BindingProperty root;
  BindingProperty* level = &root;
  for (int i = 0; i < kDepth; ++i) level = i % 2 == 0 ? &level->Append() : &level->Member("next");
  level->SetString("bottom");

  BindingProperty copy(root);
  const BindingProperty* reader = &copy;
  for (int i = 0; i < kDepth; ++i) reader = i % 2 == 0 ? &reader->Element(0) : &reader->Member("next");
  EXPECT_EQ(reader->GetString(), "bottom");
}

}  // namespace
}  // namespace zun
