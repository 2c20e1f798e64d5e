// Value-to-native conversion of a record with a member of every native type:
// one table of (member, input value, native value or exact message), then
// the record-level behaviours around it.
#include "binding/convert_to_native.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_member_rules.h"
#include "binding/binding_result.h"
#include "tests/binding/convert_sample.h"

namespace zun {
namespace {

using namespace conversion_test;

const StaticTypeId* const kPhase = &StaticType::Get<Phase>();

class ConvertToNativeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterSample(context);
    sampleType = context.FindType("Sample");
    ASSERT_NE(sampleType, nullptr);
  }

  // Converts {member: input} into `sample`.
  BindingResult Convert(Sample& sample, std::string_view member, const BindingProperty& input) {
    BindingProperty record;
    record.Member(member) = input;
    BindingResult status;
    ConvertToNative(status, sample, record, "<result>", context);
    return status;
  }

  BindingContext context;
  const BindingTypeInfo* sampleType = nullptr;
};

struct Row {
  const char* member;
  BindingProperty input;
  std::string expected;  // the member as ShowMember renders it, or the message
  bool fails;
};

Row Stores(const char* member, BindingProperty input, std::string native) {
  return {member, std::move(input), std::move(native), false};
}
Row Fails(const char* member, BindingProperty input, std::string message) {
  return {member, std::move(input), std::move(message), true};
}

std::string Range(const char* value, const char* member, const char* type) {
  return std::string("Value ") + value + " for '" + member + "' of type " + type +
         " is out of range";
}
std::string Format(const char* value, const char* member, const char* type) {
  return std::string("Value ") + value + " for '" + member + "' of type " + type +
         " is in an incorrect format";
}

