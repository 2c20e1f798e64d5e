// The scalar rules, applied on their own: each row names a rule with its
// range, an input value and either the native value it yields or the exact
// message it fails with.
#include "binding/leaf_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_result.h"

namespace zun {
namespace {

enum class Phase : int32_t { Idle = 0, Running = 1, Cancelling = 2, Cancelled = 3, Done = 4 };
enum class Unlisted : int32_t { Nothing = 0 };

}  // namespace

template <> struct StaticTypeName<Phase> {
  static std::string Spell() { return "enum Orvo::Test::Phase"; }
};
template <> struct StaticTypeName<Unlisted> {
  static std::string Spell() { return "enum Orvo::Test::Unlisted"; }
};

namespace {

constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr int64_t kInt64Max = std::numeric_limits<int64_t>::max();
constexpr uint64_t kUInt64Max = std::numeric_limits<uint64_t>::max();
constexpr double kFloatMax = 3.4028234663852886e38;
constexpr double kDoubleMax = 1.7976931348623157e308;
constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

// A rule with its parameters: converts the input and renders the native
// value as text, or leaves the message in the status.
using Rule = std::function<std::string(BindingResult&, const BindingProperty&)>;

std::string Real(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char pair[3];
  for (const uint8_t byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

Rule Signed(int64_t min, int64_t max, const char* typeName, const char* path = "n") {
  return [=](BindingResult& status, const BindingProperty& input) {
    return std::to_string(ToSigned(status, input, path, min, max, typeName));
  };
}

Rule Unsigned(uint64_t max, const char* typeName, const char* path = "n") {
  return [=](BindingResult& status, const BindingProperty& input) {
    return std::to_string(ToUnsigned(status, input, path, max, typeName));
  };
}

Rule RealIn(double min, double max, const char* typeName, const char* path = "f") {
  return [=](BindingResult& status, const BindingProperty& input) {
    return Real(ToReal(status, input, path, min, max, typeName));
  };
}

Rule Bool() {
  return [](BindingResult& status, const BindingProperty& input) {
    return std::string(ToBool(status, input, "b") ? "true" : "false");
  };
}

Rule Blob() {
  return [](BindingResult& status, const BindingProperty& input) {
    return Hex(ToBlob(status, input, "data"));
  };
}

const Rule kInt8 = Signed(-128, 127, "int8", "x");
const Rule kInt32 = Signed(INT32_MIN, INT32_MAX, "int32");
const Rule kInt64 = Signed(kInt64Min, kInt64Max, "int64");
const Rule kUInt32 = Unsigned(UINT32_MAX, "uint32");
const Rule kUInt64 = Unsigned(kUInt64Max, "uint64");
const Rule kFloat = RealIn(-kFloatMax, kFloatMax, "float");
const Rule kDouble = RealIn(-kDoubleMax, kDoubleMax, "double");

BindingProperty Text(const char* text) {
  BindingProperty value;
  value.SetString(text);
  return value;
}
BindingProperty SignedValue(int64_t number) {
  BindingProperty value;
  value.SetSigned(number);
  return value;
}
BindingProperty UnsignedValue(uint64_t number) {
  BindingProperty value;
  value.SetUnsigned(number);
  return value;
}
BindingProperty FloatValue(double number) {
  BindingProperty value;
  value.SetFloat(number);
  return value;
}
BindingProperty BoolValue(bool flag) {
  BindingProperty value;
  value.SetBool(flag);
  return value;
}
BindingProperty EnumValue(int32_t number, const StaticTypeId* type = &StaticType::Get<Phase>()) {
  BindingProperty value;
  value.SetEnum(number, type);
  return value;
}
BindingProperty BlobValue(std::vector<uint8_t> bytes) {
  BindingProperty value;
  value.SetBlob(std::move(bytes));
  return value;
}
BindingProperty CollectionValue() {
  BindingProperty value;
  value.MakeCollection();
  return value;
}

struct Row {
  const char* label;
  const Rule& rule;
  BindingProperty input;
  std::string expected;  // the rendered native value, or the exact message
  bool fails = false;
};

Row Yields(const char* label, const Rule& rule, BindingProperty input, std::string expected) {
  return {label, rule, std::move(input), std::move(expected), false};
}
Row FailsWith(const char* label, const Rule& rule, BindingProperty input, std::string message) {
  return {label, rule, std::move(input), std::move(message), true};
}

void Check(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    BindingResult status;
    const std::string value = row.rule(status, row.input);
    if (row.fails) {
      EXPECT_FALSE(status.Ok());
      EXPECT_EQ(status.ErrorMessage(), row.expected);
    } else {
      EXPECT_TRUE(status.Ok()) << status.ErrorMessage();
      EXPECT_EQ(value, row.expected);
    }
  }
}

TEST(LeafConversionsTest, SignedIntegers) {
  const std::string int32Range = " for 'n' of type int32 is out of range";
  const std::string int32Format = " for 'n' of type int32 is in an incorrect format";
  Check({
      Yields("decimal text", kInt32, Text("42"), "42"),
      Yields("hex text", kInt32, Text("0x1A"), "26"),
      Yields("upper-case hex prefix", kInt32, Text("0XfF"), "255"),
      Yields("octal text", kInt32, Text("017"), "15"),
      FailsWith("8 is no octal digit", kInt32, Text("08"), "Value 08" + int32Format),
      FailsWith("trailing blank", kInt32, Text("12 "), "Value 12 " + int32Format),
      Yields("leading blank", kInt32, Text(" 12"), "12"),
      Yields("signed text", kInt32, Text("-2147483648"), "-2147483648"),
      Yields("empty text leaves nothing over", kInt32, Text(""), "0"),
      FailsWith("blank only", kInt32, Text(" "), "Value  " + int32Format),
      FailsWith("sign only", kInt32, Text("-"), "Value -" + int32Format),
      FailsWith("word", kInt32, Text("abc"), "Value abc" + int32Format),
      FailsWith("text above int32", kInt32, Text("2147483648"), "Value 2147483648" + int32Range),
      FailsWith("text beyond 64 bits (ERANGE)", kInt32, Text("99999999999999999999"),
                "Value 99999999999999999999" + int32Range),
      FailsWith("int8 above its range", kInt8, SignedValue(128),
                "Value 128 for 'x' of type int8 is out of range"),
      Yields("int8 lowest", kInt8, SignedValue(-128), "-128"),
      FailsWith("int8 below its range", kInt8, SignedValue(-129),
                "Value -129 for 'x' of type int8 is out of range"),
      Yields("unsigned within", kInt32, UnsignedValue(5), "5"),
      FailsWith("unsigned compared without sign", kInt32, UnsignedValue(kUInt64Max),
                "Value 18446744073709551615" + int32Range),
      Yields("float cut toward zero", kInt32, FloatValue(3.9), "3"),
      Yields("negative float cut toward zero", kInt32, FloatValue(-3.9), "-3"),
      FailsWith("float above int32", kInt32, FloatValue(2147483648.0),
                "Value 2.14748e+09" + int32Range),
      FailsWith("NaN", kInt32, FloatValue(std::nan("")), "Value nan" + int32Range),
      Yields("enum value", kInt32, EnumValue(3), "3"),
      FailsWith("enum value outside int8", kInt8, EnumValue(200),
                "Value 200 for 'x' of type int8 is out of range"),
      FailsWith("bool", kInt32, BoolValue(true),
                "Couldn't assign value to 'n' of type int32 because the input is of an invalid "
                "type bool."),
      FailsWith("collection", kInt32, CollectionValue(),
                "Couldn't assign value to 'n' of type int32 because the input is of an invalid "
                "type collection."),
      FailsWith("empty", kInt32, BindingProperty(), "A value for 'n' is required."),
  });
}

TEST(LeafConversionsTest, SixtyFourBitBoundsNeverConvertAFloatThatDoesNotFit) {
  const std::string int64Range = " for 'n' of type int64 is out of range";
  const std::string uint64Range = " for 'n' of type uint64 is out of range";
  Check({
      Yields("lowest int64 text", kInt64, Text("-9223372036854775808"), "-9223372036854775808"),
      FailsWith("int64 text one above", kInt64, Text("9223372036854775808"),
                "Value 9223372036854775808" + int64Range),
      Yields("lowest int64 float", kInt64, FloatValue(-kTwoTo63), "-9223372036854775808"),
      FailsWith("2^63 passes the bound but does not fit", kInt64, FloatValue(kTwoTo63),
                "Value 9.22337e+18" + int64Range),
      FailsWith("unsigned 2^63", kInt64, UnsignedValue(uint64_t{1} << 63),
                "Value 9223372036854775808" + int64Range),
      Yields("largest uint64 text", kUInt64, Text("18446744073709551615"), "18446744073709551615"),
      FailsWith("uint64 text one above (ERANGE)", kUInt64, Text("18446744073709551616"),
                "Value 18446744073709551616" + uint64Range),
      FailsWith("2^64 passes the bound but does not fit", kUInt64, FloatValue(kTwoTo64),
                "Value 1.84467e+19" + uint64Range),
      Yields("largest double below 2^64", kUInt64, FloatValue(18446744073709549568.0),
             "18446744073709549568"),
      FailsWith("NaN", kUInt64, FloatValue(std::nan("")), "Value nan" + uint64Range),
      FailsWith("infinity", kInt64, FloatValue(INFINITY), "Value inf" + int64Range),
  });
}

TEST(LeafConversionsTest, UnsignedIntegers) {
  const std::string uint32Range = " for 'n' of type uint32 is out of range";
  Check({
      Yields("largest uint32", kUInt32, Text("4294967295"), "4294967295"),
      Yields("hex", kUInt32, Text("0xffffffff"), "4294967295"),
      FailsWith("one above", kUInt32, Text("4294967296"), "Value 4294967296" + uint32Range),
      FailsWith("minus sign first", kUInt32, Text("-1"), "Value -1" + uint32Range),
      FailsWith("minus zero", kUInt32, Text("-0"), "Value -0" + uint32Range),
      FailsWith("minus after a blank", kUInt64, Text(" -1"),
                "Value  -1 for 'n' of type uint64 is out of range"),
      FailsWith("trailing letters", kUInt32, Text("7z"),
                "Value 7z for 'n' of type uint32 is in an incorrect format"),
      Yields("empty text", kUInt32, Text(""), "0"),
      FailsWith("signed -1", kUInt32, SignedValue(-1), "Value -1" + uint32Range),
      Yields("signed within", kUInt32, SignedValue(4294967295), "4294967295"),
      FailsWith("2^32 + 1", kUInt32, SignedValue(4294967297), "Value 4294967297" + uint32Range),
      Yields("float cut toward zero", kUInt32, FloatValue(1.5), "1"),
      FailsWith("negative float", kUInt32, FloatValue(-0.5), "Value -0.5" + uint32Range),
      FailsWith("float past the largest uint32", kUInt32, FloatValue(4294967295.5),
                "Value 4.29497e+09" + uint32Range),
      FailsWith("negative enum value", kUInt32, EnumValue(-1), "Value -1" + uint32Range),
      Yields("enum value", kUInt32, EnumValue(4), "4"),
      FailsWith("string kind is the only text", kUInt32, BlobValue({1}),
                "Couldn't assign value to 'n' of type uint32 because the input is of an invalid "
                "type blob."),
      FailsWith("empty", kUInt64, BindingProperty(), "A value for 'n' is required."),
  });
}

TEST(LeafConversionsTest, CallerRangesApplyToEveryKind) {
  const Rule smallRange = Signed(5, 10, "small");
  const Rule smallReal = RealIn(0.0, 1.0, "unit");
  Check({
      FailsWith("unsigned below the minimum", smallRange, UnsignedValue(3),
                "Value 3 for 'n' of type small is out of range"),
      Yields("unsigned within", smallRange, UnsignedValue(7), "7"),
      FailsWith("signed outside a real range", smallReal, SignedValue(2),
                "Value 2 for 'f' of type unit is out of range"),
      FailsWith("enum outside a real range", smallReal, EnumValue(-1),
                "Value -1 for 'f' of type unit is out of range"),
  });
}

TEST(LeafConversionsTest, Reals) {
  const std::string floatRange = " for 'f' of type float is out of range";
  Check({
      Yields("decimal text", kFloat, Text("1.5"), "1.5"),
      Yields("exponent text", kDouble, Text("-2.5e3"), "-2500"),
      Yields("empty text", kFloat, Text(""), "0"),
      Yields("nan text", kFloat, Text("nan"), "nan"),
      FailsWith("underflow (ERANGE)", kFloat, Text("1e-400"), "Value 1e-400" + floatRange),
      FailsWith("infinity text", kDouble, Text("inf"),
                "Value inf for 'f' of type double is out of range"),
      FailsWith("trailing text", kFloat, Text("1.5x"),
                "Value 1.5x for 'f' of type float is in an incorrect format"),
      FailsWith("float above single precision", kFloat, FloatValue(1e39),
                "Value 1e+39" + floatRange),
      FailsWith("float below single precision", kFloat, FloatValue(-1e39),
                "Value -1e+39" + floatRange),
      Yields("largest single precision", kFloat, FloatValue(kFloatMax), Real(kFloatMax)),
      Yields("NaN passes", kFloat, FloatValue(std::nan("")), "nan"),
      Yields("double keeps a large value", kDouble, FloatValue(1e300), "1.0000000000000001e+300"),
      Yields("signed", kFloat, SignedValue(-7), "-7"),
      Yields("largest unsigned", kDouble, UnsignedValue(kUInt64Max), "1.8446744073709552e+19"),
      Yields("enum", kDouble, EnumValue(2), "2"),
      FailsWith("bool", kDouble, BoolValue(false),
                "Couldn't assign value to 'f' of type double because the input is of an invalid "
                "type bool."),
      FailsWith("empty", kFloat, BindingProperty(), "A value for 'f' is required."),
  });
}

TEST(LeafConversionsTest, Booleans) {
  const Rule rule = Bool();
  const std::string format =
      " for 'b' of type bool is in an incorrect format. Options are \"true\", \"false\", \"1\", "
      "\"0\".";
  Check({
      Yields("bool true", rule, BoolValue(true), "true"),
      Yields("bool false", rule, BoolValue(false), "false"),
      Yields("text true", rule, Text("true"), "true"),
      Yields("text 1", rule, Text("1"), "true"),
      Yields("text false", rule, Text("false"), "false"),
      Yields("text 0", rule, Text("0"), "false"),
      FailsWith("upper case", rule, Text("TRUE"), "Value TRUE" + format),
      FailsWith("leading blank", rule, Text(" true"), "Value  true" + format),
      FailsWith("yes", rule, Text("yes"), "Value yes" + format),
      FailsWith("empty text", rule, Text(""), "Value " + format),
      FailsWith("signed 1", rule, SignedValue(1),
                "Couldn't assign value to 'b' of type bool because the input is of an invalid "
                "type signed."),
      FailsWith("empty", rule, BindingProperty(), "A value for 'b' is required."),
  });
}

TEST(LeafConversionsTest, Blobs) {
  const Rule rule = Blob();
  const std::string characters =
      "Couldn't assign string value to 'data' of type blob because the input has invalid base64 "
      "characters.";
  Check({
      Yields("padded", rule, Text("aGk="), "6869"),
      Yields("unpadded", rule, Text("aGk"), "6869"),
      Yields("full groups", rule, Text("aGVsbG8h"), "68656c6c6f21"),
      Yields("two of a group", rule, Text("aA=="), "68"),
      Yields("single trailing character gives nothing", rule, Text("aGVsb"), "68656c"),
      Yields("decoding stops at the first =", rule, Text("aGk=aGk="), "6869"),
      Yields("plus and slash", rule, Text("+/+/"), "fbffbf"),
      Yields("empty text", rule, Text(""), ""),
      FailsWith("minus sign", rule, Text("aG-k"), characters),
      FailsWith("blank", rule, Text("aGk "), characters),
      Yields("blob copied", rule, BlobValue({0, 255}), "00ff"),
      FailsWith("signed", rule, SignedValue(1),
                "Couldn't assign value to 'data' of type blob because the input is not a blob."),
      FailsWith("empty", rule, BindingProperty(), "A value for 'data' is required."),
  });
}

class EnumeratedLeafTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)context.RegisterType<Phase>("Phase")
        .Value("Idle", Phase::Idle)
        .Value("Running", Phase::Running)
        .Value("Cancelling", Phase::Cancelling)
        .Value("Cancelled", Phase::Cancelled)
        .Value("Done", Phase::Done);
    phase = context.FindType("Phase");
    ASSERT_NE(phase, nullptr);
  }

