// Tests for the JSON reader: values, number kinds, merging of repeated keys,
// error texts and offsets, nesting bound, and the sniffer.
#include "formats/json_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/canonical_text.h"
#include "formats/json_messages.h"

namespace zun {
namespace {

struct ValueRow {
  const char* input;
  const char* expected;  // canonical text
};

void ExpectValues(const ValueRow* begin, const ValueRow* end) {
  for (const ValueRow* row = begin; row != end; ++row) {
    SCOPED_TRACE(row->input);
    const BindingResult result = DeserializeJson(row->input);
    ASSERT_TRUE(result.Ok()) << result.ErrorMessage();
    EXPECT_EQ(CanonicalText(result.Value()), row->expected);
  }
}

TEST(JsonReaderTest, ReadsValuesOfEveryKind) {
  const ValueRow rows[] = {
      {"", "null"},
      {"  \n\r\t ", "null"},
      {"null", "null"},
      {" true ", "true"},
      {"false", "false"},
      {R"([1,-1,1.5,true,null,"x"])", R"([u:1,i:-1,f:1.5,true,null,"x"])"},
      {R"({"b":{"c":[]},"a":{}})", R"({"a":{},"b":{"c":[]}})"},
      {R"({"z":1,"B":2,"a":3,"ab":4,"\u00e9":5})", R"({"B":u:2,"a":u:3,"ab":u:4,"z":u:1,"é":u:5})"},
      {R"(["a\"\\\/\b\f\n\r\t"])", R"(["a\"\\/\b\f\n\r\t"])"},
      {R"("\u0041\u00e9\u20AC\ud83d\ude00")", "\"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\""},
      {R"("a\u0000b")", R"("a")"},
      {R"({"a\u0000x":1})", R"({"a":u:1})"},
      {"\"\xFF\xFE raw\"", "\"\xFF\xFE raw\""},
      {R"("")", R"("")"},
      {"[[[]],{}]", "[[[]],{}]"},
      {"[null,null]", "[null,null]"},
  };
  ExpectValues(std::begin(rows), std::end(rows));
}

TEST(JsonReaderTest, ClassifiesNumbersByTheirText) {
  const ValueRow rows[] = {
      {"0", "u:0"},
      {"-0", "i:0"},
      {"4294967295", "u:4294967295"},
      {"4294967296", "u:4294967296"},
      {"18446744073709551615", "u:18446744073709551615"},
      {"18446744073709551616", "f:1.8446744073709552e+19"},
      {"-2147483648", "i:-2147483648"},
      {"-2147483649", "i:-2147483649"},
      {"-9223372036854775808", "i:-9223372036854775808"},
      {"-9223372036854775809", "f:-9.2233720368547758e+18"},
      {"1.0", "f:1"},
      {"1e2", "f:100"},
      {"-1.5E-1", "f:-0.14999999999999999"},
      {"1E+2", "f:100"},
      {"0.5", "f:0.5"},
      {"1e-400", "f:0"},
  };
  ExpectValues(std::begin(rows), std::end(rows));
}

TEST(JsonReaderTest, RepeatedKeysMergeIntoTheExistingMember) {
  const ValueRow rows[] = {
      {R"({"a":[1],"a":[2]})", R"({"a":[u:1,u:2]})"},
      {R"({"a":{"x":1},"a":{"y":2}})", R"({"a":{"x":u:1,"y":u:2}})"},
      {R"({"a":1,"a":null})", R"({"a":u:1})"},
      {R"({"a":1,"a":"s"})", R"({"a":"s"})"},
      {R"({"a":[1],"a":{"x":1}})", R"({"a":{"x":u:1}})"},
      {R"({"a":{"x":1},"a":[1]})", R"({"a":[u:1]})"},
      {R"({"a":null})", R"({"a":null})"},
  };
  ExpectValues(std::begin(rows), std::end(rows));
}

// Negative exponents too large for the tokenizer's integer arithmetic give 0,
// and their bytes inside strings stay as they are.
TEST(JsonReaderTest, HugeNegativeExponentsReadAsZero) {
  const ValueRow rows[] = {
      {"[1.00000000001e-2147483638]", "[f:0]"},
      {"-1.00000000001e-2147483648", "f:-0"},
      {"1e-99999999", "f:0"},
      {"1e-100000000", "f:0"},
      {"1e-0000000000000000000001", "f:0.10000000000000001"},
      {"1E-99999999999999999999999999999999", "f:0"},
      {R"(["1e-2147483648",2e-2147483648,"\"3e-2147483648"])",
       R"(["1e-2147483648",f:0,"\"3e-2147483648"])"},
      {"123.456e-9999999999999", "f:0"},
  };
  ExpectValues(std::begin(rows), std::end(rows));

  const BindingResult failed = DeserializeJson("[1e-99999999999,]");
  EXPECT_EQ(failed.ErrorMessage(), "Error: Invalid value. at offset 16.");
}

