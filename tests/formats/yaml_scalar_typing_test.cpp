// Tests of YAML scalar typing: the word lists, plain numbers by the strtod
// grammar, quoting, and the core tags through the conversion rules.
#include "formats/yaml_scalar_typing.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/canonical_text.h"

namespace zun {
namespace {

struct TypingCase {
  std::string text;
  const char* tag;
  bool quoted;
  const char* canonical;
};

// Types `row` into a fresh value that first holds a marker, so "stores
// nothing" and "stores null" can be told apart.
std::string Typed(const TypingCase& row, BindingResult& status) {
  BindingProperty target;
  target.SetString("marker");
  YamlScalarToValue(status, target, row.text, row.tag, row.quoted);
  return CanonicalText(target);
}

void ExpectTyped(const TypingCase& row) {
  SCOPED_TRACE(row.text + (row.tag != nullptr ? std::string(" tagged ") + row.tag : std::string()));
  BindingResult status;
  const std::string canonical = Typed(row, status);
  ASSERT_TRUE(status.Ok()) << status.ErrorMessage();
  EXPECT_EQ(canonical, row.canonical);
}

TEST(YamlScalarTypingTest, PlainWordsFollowTheLists) {
  const char* trueWords[] = {"true", "True", "TRUE", "y", "Y", "yes", "Yes", "YES", "on", "On", "ON"};
  const char* falseWords[] = {"false", "False", "FALSE", "n", "N", "no", "No", "NO", "off", "Off", "OFF"};
  const char* nullWords[] = {"", "~", "null", "Null", "NULL"};
  for (const char* word : trueWords) ExpectTyped({word, nullptr, false, "true"});
  for (const char* word : falseWords) ExpectTyped({word, nullptr, false, "false"});
  for (const char* word : nullWords) ExpectTyped({word, nullptr, false, "null"});
  const char* strings[] = {"tRUE", "yES", "nULL", "NuLL", "oN", "Nope", "none", "truex", " true"};
  for (const char* word : strings) {
    const std::string quoted = std::string("\"") + word + "\"";
    ExpectTyped({word, nullptr, false, quoted.c_str()});
  }
}

TEST(YamlScalarTypingTest, PlainNumbersFollowTheStrtodGrammar) {
  const TypingCase rows[] = {
      {"0", nullptr, false, "u:0"},
      {"-0", nullptr, false, "u:0"},
      {"+5", nullptr, false, "u:5"},
      {"007", nullptr, false, "u:7"},
      {"-12", nullptr, false, "i:-12"},
      {"1e3", nullptr, false, "u:1000"},
      {"1.5e3", nullptr, false, "u:1500"},
      {"5.", nullptr, false, "u:5"},
      {".5", nullptr, false, "f:0.5"},
      {"-1.25", nullptr, false, "f:-1.25"},
      {"1e19", nullptr, false, "u:10000000000000000000"},
      {"1e20", nullptr, false, "f:1e+20"},
      {"-1e19", nullptr, false, "f:-1e+19"},
      {"-9.2233720368547758e18", nullptr, false, "i:-9223372036854775808"},
      {"1e-310", nullptr, false, "f:9.9999999999999694e-311"},
      {"1e-400", nullptr, false, "u:0"},
      {"0x1A", nullptr, false, "u:26"},
      {"-0x10", nullptr, false, "i:-16"},
      {"0x1.8p1", nullptr, false, "u:3"},
      {"nan", nullptr, false, "f:nan"},
      {"NaN", nullptr, false, "f:nan"},
      {" 5", nullptr, false, "u:5"},
      {"9007199254740993", nullptr, false, "u:9007199254740993"},
      {"1e400", nullptr, false, "\"1e400\""},
      {"inf", nullptr, false, "\"inf\""},
      {"-Infinity", nullptr, false, "\"-Infinity\""},
      {".inf", nullptr, false, "\".inf\""},
      {".nan", nullptr, false, "\".nan\""},
      {"1e", nullptr, false, "\"1e\""},
      {"-", nullptr, false, "\"-\""},
      {"+", nullptr, false, "\"+\""},
      {"0x", nullptr, false, "\"0x\""},
      {"1_000", nullptr, false, "\"1_000\""},
      {"0o17", nullptr, false, "\"0o17\""},
      {"2019-01-01", nullptr, false, "\"2019-01-01\""},
      {"5 ", nullptr, false, "\"5 \""},
      {"1,5", nullptr, false, "\"1,5\""},
  };
  for (const TypingCase& row : rows) ExpectTyped(row);
}

TEST(YamlScalarTypingTest, QuotedAndStringTaggedScalarsStayText) {
  const TypingCase rows[] = {
      {"5", nullptr, true, "\"5\""},
      {"", nullptr, true, "\"\""},
      {"null", nullptr, true, "\"null\""},
      {"yes", nullptr, true, "\"yes\""},
      {"5", "tag:yaml.org,2002:str", false, "\"5\""},
      {"~", "tag:yaml.org,2002:str", false, "\"~\""},
  };
  for (const TypingCase& row : rows) ExpectTyped(row);
}

TEST(YamlScalarTypingTest, CoreTagsUseTheConversionRules) {
  const TypingCase rows[] = {
      {"-3", "tag:yaml.org,2002:int", false, "i:-3"},
      {"3", "tag:yaml.org,2002:int", true, "u:3"},
      {"017", "tag:yaml.org,2002:int", false, "u:15"},
      {"18446744073709551615", "tag:yaml.org,2002:int", false, "u:18446744073709551615"},
      {"-9223372036854775808", "tag:yaml.org,2002:int", false, "i:-9223372036854775808"},
      {"2", "tag:yaml.org,2002:float", false, "f:2"},
      {"-1.5e3", "tag:yaml.org,2002:float", false, "f:-1500"},
      {"nan", "tag:yaml.org,2002:float", false, "f:nan"},
      {"yes", "tag:yaml.org,2002:bool", false, "true"},
      {"OFF", "tag:yaml.org,2002:bool", false, "false"},
      {"1", "tag:yaml.org,2002:bool", false, "\"marker\""},
      {"maybe", "tag:yaml.org,2002:bool", false, "\"marker\""},
  };
  for (const TypingCase& row : rows) ExpectTyped(row);
}

TEST(YamlScalarTypingTest, TagFailuresGiveTheirMessage) {
  const struct {
    TypingCase row;
    const char* message;
  } rows[] = {
      {{"x", "tag:yaml.org,2002:int", false, ""}, "Value x for 'yaml' of type uint64_t is in an incorrect format"},
      {{"08", "tag:yaml.org,2002:int", false, ""}, "Value 08 for 'yaml' of type uint64_t is in an incorrect format"},
      {{"-x", "tag:yaml.org,2002:int", false, ""}, "Value -x for 'yaml' of type int64_t is in an incorrect format"},
      {{"1e400", "tag:yaml.org,2002:float", false, ""}, "Value 1e400 for 'yaml' of type double is out of range"},
      {{"~", "tag:yaml.org,2002:null", false, ""}, "Unsupported YAML tag 'tag:yaml.org,2002:null'."},
      {{"aGk=", "tag:yaml.org,2002:binary", false, ""}, "Unsupported YAML tag 'tag:yaml.org,2002:binary'."},
  };
  for (const auto& [row, message] : rows) {
    SCOPED_TRACE(row.text);
    BindingResult status;
    std::ignore = Typed(row, status);
    ASSERT_FALSE(status.Ok());
    EXPECT_EQ(status.ErrorMessage(), message);
  }
}

}  // namespace
}  // namespace zun