TEST_F(ConvertToNativeTest, EveryMemberTypeByTable) {
  const std::vector<Row> rows = {
      Stores("i32", Text("42"), "42"),
      Stores("i32", Text("0x1A"), "26"),
      Stores("i32", Text("017"), "15"),
      Fails("i32", Text("08"), Format("08", "i32", "int32")),
      Fails("i32", Text("12 "), Format("12 ", "i32", "int32")),
      Stores("i32", Text(" 12"), "12"),
      Stores("i32", Text(""), "0"),
      Fails("i32", Signed(2147483648), Range("2147483648", "i32", "int32")),
      Stores("i32", Signed(-2147483648), "-2147483648"),
      Fails("i8", Signed(128), Range("128", "i8", "int8")),
      Stores("i8", Text("-128"), "-128"),
      Fails("u8", Signed(256), Range("256", "u8", "uint8")),
      Stores("u8", Unsigned(255), "255"),
      Fails("i16", Signed(32768), Range("32768", "i16", "int16")),
      Stores("i16", Float(-32767.9), "-32767"),
      Fails("i16", Float(-32768.5), Range("-32768.5", "i16", "int16")),
      Fails("u16", Text("65536"), Range("65536", "u16", "uint16")),
      Stores("u16", Text("0xFFFF"), "65535"),
      Fails("u32", Text("-1"), Range("-1", "u32", "uint32")),
      Fails("u32", Signed(-1), Range("-1", "u32", "uint32")),
      Fails("u32", Signed(4294967297), Range("4294967297", "u32", "uint32")),
      Stores("u32", Float(4294967295.0), "4294967295"),
      Fails("i64", Float(9223372036854775808.0), Range("9.22337e+18", "i64", "int64")),
      Fails("i64", Float(std::nan("")), Range("nan", "i64", "int64")),
      Stores("i64", Text("-9223372036854775808"), "-9223372036854775808"),
      Stores("u64", Unsigned(18446744073709551615u), "18446744073709551615"),
      Fails("u64", Float(18446744073709551616.0), Range("1.84467e+19", "u64", "uint64")),
      Fails("f32", Float(1e39), Range("1e+39", "f32", "float")),
      Stores("f32", Text("nan"), "nan"),
      Fails("f32", Text("1e-400"), Range("1e-400", "f32", "float")),
      Stores("f32", Text(""), "0"),
      Stores("f32", Float(0.1), "0.10000000149011612"),
      Stores("f64", Float(1e39), "9.9999999999999994e+38"),
      Fails("f64", Text("1e-400"), Range("1e-400", "f64", "double")),
      Stores("f64", Unsigned(18446744073709551615u), "1.8446744073709552e+19"),
      Fails("flag", Signed(1),
            "Couldn't assign value to 'flag' of type bool because the input is of an invalid "
            "type signed."),
      Stores("flag", Text("true"), "true"),
      Fails("flag", Text("TRUE"),
            "Value TRUE for 'flag' of type bool is in an incorrect format. Options are \"true\", "
            "\"false\", \"1\", \"0\"."),
      Stores("text", Text("hello"), "hello"),
      Stores("text", Enum(3, kPhase), "Cancelled"),
      Fails("text", Enum(7, kPhase), "7 is not a valid enumeration value for 'text'."),
      Fails("text", Signed(5), "Couldn't assign value to 'text' because the input is not a string."),
      Stores("object", Struct({{"b", Signed(1)}, {"a", List({Text("x"), {}})}}),
             "{a:[string x,empty],b:signed 1}"),
      Stores("object", Signed(5), "signed 5"),
      Stores("bytes", Text("aGk="), "[104,105]"),
      Stores("bytes", Text("aGk"), "[104,105]"),
      Stores("bytes", Blob({1, 2, 3}), "[1,2,3]"),
      Fails("bytes", Text("aG-k"),
            "Couldn't assign string value to 'bytes' of type blob because the input has invalid "
            "base64 characters."),
      Fails("bytes", Signed(1),
            "Couldn't assign value to 'bytes' of type blob because the input is not a blob."),
      Stores("state", Text("Running"), "1"),
      Stores("state", Text("1"), "1"),
      Stores("state", Signed(4), "4"),
      Stores("state", Enum(2, &StaticType::Get<Tiny>()), "2"),
      Fails("state", Text("Runnin"), "Runnin is not a valid Phase enumeration value for 'state'."),
      Fails("state", Signed(4294967297),
            "4294967297 is not a valid Phase enumeration value for 'state'."),
      Fails("state", Float(1.0),
            "Couldn't assign value to 'state' of enum type because the input is of an invalid "
            "type float."),
      Stores("tiny", Text("All"), "255"),
      Stores("tiny", Signed(-1), "255"),
      Stores("inner", Struct({{"count", Signed(3)}, {"extra", Text("ignored")}}), "(3,)"),
      Fails("inner", List({}),
            "Couldn't assign value to 'inner' of type Inner because the input not a structure."),
      Fails("inner", Struct({{"count", Text("x")}}), Format("x", "count", "int32")),
      Stores("texts", List({Text("a"), {}, Text("c")}), "[a,,c]"),
      Stores("texts", List({}), "[]"),
      Fails("texts", Struct({{"a", Text("a")}}),
            "Couldn't assign value to 'texts' of type vector because the input not a "
            "collection."),
      Fails("texts", List({Signed(1)}),
            "Couldn't assign value to 'texts' because the input is not a string."),
      Stores("objects", List({Signed(1), {}, Text("a")}), "[signed 1,empty,string a]"),
      Stores("inners", List({Struct({{"count", Signed(1)}}), {}, Struct({{"label", Text("z")}})}),
             "[(1,),(0,),(0,z)]"),
      Fails("inners", List({Signed(1)}),
            "Couldn't assign value to 'inners' of type Inner because the input not a structure."),
      Stores("flags", List({Bool(true), Text("0"), {}}), "[1,0,0]"),
      Fails("flags", List({Signed(1)}),
            "Couldn't assign value to 'flags' of type bool because the input is of an invalid "
            "type signed."),
      Fails("shorts", List({Signed(1), Signed(70000)}), Range("70000", "shorts", "int16")),
      Stores("shorts", List({Text("-0x10"), Unsigned(7)}), "[-16,7]"),
      Stores("states", List({Text("Done"), Signed(2)}), "[4,2]"),
      Fails("states", List({Text("Nope")}), "Nope is not a valid Phase enumeration value for 'states'."),
      Stores("counts", Struct({{"b", Text("0x10")}, {"a", Signed(1)}, {"c", {}}}), "{a:1,b:16}"),
      Fails("counts", List({Signed(1)}),
            "Couldn't assign value to 'counts' of type map because the input not a structure."),
      Fails("counts", Struct({{"a", Signed(1)}, {"b", Text("x")}}), Format("x", "counts", "int32")),
      Stores("innerMap", Struct({{"k", Struct({{"count", Signed(9)}})}}), "{k:(9,)}"),
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.member) + " <- " + Show(row.input));
    Sample sample;
    const BindingResult status = Convert(sample, row.member, row.input);
    if (row.fails) {
      EXPECT_FALSE(status.Ok());
      EXPECT_EQ(status.ErrorMessage(), row.expected);
    } else {
      EXPECT_TRUE(status.Ok()) << status.ErrorMessage();
      EXPECT_EQ(ShowMember(sample, row.member), row.expected);
    }
  }
}

