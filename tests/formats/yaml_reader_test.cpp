// Tests of the YAML reader: documents and their values, the reader's
// messages with their positions, anchors and aliases, limits, and sniffing.
#include "formats/yaml_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "formats/canonical_text.h"
#include "formats/nesting_limit.h"

namespace zun {
namespace {

struct ValueCase {
  const char* name;
  std::string_view yaml;
  const char* canonical;
};

struct ErrorCase {
  const char* name;
  std::string yaml;
  std::string_view message;
};

std::string Repeat(std::string_view piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

void ExpectValue(const ValueCase& row) {
  SCOPED_TRACE(row.name);
  const BindingResult result = DeserializeYaml(row.yaml);
  ASSERT_TRUE(result.Ok()) << result.ErrorMessage();
  EXPECT_EQ(CanonicalText(result.Value()), row.canonical);
}

void ExpectError(const ErrorCase& row) {
  SCOPED_TRACE(row.name);
  const BindingResult result = DeserializeYaml(row.yaml);
  ASSERT_FALSE(result.Ok()) << CanonicalText(result.Value());
  EXPECT_EQ(result.ErrorMessage(), row.message);
  // Nothing of the partly built value survives the failure.
  EXPECT_EQ(result.Value().Size(), 1u);
}

TEST(YamlReaderTest, DocumentsBecomeValues) {
  const ValueCase rows[] = {
      {"empty text", "", "null"},
      {"tilde", "~", "null"},
      {"null word", "null", "null"},
      {"only a comment", "# nothing\n", "null"},
      {"one explicit document", "---\na: 1\n...\n", R"({"a":u:1})"},
      {"unsigned", "a: 1", R"({"a":u:1})"},
      {"signed", "a: -1", R"({"a":i:-1})"},
      {"fraction", "a: 1.5", R"({"a":f:1.5})"},
      {"integral float", "a: 5.0", R"({"a":u:5})"},
      {"bool word", "a: yes", R"({"a":true})"},
      {"quoted bool word", "a: 'yes'", R"({"a":"yes"})"},
      {"double-quoted number", "a: \"5\"", R"({"a":"5"})"},
      {"nothing after the colon", "a:", R"({"a":null})"},
      {"block sequence", "- 1\n- x", R"([u:1,"x"])"},
      {"members in name order", "b: 1\na: 2\nB: 3", R"({"B":u:3,"a":u:2,"b":u:1})"},
      {"nested flow and block", "a:\n  - b: [1, {c: d}]\n  - []\n  - {}",
       R"({"a":[{"b":[u:1,{"c":"d"}]},[],{}]})"},
      {"literal block keeps its line break", "a: |\n  5\n", R"({"a":"5\n"})"},
      {"folded block is typed", "a: >-\n  12\n", R"({"a":u:12})"},
      {"key text is never typed", "1: a\ntrue: b\n~: c", R"({"1":"a","true":"b","~":"c"})"},
      {"key cut at its NUL", "\"a\\0b\": 1", R"({"a":u:1})"},
      {"string cut at its NUL", "a: \"x\\0y\"", R"({"a":"x"})"},
      {"tagged signed", "a: !!int -3", R"({"a":i:-3})"},
      {"tagged hexadecimal", "a: !!int 0x1A", R"({"a":u:26})"},
      {"tagged float", "a: !!float 2", R"({"a":f:2})"},
      {"tagged string", "a: !!str 5", R"({"a":"5"})"},
      {"tagged bool in no list stores nothing", "a: !!bool maybe", R"({"a":null})"},
      {"tagged bool", "a: !!bool Off", R"({"a":false})"},
      {"string-tagged key", "!!str 5: x", R"({"5":"x"})"},
      {"container tags are not checked", "a: !!set {x: 1}", R"({"a":{"x":u:1}})"},
      {"64-bit integers keep every digit", "[505874924095815681, 18446744073709551615, -9223372036854775808]",
       "[u:505874924095815681,u:18446744073709551615,i:-9223372036854775808]"},
      {"integers beyond 64 bits become floats", "[18446744073709551616, -9223372036854775809]",
       "[f:1.8446744073709552e+19,f:-9.2233720368547758e+18]"},
  };
  for (const ValueCase& row : rows) ExpectValue(row);
}

// A key given twice addresses the same member: containers merge, anything
// else is replaced, and the document goes on with the right keys.
TEST(YamlReaderTest, RepeatedKeysMergeOrReplace) {
  const ValueCase rows[] = {
      {"sequences merge", "a: [1]\na: [2]", R"({"a":[u:1,u:2]})"},
      {"mappings merge", "a: {x: 1}\na: {y: 2}", R"({"a":{"x":u:1,"y":u:2}})"},
      {"scalar replaces mapping", "a: {x: 1}\na: 5\nb: 2", R"({"a":u:5,"b":u:2})"},
      {"mapping replaces scalar", "a: 5\na: {x: 1}\nb: 2", R"({"a":{"x":u:1},"b":u:2})"},
      {"empty value replaces", "a: 1\na:\nb: 2", R"({"a":null,"b":u:2})"},
  };
  for (const ValueCase& row : rows) ExpectValue(row);
}

// The empty text is a key like any other: the value after it is its value,
// not the next key.
TEST(YamlReaderTest, EmptyKeysAreMembers) {
  const ValueCase rows[] = {
      {"quoted empty key", "\"\": 1\nb: 2", R"({"":u:1,"b":u:2})"},
      {"flow empty key", "{'': x, b: z}", R"({"":"x","b":"z"})"},
      {"explicit empty key", "?\n: v\nb: w", R"({"":"v","b":"w"})"},
      {"nested empty key", "a: {'': [1]}", R"({"a":{"":[u:1]}})"},
  };
  for (const ValueCase& row : rows) ExpectValue(row);
}

TEST(YamlReaderTest, AliasesCopyTheAnchoredNode) {
  const ValueCase rows[] = {
      {"sequence", "a: &x [1]\nb: *x", R"({"a":[u:1],"b":[u:1]})"},
      {"scalar keeps its typing", "a: &x 1.5\nb: *x\nc: &y '7'\nd: *y",
       R"({"a":f:1.5,"b":f:1.5,"c":"7","d":"7"})"},
      {"nested mapping", "a: &x {p: [1, {q: 2}]}\nb: [*x, *x]",
       R"({"a":{"p":[u:1,{"q":u:2}]},"b":[{"p":[u:1,{"q":u:2}]},{"p":[u:1,{"q":u:2}]}]})"},
      {"a copy, not a reference", "a: &x {p: 1}\nb: *x\nb: {q: 2}\na: {r: 3}",
       R"({"a":{"p":u:1,"r":u:3},"b":{"p":u:1,"q":u:2}})"},
      {"as it stands when read", "a: &x [1]\nb: *x\na: [2]", R"({"a":[u:1,u:2],"b":[u:1]})"},
      {"alias of a key gives its text", "&k a: 1\nb: *k", R"({"a":u:1,"b":"a"})"},
      {"alias of a key inside its own mapping", "x: {&k a: 1, b: *k}", R"({"x":{"a":u:1,"b":"a"}})"},
      {"key alias of a key", "&k a: 1\nb: {*k : 2}", R"({"a":u:1,"b":{"a":u:2}})"},
      {"key alias of a scalar keeps its text", "x: &k 0x10\n*k : 2", R"({"0x10":u:2,"x":u:16})"},
      {"anchored element of an open mapping", "m: &m {a: &v 1, b: *v}", R"({"m":{"a":u:1,"b":u:1}})"},
  };
  for (const ValueCase& row : rows) ExpectValue(row);
}

TEST(YamlReaderTest, FailuresGiveTheirMessage) {
  const ErrorCase rows[] = {
      {"tagged integer in a bad format", "a: !!int x", "Value x for 'yaml' of type uint64_t is in an incorrect format"},
      {"tagged integer out of range", "a: !!int 18446744073709551616",
       "Value 18446744073709551616 for 'yaml' of type uint64_t is out of range"},
      {"tagged negative out of range", "a: !!int -9223372036854775809",
       "Value -9223372036854775809 for 'yaml' of type int64_t is out of range"},
      {"tagged float in a bad format", "a: !!float 1.5x", "Value 1.5x for 'yaml' of type double is in an incorrect format"},
      {"null tag", "a: !!null ~", "Unsupported YAML tag 'tag:yaml.org,2002:null'."},
      {"local tag", "a: !thing x", "Unsupported YAML tag '!thing'."},
      {"non-specific tag", "a: ! x", "Unsupported YAML tag '!'."},
      {"sequence as key", "? [1]\n: x", "Unexpected start of sequence. At line: 1 col: 3"},
      {"mapping as key", "? {a: 1}\n: x", "Unexpected start of mapping. At line: 1 col: 3"},
      {"integer-tagged key", "!!int 5: x", "Invalid mapping key. Only string scalar keys are allowed. At line: 1 col: 1"},
      {"cyclic alias", "&x [*x]", "Cannot deserialize cyclic aliases. Alias \"x\". At line: 1 col: 5"},
      {"cyclic alias deeper down", "a: &x\n  b: [1, {c: *x}]",
       "Cannot deserialize cyclic aliases. Alias \"x\". At line: 2 col: 14"},
      {"undefined alias", "b: *y", "Undefined alias encountered: \"y\". At line: 1 col: 4"},
      {"duplicate anchor", "a: &x 1\nb: &x 2", "Duplicate occurrence of anchor \"x\". At line: 2 col: 4"},
      {"duplicate anchor on a key", "&x a: 1\n&x b: 2", "Duplicate occurrence of anchor \"x\". At line: 2 col: 1"},
      {"alias of a sequence as key", "a: &x [1]\n*x : 2",
       "Invalid mapping key. Alias \"x\" does not refer to a string scalar. At line: 2 col: 1"},
      {"alias of an integer-tagged scalar as key", "a: &x !!int 1\n*x : 2",
       "Invalid mapping key. Alias \"x\" does not refer to a string scalar. At line: 2 col: 1"},
      {"second document", "a: 1\n---\nb: 2", "Multi-document YAML is not supported."},
      {"empty first document", "---\n---\nb: 2", "Multi-document YAML is not supported."},
      // The parser's own position counts from 0; it finds the problem at the
      // end of the text, after the line break that it adds there.
      {"unclosed flow sequence", "[1, 2",
       "YAML parser error: did not find expected ',' or ']'. At line: 1 col: 0"},
      {"bad indentation", "a: 1\n b: 2",
       "YAML parser error: mapping values are not allowed in this context. At line: 1 col: 2"},
      {"invalid UTF-8 on the second line", "a: 1\nb: x\xff",
       "YAML parser error: invalid leading UTF-8 octet. At line: 1 col: 4"},
  };
  for (const ErrorCase& row : rows) ExpectError(row);
}

TEST(YamlReaderTest, NestingStopsAtTheLimit) {
  const std::string deepest = Repeat("[", kMaxNestingDepth) + Repeat("]", kMaxNestingDepth);
  const BindingResult accepted = DeserializeYaml(deepest);
  EXPECT_TRUE(accepted.Ok()) << accepted.ErrorMessage();

  const ErrorCase rows[] = {
      {"flow sequences", Repeat("[", kMaxNestingDepth + 1),
       "YAML document nested deeper than 512 levels. At line: 1 col: 513"},
      {"block mappings", [] {
         std::string text;
         for (size_t i = 0; i <= kMaxNestingDepth; ++i) text += std::string(i, ' ') + "a:\n";
         return text + std::string(kMaxNestingDepth + 1, ' ') + "x";
       }(),
       "YAML document nested deeper than 512 levels. At line: 513 col: 513"},
  };
  for (const ErrorCase& row : rows) ExpectError(row);
}

TEST(YamlReaderTest, AliasCopiesStayWithinTheLimits) {
  // Each level holds ten aliases of the one before: 10^7 values from 8 lines.
  // The copies reach the budget at the eighth alias of l4 (123,340 values
  // before l5, then 111,111 per alias).
  std::string laughs = "l0: &l0 [x, x, x, x, x, x, x, x, x, x]\n";
  for (int level = 1; level <= 7; ++level) {
    const std::string alias = "*l" + std::to_string(level - 1);
    laughs += "l" + std::to_string(level) + ": &l" + std::to_string(level) + " [" + alias;
    for (int i = 1; i < 10; ++i) laughs += ", " + alias;
    laughs += "]\n";
  }
  // The copy of x (300 levels) lands inside 1 + 212 open sequences, one too
  // many; inside 1 + 211 it reaches the limit exactly.
  const std::string anchored = "- &x " + Repeat("[", 300) + Repeat("]", 300) + "\n- ";
  const std::string deep = anchored + Repeat("[", 212) + "*x" + Repeat("]", 212);
  const std::string deepEnough = anchored + Repeat("[", 211) + "*x" + Repeat("]", 211);
  const ErrorCase rows[] = {
      {"billion laughs", laughs,
       "Alias \"l4\" expands the document beyond 1000000 copied values. At line: 6 col: 45"},
      {"copy beyond the nesting limit", deep,
       "Alias \"x\" nests the document deeper than 512 levels. At line: 2 col: 215"},
  };
  for (const ErrorCase& row : rows) ExpectError(row);

  const BindingResult accepted = DeserializeYaml(deepEnough);
  EXPECT_TRUE(accepted.Ok()) << accepted.ErrorMessage();
}

TEST(YamlReaderTest, TextsEndAtTheirNulOnlyWhenGivenAsPointers) {
  const std::string text("a: 1\0b: 2", 9);
  EXPECT_EQ(CanonicalText(DeserializeYaml(text.c_str()).Value()), R"({"a":u:1})");
  const BindingResult whole = DeserializeYaml(std::string_view(text));
  EXPECT_FALSE(whole.Ok());
  EXPECT_EQ(CanonicalText(DeserializeYaml(static_cast<const char*>(nullptr)).Value()), "null");
}

TEST(YamlReaderTest, LooksLikeYamlWantsThreeDashesAfterSpaces) {
  const struct {
    const char* text;
    bool expected;
  } rows[] = {
      {"---", true},        {"  --- a", true}, {"---a: 1", true}, {"a: 1", false}, {"--", false},
      {"\t---", false},     {"\n---", false},  {"", false},       {" ", false},    {"- - -", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(LooksLikeYaml(row.text), row.expected);
  }
  EXPECT_FALSE(LooksLikeYaml(nullptr));
}

}  // namespace
}  // namespace zun