// Behind many minus signs the guard searches differently; a huge exponent is
// still found whether it comes just before, at or after that switch.
TEST(JsonReaderTest, HugeNegativeExponentsReadAsZeroBehindManyMinusSigns) {
  for (const int minusSigns : {63, 64, 65, 300}) {
    for (const char* huge : {"1.00000000001e-2147483638", "1.00000000001E-2147483638"}) {
      std::string text = "[";
      std::string expected = "[";
      for (int i = 0; i < minusSigns; ++i) {
        text += "-1,";
        expected += "i:-1,";
      }
      text += std::string(huge) + ",\"" + huge + "\"]";
      expected += std::string("f:0,\"") + huge + "\"]";
      SCOPED_TRACE(testing::Message() << minusSigns << " " << huge);
      const BindingResult result = DeserializeJson(text);
      ASSERT_TRUE(result.Ok()) << result.ErrorMessage();
      EXPECT_EQ(CanonicalText(result.Value()), expected);
    }
  }
}

struct ErrorRow {
  const char* input;
  const char* text;
  unsigned offset;
};

TEST(JsonReaderTest, ReportsTokenizerErrorsWithTextAndOffset) {
  const ErrorRow rows[] = {
      {"[1,]", kJsonTextInvalidValue, 3},
      {"{\"a\":1} x", kJsonTextRootNotSingular, 8},
      {"\xEF\xBB\xBF{}", kJsonTextInvalidValue, 0},
      {"{1:2}", kJsonTextMissName, 1},
      {"{\"a\" 1}", kJsonTextMissColon, 5},
      {"{\"a\":1 \"b\"}", kJsonTextMissCommaOrBrace, 7},
      {"[1 2]", kJsonTextMissCommaOrBracket, 3},
      {R"("\u12g4")", kJsonTextBadHexEscape, 1},
      {R"("\ud800x")", kJsonTextBadSurrogate, 1},
      {R"("\ud800\u0041")", kJsonTextBadSurrogate, 1},
      {R"("\x")", kJsonTextBadEscape, 1},
      {"\"a\tb\"", kJsonTextBadEscape, 2},
      {"\"abc", kJsonTextMissQuote, 4},
      {"1e400", kJsonTextNumberTooBig, 0},
      {"[1.]", kJsonTextMissFraction, 3},
      {"1e+", kJsonTextMissExponent, 3},
      {"[1,2", kJsonTextMissCommaOrBracket, 4},
      {"// c\n1", kJsonTextInvalidValue, 0},
      {"[NaN]", kJsonTextInvalidValue, 1},
      {"['a']", kJsonTextInvalidValue, 1},
      {"{\"a\":1,}", kJsonTextMissName, 7},
      {"tru", kJsonTextInvalidValue, 3},
      {"\f1", kJsonTextInvalidValue, 0},
  };
  for (const ErrorRow& row : rows) {
    SCOPED_TRACE(row.input);
    const BindingResult result = DeserializeJson(row.input);
    ASSERT_FALSE(result.Ok());
    EXPECT_EQ(result.ErrorMessage(),
              std::string("Error: ") + row.text + " at offset " + std::to_string(row.offset) + ".");
    EXPECT_EQ(result.Value().Size(), 1u);
  }
}

TEST(JsonReaderTest, StringObjectsEndAtTheirFirstNul) {
  const BindingResult result = DeserializeJson(std::string("[1]\0 garbage", 12));
  ASSERT_TRUE(result.Ok()) << result.ErrorMessage();
  EXPECT_EQ(CanonicalText(result.Value()), "[u:1]");
  EXPECT_TRUE(DeserializeJson(nullptr).Ok());
}

std::string Nested(size_t depth, const char* open, const char* inner, const char* close) {
  std::string text;
  for (size_t i = 0; i < depth; ++i) text += open;
  text += inner;
  for (size_t i = 0; i < depth; ++i) text += close;
  return text;
}

TEST(JsonReaderTest, AcceptsNestingUpToTheLimitAndRefusesDeeper) {
  const BindingResult deepest = DeserializeJson(Nested(512, "[", "1", "]"));
  ASSERT_TRUE(deepest.Ok()) << deepest.ErrorMessage();
  const BindingResult objects = DeserializeJson(Nested(512, "{\"k\":", "1", "}"));
  ASSERT_TRUE(objects.Ok()) << objects.ErrorMessage();

  EXPECT_EQ(DeserializeJson(Nested(513, "[", "1", "]")).ErrorMessage(),
            "Error: Nesting is deeper than the limit of 512 levels. at offset 513.");
  EXPECT_EQ(DeserializeJson(Nested(300, "[{\"k\":", "1", "}]")).ErrorMessage(),
            "Error: Nesting is deeper than the limit of 512 levels. at offset 1537.");
  // A body of a megabyte of brackets fails cleanly instead of exhausting the stack.
  EXPECT_EQ(DeserializeJson(std::string(1 << 20, '[')).ErrorMessage(),
            "Error: Nesting is deeper than the limit of 512 levels. at offset 513.");
}

TEST(JsonReaderTest, SniffsOpeningBracesAfterSpacesOnly) {
  struct Row {
    const char* text;
    bool expected;
  };
  const Row rows[] = {
      {"  {", true}, {"[", true},   {"{\"a\":1}", true}, {"\t{", false}, {"\n[", false},
      {"\"x\"", false}, {"1", false}, {"", false},        {"   ", false}, {nullptr, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text ? row.text : "(null)");
    EXPECT_EQ(LooksLikeJson(row.text), row.expected);
  }
}

}  // namespace
}  // namespace zun