TEST_F(ConvertToNativeTest, MissingAndEmptyMembersKeepTheirNativeValue) {
  Sample sample;
  sample.i32 = 5;
  sample.text = "kept";
  sample.texts = {"kept"};
  BindingResult status = Convert(sample, "i32", BindingProperty());
  EXPECT_TRUE(status.Ok());
  EXPECT_EQ(sample.i32, 5);
  EXPECT_EQ(sample.text, "kept");
  EXPECT_EQ(sample.texts, std::vector<std::string>{"kept"});

  status = Convert(sample, "unknown", Signed(1));
  EXPECT_TRUE(status.Ok());
  EXPECT_EQ(sample.i32, 5);
}

TEST_F(ConvertToNativeTest, FirstFailureWinsAndLaterMembersStayUntouched) {
  Sample sample;
  sample.u8 = 9;
  sample.text = "before";
  const BindingProperty input = Struct({{"flag", Bool(true)},
                                        {"i8", Signed(500)},
                                        {"u8", Signed(1)},
                                        {"text", Signed(1)}});
  BindingResult status;
  ConvertToNative(status, sample, input, "<result>", context);
  EXPECT_EQ(status.ErrorMessage(), Range("500", "i8", "int8"));
  EXPECT_TRUE(sample.flag);  // registered before the failure
  EXPECT_EQ(sample.u8, 9);
  EXPECT_EQ(sample.text, "before");

  ConvertToNative(status, sample, Struct({{"u8", Signed(2)}}), "<result>", context);
  EXPECT_EQ(status.ErrorMessage(), Range("500", "i8", "int8"));
  EXPECT_EQ(sample.u8, 9);
}

TEST_F(ConvertToNativeTest, RecordInputsThatAreNoStructure) {
  Sample sample;
  BindingResult status;
  ConvertToNative(status, sample, BindingProperty(), "<result>", context);
  EXPECT_EQ(status.ErrorMessage(), "A value for '<result>' is required.");

  status.ResetToOk();
  ConvertToNative(status, sample, List({}), "<result>", context);
  EXPECT_EQ(status.ErrorMessage(),
            "Couldn't assign value to '<result>' of type Sample because the input not a "
            "structure.");

  Unlisted unlisted;
  status.ResetToOk();
  ConvertToNative(status, unlisted, Struct({{"n", Signed(1)}}), "<result>", context);
  EXPECT_EQ(status.ErrorMessage(),
            "Couldn't assign value to '<result>' because the input is an unregistered structure "
            "or not a structure at all.");
}

TEST_F(ConvertToNativeTest, NestedUnregisteredRecordStopsTheWalk) {
  Holder holder;
  BindingResult status;
  ConvertToNative(status, holder,
                  Struct({{"before", Signed(1)}, {"unlisted", Struct({})}, {"after", Signed(2)}}),
                  "<result>", context);
  EXPECT_EQ(status.ErrorMessage(),
            "Couldn't assign value to 'unlisted' because the input is an unregistered structure "
            "or not a structure at all.");
  EXPECT_EQ(holder.before, 1);
  EXPECT_EQ(holder.after, 0);
}

TEST_F(ConvertToNativeTest, ContainersAreClearedBeforeTheyFail) {
  Sample sample;
  sample.texts = {"old"};
  sample.counts = {{"old", 1}};
  EXPECT_FALSE(Convert(sample, "texts", Signed(1)).Ok());
  EXPECT_TRUE(sample.texts.empty());
  EXPECT_FALSE(Convert(sample, "counts", Signed(1)).Ok());
  EXPECT_TRUE(sample.counts.empty());
}

TEST_F(ConvertToNativeTest, ObjectMemberIsReplacedByACopyOfItsOwn) {
  Sample sample;
  sample.object = Struct({{"old", Text("gone")}});
  const BindingProperty input = Struct({{"object", List({Text("new")})}});
  BindingResult status;
  ConvertToNative(status, sample, input, "<result>", context);
  ASSERT_TRUE(status.Ok());
  EXPECT_EQ(Show(sample.object), "[string new]");
  EXPECT_TRUE(sample.object.OwnsHeap());
  EXPECT_NE(sample.object.Heap(), input.Heap());
}

TEST_F(ConvertToNativeTest, VectorRulesOnAnEmptyValue) {
  std::vector<bool> flags{true};
  BindingResult status;
  BindingMemberRules<std::vector<bool>>::ToNative(status, flags, BindingProperty(), "flags",
                                                  nullptr, context);
  EXPECT_EQ(status.ErrorMessage(), "A value for 'flags' is required.");
  EXPECT_TRUE(flags.empty());

  std::vector<int32_t> numbers{1};
  status.ResetToOk();
  BindingMemberRules<std::vector<int32_t>>::ToNative(status, numbers, BindingProperty(),
                                                     "numbers", nullptr, context);
  EXPECT_EQ(status.ErrorMessage(),
            "Couldn't assign value to 'numbers' of type vector because the input not a "
            "collection.");
}