  BindingContext context;
  const BindingTypeInfo* phase = nullptr;
};

TEST_F(EnumeratedLeafTest, EnumeratorsByNameOrNumber) {
  const Rule rule = [this](BindingResult& status, const BindingProperty& input) {
    return std::to_string(ToEnum(status, input, "state", phase));
  };
  const std::string invalid = " is not a valid Phase enumeration value for 'state'.";
  Check({
      Yields("name", rule, Text("Running"), "1"),
      Yields("decimal text", rule, Text("1"), "1"),
      Yields("hex text", rule, Text("0x3"), "3"),
      FailsWith("name with a letter missing", rule, Text("Runnin"), "Runnin" + invalid),
      FailsWith("number without enumerator", rule, Text("9"), "9" + invalid),
      FailsWith("text out of int32 range replaces its message", rule, Text("99999999999"),
                "99999999999" + invalid),
      FailsWith("name is case sensitive", rule, Text("running"), "running" + invalid),
      Yields("signed", rule, SignedValue(2), "2"),
      FailsWith("2^32 + 1 is not cut to 1", rule, SignedValue(4294967297),
                "4294967297" + invalid),
      Yields("unsigned", rule, UnsignedValue(4), "4"),
      FailsWith("huge unsigned", rule, UnsignedValue(kUInt64Max),
                "18446744073709551615" + invalid),
      Yields("enum of another enumeration", rule,
             EnumValue(3, &StaticType::Get<Unlisted>()), "3"),
      FailsWith("enum without enumerator", rule, EnumValue(42), "42" + invalid),
      FailsWith("bool", rule, BoolValue(true),
                "Couldn't assign value to 'state' of enum type because the input is of an "
                "invalid type bool."),
      FailsWith("empty", rule, BindingProperty(), "A value for 'state' is required."),
  });
}

