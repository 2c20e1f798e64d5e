// Flat values: conversion to and from value trees, malformed input from the
// core, and release of what a flat value owns.
#include "plugin/flat_value_conversion.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_property.h"
#include "diagnostics/framework_allocator.h"
#include "formats/canonical_text.h"
#include "plugin/framework_types.h"
#include "tests/support/test_core.h"

namespace zun {
namespace {

using testing_core::RecordedFlat;
using testing_core::RecordFlat;

FlatValue Flat(FlatKind kind) {
  FlatValue value = EmptyFlatValue();
  value.kind = static_cast<uint32_t>(kind);
  return value;
}

FlatValue FlatSigned(int64_t number) {
  FlatValue value = Flat(FlatKind::Signed);
  value.payload.signedValue = number;
  return value;
}

FlatValue FlatSpanOf(FlatKind kind, const void* data, uint32_t count) {
  FlatValue value = Flat(kind);
  value.payload.span.data = data;
  value.payload.span.count = count;
  return value;
}

// Packed fields are read by value: assertions must not bind references to them.
const char* ErrorText(const FlatStatus& status) { return status.errorText; }

FlatStatus CleanStatus() { return FlatStatus{EmptyFlatValue(), nullptr, 0}; }

uint64_t LiveAllocations() {
  const AllocationCounters counters = ReadAllocationCounters();
  return counters.allocations - counters.frees;
}

bool AllZero(const FlatValue& value) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
  for (size_t i = 0; i < sizeof(FlatValue); ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

TEST(FlatToValueTest, EveryKindBecomesItsValue) {
  static const char kText[] = "abc";
  static const uint8_t kBytes[] = {1, 2, 0, 3};
  FlatValue boolean = Flat(FlatKind::Bool);
  boolean.payload.boolean = 2;
  FlatValue unsignedValue = Flat(FlatKind::Unsigned);
  unsignedValue.payload.unsignedValue = 18446744073709551615u;
  FlatValue real = Flat(FlatKind::Float);
  real.payload.floatValue = 2.5;
  struct Row {
    const char* name;
    FlatValue source;
    const char* expected;
  };
  const Row rows[] = {
      {"empty", Flat(FlatKind::Empty), "null"},
      {"bool from any non-zero byte", boolean, "true"},
      {"signed", FlatSigned(-7), "i:-7"},
      {"unsigned", unsignedValue, "u:18446744073709551615"},
      {"float", real, "f:2.5"},
      {"borrowed string, length word longer than the text", FlatSpanOf(FlatKind::BorrowedString, kText, 100),
       "\"abc\""},
      {"owned string, length word shorter than the text", FlatSpanOf(FlatKind::OwnedString, kText, 1), "\"abc\""},
      {"null text reads as the empty text", FlatSpanOf(FlatKind::BorrowedString, nullptr, 0), "\"\""},
      {"borrowed blob keeps its NUL byte", FlatSpanOf(FlatKind::BorrowedBlob, kBytes, 4), "b:AQIAAw=="},
      {"owned blob", FlatSpanOf(FlatKind::OwnedBlob, kBytes, 2), "b:AQI="},
      {"empty collection", FlatSpanOf(FlatKind::Collection, nullptr, 0), "[]"},
      {"empty structure", FlatSpanOf(FlatKind::Structure, nullptr, 0), "{}"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FlatStatus status = CleanStatus();
    BindingProperty target;
    target.SetString("previous");
    ASSERT_TRUE(FlatToValue(status, target, row.source, "<result>"));
    EXPECT_EQ(CanonicalText(target), row.expected);
    EXPECT_EQ(status.errorFlag, 0);
  }
}

TEST(FlatToValueTest, ContainersNestAndStructureFieldsFindTheirMembers) {
  static const char kName[] = "name";
  static const char kAlice[] = "alice";
  FlatValue elements[] = {FlatSigned(1), FlatSpanOf(FlatKind::BorrowedString, kAlice, 5)};
  FlatField fields[] = {
      {kName, FlatSpanOf(FlatKind::BorrowedString, kAlice, 5), 0},
      {"list", FlatSpanOf(FlatKind::Collection, elements, 2), 0},
      {kName, FlatSigned(9), 0},  // a repeated name reuses the member
  };
  FlatStatus status = CleanStatus();
  BindingProperty target;
  ASSERT_TRUE(FlatToValue(status, target, FlatSpanOf(FlatKind::Structure, fields, 3), "<result>"));
  EXPECT_EQ(CanonicalText(target), "{\"list\":[i:1,\"alice\"],\"name\":i:9}");
}

TEST(FlatToValueTest, UnknownKindFailsWithTheIncompatibleTypeMessage) {
  FlatStatus status = CleanStatus();
  status.value = FlatSpanOf(FlatKind::OwnedString, FrameworkAllocator::DuplicateText("held"), 4);
  BindingProperty target;
  EXPECT_FALSE(FlatToValue(status, target, Flat(static_cast<FlatKind>(11)), "<result>"));
  ASSERT_NE(ErrorText(status), nullptr);
  EXPECT_STREQ(ErrorText(status),
               "Couldn't assign value to '<result>' of type object because the input is of an incompatible "
               "type ''.");
  EXPECT_EQ(status.errorFlag, 1);
  EXPECT_TRUE(AllZero(status.value)) << "the status's value was released";
  ReleaseFlatStatus(status);
  EXPECT_EQ(ErrorText(status), nullptr);
}

TEST(FlatToValueTest, FailingThirdElementKeepsTheFirstTwo) {
  FlatValue elements[] = {FlatSigned(1), FlatSigned(2), Flat(static_cast<FlatKind>(99)), FlatSigned(4)};
  FlatStatus status = CleanStatus();
  BindingProperty target;
  EXPECT_FALSE(FlatToValue(status, target, FlatSpanOf(FlatKind::Collection, elements, 4), "items"));
  ASSERT_NE(ErrorText(status), nullptr);
  EXPECT_STREQ(ErrorText(status),
               "Couldn't assign value to 'items' of type object because the input is of an incompatible type ''.");
  ASSERT_GE(target.Size(), 2u);
  EXPECT_EQ(target.Element(0).GetSigned(), 1);
  EXPECT_EQ(target.Element(1).GetSigned(), 2);
  EXPECT_LE(target.Size(), 3u) << "nothing after the failure is read";
  ReleaseFlatStatus(status);
}

TEST(FlatToValueTest, MalformedInputFailsWithAMessage) {
  FlatField unnamed[] = {{nullptr, FlatSigned(1), 0}};
  struct Row {
    const char* name;
    FlatValue source;
    const char* message;
  };
  const Row rows[] = {
      {"collection entries at null", FlatSpanOf(FlatKind::Collection, nullptr, 3),
       "Couldn't assign value to 'p' because the input collection has 3 entries at a null address."},
      {"structure entries at null", FlatSpanOf(FlatKind::Structure, nullptr, 1),
       "Couldn't assign value to 'p' because the input structure has 1 entries at a null address."},
      {"blob bytes at null", FlatSpanOf(FlatKind::OwnedBlob, nullptr, 8),
       "Couldn't assign value to 'p' because the input blob has 8 entries at a null address."},
      {"field without a name", FlatSpanOf(FlatKind::Structure, unnamed, 1),
       "Couldn't assign value to 'p' because a field of the input structure has no name."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FlatStatus status = CleanStatus();
    BindingProperty target;
    EXPECT_FALSE(FlatToValue(status, target, row.source, "p"));
    ASSERT_NE(ErrorText(status), nullptr);
    EXPECT_STREQ(ErrorText(status), row.message);
    ReleaseFlatStatus(status);
  }
}

TEST(FlatToValueTest, CountBeyondAddressableMemoryFails) {
  if constexpr (sizeof(size_t) > 4) {
    GTEST_SKIP() << "a 32-bit count always fits the address space of this build";
  } else {
    FlatField field{"a", FlatSigned(1), 0};
    FlatStatus status = CleanStatus();
    BindingProperty target;
    EXPECT_FALSE(FlatToValue(status, target, FlatSpanOf(FlatKind::Structure, &field, 0xFFFFFFFFu), "p"));
    ASSERT_NE(ErrorText(status), nullptr);
    EXPECT_STREQ(ErrorText(status),
                 "Couldn't assign value to 'p' because the input structure claims more entries (4294967295) than "
                 "memory can hold.");
    ReleaseFlatStatus(status);
  }
}

// A chain of `depth` collections, each holding the next; the innermost holds 1.
std::vector<FlatValue> NestedCollections(size_t depth) {
  std::vector<FlatValue> chain(depth + 1);
  chain[depth] = FlatSigned(1);
  for (size_t i = depth; i-- > 0;) chain[i] = FlatSpanOf(FlatKind::Collection, &chain[i + 1], 1);
  return chain;
}

TEST(FlatToValueTest, NestingStopsAtTheReadersLimit) {
  const std::vector<FlatValue> deepest = NestedCollections(512);
  FlatStatus status = CleanStatus();
  BindingProperty accepted;
  EXPECT_TRUE(FlatToValue(status, accepted, deepest[0], "p"));

  const std::vector<FlatValue> tooDeep = NestedCollections(513);
  BindingProperty refused;
  EXPECT_FALSE(FlatToValue(status, refused, tooDeep[0], "p"));
  ASSERT_NE(ErrorText(status), nullptr);
  EXPECT_STREQ(ErrorText(status), "Couldn't assign value to 'p' because the input is nested deeper than 512 levels.");
  ReleaseFlatStatus(status);
}

TEST(ValueToFlatTest, ScalarsTextsAndBlobs) {
  BindingProperty values[6];
  values[0].SetBool(true);
  values[1].SetSigned(-3);
  values[2].SetUnsigned(7);
  values[3].SetFloat(0.25);
  values[4].SetString("text");
  values[5].SetBlob(std::vector<uint8_t>{9, 0, 8});
  const uint32_t kinds[] = {1, 2, 3, 4, 6, 8};
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(values[i].KindName());
    FlatValue flat = EmptyFlatValue();
    EXPECT_TRUE(ValueToFlat(flat, values[i], nullptr));
    const RecordedFlat recorded = RecordFlat(flat);
    EXPECT_EQ(recorded.kind, kinds[i]);
    const FlatSpan span = flat.payload.span;
    switch (i) {
      case 0: EXPECT_TRUE(recorded.boolValue); break;
      case 1: EXPECT_EQ(recorded.signedValue, -3); break;
      case 2: EXPECT_EQ(recorded.unsignedValue, 7u); break;
      case 3: EXPECT_EQ(recorded.floatValue, 0.25); break;
      case 4:
        EXPECT_EQ(recorded.text, "text");
        EXPECT_EQ(static_cast<const char*>(span.data)[4], '\0') << "owned texts are NUL-terminated";
        break;
      default: EXPECT_EQ(recorded.text, std::string("\x09\x00\x08", 3)); break;
    }
    ReleaseFlatValue(flat);
  }
}

TEST(ValueToFlatTest, EnumsByNameWithAContextAndSignedWithout) {
  BindingContext context;
  RegisterFrameworkTypes(context);
  const StaticTypeId& type = StaticType::Get<Client::PluginResourceEventType>();
  struct Row {
    const char* name;
    int32_t value;
    bool withContext;
    uint32_t kind;
    const char* text;
    int64_t number;
  };
  const Row rows[] = {
      {"known value, context", 1, true, 6, "Update", 0},
      {"unknown value, context", 7, true, 2, "", 7},
      {"known value, no context", 2, false, 2, "", 2},
      {"-1 sign-extended", -1, false, 2, "", -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    BindingProperty value;
    value.SetEnum(row.value, &type);
    FlatValue flat = EmptyFlatValue();
    EXPECT_TRUE(ValueToFlat(flat, value, row.withContext ? &context : nullptr));
    const RecordedFlat recorded = RecordFlat(flat);
    EXPECT_EQ(recorded.kind, row.kind);
    EXPECT_EQ(recorded.text, row.text);
    EXPECT_EQ(recorded.signedValue, row.number);
    ReleaseFlatValue(flat);
  }
}

TEST(ValueToFlatTest, StructuresOwnTheirNamesInMemberOrderAndRoundTrip) {
  BindingProperty value;
  value.Member("zeta").Append().SetString("z");
  value.Member("alpha").SetSigned(1);
  value.Member("mid").Member("inner").SetBool(false);
  FlatValue flat = EmptyFlatValue();
  EXPECT_TRUE(ValueToFlat(flat, value, nullptr));
  const RecordedFlat recorded = RecordFlat(flat);
  EXPECT_EQ(recorded.kind, 10u);
  EXPECT_EQ(recorded.names, (std::vector<std::string>{"alpha", "mid", "zeta"}));
  EXPECT_EQ(recorded.ownsNames, (std::vector<uint8_t>{1, 1, 1}));
  ASSERT_EQ(recorded.children.size(), 3u);
  EXPECT_EQ(recorded.children[2].kind, 9u);

  FlatStatus status = CleanStatus();
  BindingProperty back;
  ASSERT_TRUE(FlatToValue(status, back, flat, "<result>"));
  EXPECT_EQ(CanonicalText(back), CanonicalText(value));
  ReleaseFlatValue(flat);
}

TEST(ValueToFlatTest, ReleasesWhatTheTargetHeldEvenForAnEmptySource) {
  BindingProperty text;
  text.SetString("owned");
  FlatValue flat = EmptyFlatValue();
  const uint64_t before = LiveAllocations();
  EXPECT_TRUE(ValueToFlat(flat, text, nullptr));
  EXPECT_GT(LiveAllocations(), before);
  EXPECT_TRUE(ValueToFlat(flat, BindingProperty(), nullptr));
  EXPECT_TRUE(AllZero(flat));
  EXPECT_EQ(LiveAllocations(), before);
}

TEST(ReleaseFlatValueTest, FreesEveryOwnedKindAndZeroesTheValue) {
  static const char kBorrowed[] = "borrowed";
  BindingProperty tree;
  tree.Member("list").Append().SetString("s");
  tree.Member("list").Append().SetBlob(std::vector<uint8_t>{1});
  tree.Member("blob").SetBlob(std::vector<uint8_t>{1, 2, 3});
  BindingProperty text;
  text.SetString("t");
  BindingProperty blob;
  blob.SetBlob(std::vector<uint8_t>{4});
  BindingProperty list;
  list.Append().SetSigned(1);
  struct Row {
    const char* name;
    const BindingProperty* source;  // null: a borrowed value made by hand
    FlatKind borrowedKind;
  };
  const Row rows[] = {
      {"owned string", &text, FlatKind::Empty},
      {"owned blob", &blob, FlatKind::Empty},
      {"collection", &list, FlatKind::Empty},
      {"structure with nested owned kinds", &tree, FlatKind::Empty},
      {"borrowed string", nullptr, FlatKind::BorrowedString},
      {"borrowed blob", nullptr, FlatKind::BorrowedBlob},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const uint64_t before = LiveAllocations();
    FlatValue flat = EmptyFlatValue();
    if (row.source != nullptr) {
      EXPECT_TRUE(ValueToFlat(flat, *row.source, nullptr));
    } else {
      flat = FlatSpanOf(row.borrowedKind, kBorrowed, 8);
    }
    ReleaseFlatValue(flat);
    EXPECT_TRUE(AllZero(flat));
    EXPECT_EQ(LiveAllocations(), before);
  }
}

TEST(ReleaseFlatValueTest, FieldNamesAreFreedOnlyWhenOwned) {
  const uint64_t before = LiveAllocations();
  auto* fields = static_cast<FlatField*>(FrameworkAllocator::Allocate(2 * sizeof(FlatField)));
  ASSERT_NE(fields, nullptr);
  fields[0] = FlatField{FrameworkAllocator::DuplicateText("owned"), FlatSigned(1), 1};
  fields[1] = FlatField{"static", FlatSigned(2), 0};  // freeing it would be fatal under the sanitizer
  FlatValue flat = FlatSpanOf(FlatKind::Structure, fields, 2);
  ReleaseFlatValue(flat);
  EXPECT_TRUE(AllZero(flat));
  EXPECT_EQ(LiveAllocations(), before);
}

}  // namespace
}  // namespace zun