struct Flagged {
  int32_t must = 0;
  int32_t may = 0;
};

}  // namespace

template <> struct StaticTypeName<Flagged> {
  static std::string Spell() { return "struct Orvo::Test::Flagged"; }
};

namespace {

// Answers every conversion with a mark of its own, to show who converted.
class MarkingConverter final : public BindingFieldConverter {
 public:
  void ToNative(BindingResult& /*status*/, void* member, const BindingProperty& /*input*/,
                std::string_view /*path*/, const BindingTypeInfo* /*typeInfo*/,
                const BindingContext& /*context*/) const override {
    *static_cast<int32_t*>(member) = 99;
  }
  void ToValue(BindingResult& result, const void* /*member*/, const BindingTypeInfo* /*typeInfo*/,
               const BindingContext& /*context*/) const override {
    result.Value().SetString("marked");
  }
};

TEST_F(ConvertToNativeTest, RequiredMembersMustBePresentAndNotEmpty) {
  (void)context.RegisterType<Flagged>("Flagged")
      .Field("must", &Flagged::must, "", BindingFieldFlags::Required)
      .Field("may", &Flagged::may);
  const std::string missing =
      "Couldn't assign value to '<result>' of type Flagged because the input structure doesn't "
      "have required field 'must'.";
  for (const BindingProperty& input :
       {Struct({{"may", Signed(1)}}), Struct({{"must", {}}, {"may", Signed(1)}})}) {
    SCOPED_TRACE(Show(input));
    Flagged flagged;
    BindingResult status;
    ConvertToNative(status, flagged, input, "<result>", context);
    EXPECT_EQ(status.ErrorMessage(), missing);
    EXPECT_EQ(flagged.may, 0);
  }
  Flagged flagged;
  BindingResult status;
  ConvertToNative(status, flagged, Struct({{"must", Signed(3)}}), "<result>", context);
  EXPECT_TRUE(status.Ok());
  EXPECT_EQ(flagged.must, 3);
}

TEST_F(ConvertToNativeTest, OptionalMembersGoThroughTheirConverter) {
  BindingTypeBuilder builder =
      context.RegisterType<Flagged>("Flagged").Field("must", &Flagged::must).Field("may", &Flagged::may);
  BindingField& may = builder.type().fields.back();
  may.optional = true;
  may.converter = std::make_unique<MarkingConverter>();
  Flagged flagged;
  BindingResult status;
  ConvertToNative(status, flagged, Struct({{"must", Signed(1)}, {"may", Signed(2)}}), "<result>",
                  context);
  EXPECT_TRUE(status.Ok());
  EXPECT_EQ(flagged.must, 1);
  EXPECT_EQ(flagged.may, 99);
}

}  // namespace
}  // namespace zun

namespace zun {

struct Positioned {
  int32_t positionY = 0;
  int32_t pos = 0;
  int32_t positionX = 0;
  int32_t position = 0;
  int32_t zeta = 0;
};

template <> struct StaticTypeName<Positioned> {
  static std::string Spell() { return "struct Orvo::Test::Positioned"; }
};

namespace {

// Fields registered out of name order, with names sharing their first eight
// bytes, among members the record does not have: a few (fields and members
// are paired in one pass) or many (each field is looked up).
TEST_F(ConvertToNativeTest, FieldsFindTheirMembersAmongOtherNames) {
  (void)context.RegisterType<Positioned>("Positioned")
      .Field("position_y", &Positioned::positionY)
      .Field("pos", &Positioned::pos)
      .Field("position_x", &Positioned::positionX)
      .Field("position", &Positioned::position)
      .Field("zeta", &Positioned::zeta);
  for (const int extraMembers : {0, 3, 200}) {
    SCOPED_TRACE(extraMembers);
    BindingProperty input;
    for (int i = 0; i < extraMembers; ++i) input.Member("position_" + std::to_string(i)).SetSigned(-1);
    input.Member("position_y").SetSigned(2);
    input.Member("position_x").SetSigned(3);
    input.Member("pos").SetSigned(1);
    input.Member("position_z").SetSigned(-1);
    input.Member("a").SetSigned(-1);
    Positioned positioned;
    positioned.position = 77;
    BindingResult status;
    ConvertToNative(status, positioned, input, "<result>", context);
    ASSERT_TRUE(status.Ok()) << status.ErrorMessage();
    EXPECT_EQ(positioned.pos, 1);
    EXPECT_EQ(positioned.positionY, 2);
    EXPECT_EQ(positioned.positionX, 3);
    EXPECT_EQ(positioned.position, 77) << "a missing member leaves the native value";
    EXPECT_EQ(positioned.zeta, 0);
  }
}

}  // namespace
}  // namespace zun