TEST_F(EnumeratedLeafTest, AnUnregisteredEnumerationAcceptsNothing) {
  BindingResult status;
  EXPECT_EQ(ToEnum(status, Text("Running"), "state", nullptr), 0);
  EXPECT_EQ(status.ErrorMessage(),
            "Couldn't assign value to 'state' because the input is an unregistered structure or "
            "not a structure at all.");
}

TEST_F(EnumeratedLeafTest, TextsAndEnumeratorNames) {
  const Rule rule = [this](BindingResult& status, const BindingProperty& input) {
    return ToText(status, input, "t", context);
  };
  Check({
      Yields("string", rule, Text("plain"), "plain"),
      Yields("empty string", rule, Text(""), ""),
      Yields("enum by its enumerator's name", rule, EnumValue(3), "Cancelled"),
      FailsWith("enum value without enumerator", rule, EnumValue(9),
                "9 is not a valid enumeration value for 't'."),
      FailsWith("enum of an unregistered enumeration", rule,
                EnumValue(0, &StaticType::Get<Unlisted>()),
                "0 is not a valid enumeration value for 't'."),
      FailsWith("enum without identity", rule, EnumValue(1, nullptr),
                "1 is not a valid enumeration value for 't'."),
      FailsWith("numbers are not texts", rule, SignedValue(5),
                "Couldn't assign value to 't' because the input is not a string."),
      FailsWith("empty", rule, BindingProperty(), "A value for 't' is required."),
  });
}

TEST_F(EnumeratedLeafTest, AFailedStatusMakesEveryRuleANoOp) {
  BindingResult status;
  status.SetError("first");
  const BindingProperty number = Text("12");
  EXPECT_FALSE(ToBool(status, Text("true"), "b"));
  EXPECT_EQ(ToSigned(status, number, "n", INT32_MIN, INT32_MAX, "int32"), 0);
  EXPECT_EQ(ToUnsigned(status, number, "n", UINT32_MAX, "uint32"), 0u);
  EXPECT_EQ(ToReal(status, number, "f", -kFloatMax, kFloatMax, "float"), 0.0);
  EXPECT_EQ(ToText(status, number, "t", context), "");
  EXPECT_TRUE(ToBlob(status, Text("aGk="), "data").empty());
  EXPECT_EQ(ToEnum(status, Text("Running"), "state", phase), 0);
  EXPECT_EQ(status.ErrorMessage(), "first");
}

}  // namespace
}  // namespace zun
