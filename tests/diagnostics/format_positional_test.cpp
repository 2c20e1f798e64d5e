// Tests of the positional formatter: placeholder forms, kinds, failures that end
// the output, truncation at the buffer end, and agreement with the C library.
#include "diagnostics/format_positional.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <variant>
#include <vector>

namespace zun {
namespace {

using Argument = std::variant<int32_t, uint32_t, int64_t, uint64_t, double, const char*, std::string>;

struct ArgumentKind {
  const FormatArgument& operator()(const int32_t&) const { return format_kinds::kSigned32; }
  const FormatArgument& operator()(const uint32_t&) const { return format_kinds::kUnsigned32; }
  const FormatArgument& operator()(const int64_t&) const { return format_kinds::kSigned64; }
  const FormatArgument& operator()(const uint64_t&) const { return format_kinds::kUnsigned64; }
  const FormatArgument& operator()(const double&) const { return format_kinds::kDouble; }
  const FormatArgument& operator()(const char* const&) const { return format_kinds::kCString; }
  const FormatArgument& operator()(const std::string&) const { return format_kinds::kString; }
};

const void* ValuePointer(const Argument& argument) {
  if (const auto* text = std::get_if<const char*>(&argument)) return *text;
  return std::visit([](const auto& value) -> const void* { return &value; }, argument);
}

// Renders into a buffer of `capacity` bytes followed by guard bytes that must stay untouched.
std::string Render(const char* format, const std::vector<Argument>& arguments, size_t capacity = 256) {
  std::vector<FormatArgument> kinds;
  std::vector<const void*> values;
  for (const Argument& argument : arguments) {
    kinds.push_back(std::visit(ArgumentKind{}, argument));
    values.push_back(ValuePointer(argument));
  }
  constexpr size_t kGuard = 16;
  std::vector<char> buffer(capacity + kGuard, '#');
  const size_t length =
      FormatPositional(buffer.data(), capacity, format, kinds.data(), values.data(), kinds.size());
  EXPECT_LT(length, capacity);
  EXPECT_EQ(buffer[length], '\0');
  for (size_t i = capacity; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], '#') << "guard byte " << i;
  return std::string(buffer.data(), length);
}

struct Row {
  int line;
  const char* format;
  std::vector<Argument> arguments;
  std::string expected;
};

void CheckRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "line " << row.line << ": " << row.format);
    EXPECT_EQ(Render(row.format, row.arguments), row.expected);
  }
}

// `head`, then `count` copies of `fill`, then `tail`.
std::string Padded(const char* head, size_t count, char fill, const char* tail = "") {
  std::string text(head);
  text.append(count, fill);
  text.append(tail);
  return text;
}

constexpr uint64_t kTwoTo40 = uint64_t{1} << 40;

TEST(FormatPositional, NumberedPlaceholders) {
  CheckRows({
      {__LINE__, "Index %1 is out of range", {"7"}, "Index 7 is out of range"},
      {__LINE__, "%2 before %1", {"a", "b"}, "b before a"},
      {__LINE__, "%1%1%1", {int32_t{4}}, "444"},
      {__LINE__, "%%1", {"x"}, "%1"},
      {__LINE__, "100%% done", {}, "100% done"},
      {__LINE__, "%1d", {int32_t{7}}, "7d"},
      {__LINE__, "%1", {int32_t{255}}, "255"},
      {__LINE__, "%1", {int32_t{-5}}, "-5"},
      {__LINE__, "%1", {uint32_t{4000000000u}}, "4000000000"},
      {__LINE__, "%1", {kTwoTo40}, "1099511627776"},
      {__LINE__, "%1", {int64_t{INT64_MIN}}, "-9223372036854775808"},
      {__LINE__, "%1", {2.5}, "2.5"},
      {__LINE__, "%1", {1e20}, "1e+20"},
      {__LINE__, "%1", {std::string("text")}, "text"},
      {__LINE__, "[%1]", {static_cast<const char*>(nullptr)}, "[(null)]"},
      {__LINE__, "", {"unused"}, ""},
  });
}

TEST(FormatPositional, PrintfForms) {
  CheckRows({
      {__LINE__, "%1$08x", {int32_t{255}}, "000000ff"},
      {__LINE__, "%1$#x %1$#o %1$X", {int32_t{255}}, "0xff 0377 FF"},
      {__LINE__, "%1$+d|%1$ d|%1$-4d|%1$4d", {int32_t{5}}, "+5| 5|5   |   5"},
      {__LINE__, "%1$.3f", {2.5}, "2.500"},
      {__LINE__, "%1$.-3f", {2.5}, "2.500"},
      {__LINE__, "%1$e %1$E", {12345.678}, "1.234568e+04 1.234568E+04"},
      {__LINE__, "%1$a", {1.0}, "0x1p+0"},
      {__LINE__, "%1$G", {1e-10}, "1E-10"},
      {__LINE__, "%1$.2s|%1$-6s|%1$6s", {"hello"}, "he|hello | hello"},
      {__LINE__, "%1$05s", {"ab"}, "   ab"},
      {__LINE__, "%1$c", {int32_t{65}}, "A"},
      {__LINE__, "%1$i", {uint32_t{7}}, "7"},
      {__LINE__, "%1$-60s|", {"ab"}, Padded("ab", 58, ' ', "|")},
      {__LINE__, "%d and %s", {int32_t{4}, "x"}, "4 and x"},
      {__LINE__, "%3x", {int32_t{255}, "b"}, " ff"},
      {__LINE__, "%1$d %d", {int32_t{1}, int32_t{2}}, "1 1"},
      {__LINE__, "%2 %d", {int32_t{5}, int32_t{6}}, "6 5"},
  });
}

TEST(FormatPositional, ConversionFollowsTheKind) {
  CheckRows({
      {__LINE__, "%1$s", {int32_t{42}}, "42"},
      {__LINE__, "%1$5s", {int32_t{42}}, "   42"},
      {__LINE__, "%1$x", {"text"}, "text"},
      {__LINE__, "%1$d", {1.5}, "1.5"},
      {__LINE__, "%1$f", {int32_t{3}}, "3"},
      {__LINE__, "%1$s", {2.0}, "2"},
      // A number above the count is a width, a '$' after it the conversion.
      {__LINE__, "%5$", {int32_t{7}, int32_t{8}}, "    7"},
      {__LINE__, "a %3 b", {"x"}, "a   xb"},
      {__LINE__, "a %3$d b", {"x"}, "a   xd b"},
      {__LINE__, "%1$5", {int32_t{7}}, "7"},                // the last character gives way to 'd'
      {__LINE__, "a%1$nb", {int32_t{7}}, "ab"},             // 'n' writes nothing, anywhere
      {__LINE__, "a%nb", {"x"}, "ab"},
  });
}

TEST(FormatPositional, LengthModifiers) {
  CheckRows({
      {__LINE__, "%1$d", {kTwoTo40}, "0"},  // no modifier: the low 32 bits
      {__LINE__, "%1$d", {kTwoTo40 + 12}, "12"},
      {__LINE__, "%1$llx", {kTwoTo40}, "10000000000"},
      {__LINE__, "%1$lld", {int64_t{-3}}, "-3"},
      {__LINE__, "%1$jd", {int64_t{INT64_MAX}}, "9223372036854775807"},
      {__LINE__, "%1$Ld", {int64_t{INT64_MAX}}, "9223372036854775807"},
      {__LINE__, "%1$x", {int32_t{-1}}, "ffffffff"},
      {__LINE__, "%1$llu", {int32_t{-1}}, "18446744073709551615"},
      {__LINE__, "%1$lld", {uint32_t{4294967295u}}, "4294967295"},
      {__LINE__, "%1$hhd", {int32_t{300}}, "44"},
      {__LINE__, "%1$hd", {int32_t{70000}}, "4464"},
      {__LINE__, "%1$hu", {int32_t{-1}}, "65535"},
      {__LINE__, "%1$zu", {uint32_t{9}}, "9"},
      {__LINE__, "%1$td", {int32_t{-9}}, "-9"},
      {__LINE__, "%1$lc", {int32_t{66}}, "B"},        // a narrow character all the same
      {__LINE__, "%1$ls", {"narrow"}, "narrow"},      // text is never read as wide characters
      {__LINE__, "%1$Lf", {2.5}, "2.500000"},          // the value stays a double
  });
}

TEST(FormatPositional, StarWidthsAndPrecisions) {
  CheckRows({
      {__LINE__, "%*d", {int32_t{5}, int32_t{42}}, "   42"},
      {__LINE__, "%-*d|", {int32_t{5}, int32_t{42}}, "42   |"},
      {__LINE__, "%*d|", {int32_t{-5}, int32_t{42}}, "42   |"},
      {__LINE__, "%.*f", {int32_t{2}, 3.14159}, "3.14"},
      {__LINE__, "%.*f", {int32_t{-1}, 3.14159}, "3.141590"},  // negative: no precision
      {__LINE__, "%*.*f|%d", {int32_t{8}, int32_t{2}, 3.14159}, "    3.14|"},
      {__LINE__, "%1$*2$d", {int32_t{42}, int32_t{6}}, "    42"},
      {__LINE__, "%1$.*2$s", {"abcdef", int32_t{3}}, "abc"},
      {__LINE__, "%1$*2$.*3$f", {1.0, int32_t{7}, int32_t{1}}, "    1.0"},
      {__LINE__, "%*5d", {int32_t{4}, int32_t{7}}, "   7"},       // digits after '*' are dropped
      {__LINE__, "%1$*2$d", {int32_t{1}, kTwoTo40 + 3}, "  1"},  // 64-bit width: low 32 bits
      {__LINE__, "%*", {int32_t{5}, int32_t{9}}, "9"},
  });
}

TEST(FormatPositional, FailuresEndTheOutputWhereTheyOccur) {
  const std::string flags57(57, '-');
  const std::string tooLong = "a%" + flags57 + "5d";            // a 60-character specification
  const std::string longest = "a%" + flags57.substr(1) + "5d";  // 59 characters
  CheckRows({
      {__LINE__, "%s and %s", {"x"}, "x and "},
      {__LINE__, "a %1$*2$d b", {int32_t{1}}, "a "},          // star argument above the count
      {__LINE__, "a %1$*2$d b", {int32_t{1}, "w"}, "a "},     // star argument without an integer
      {__LINE__, "a %1$.*2$d b", {int32_t{1}, 2.0}, "a "},
      {__LINE__, "a %*d b", {"w", int32_t{1}}, "a "},
      {__LINE__, "a %*0$d b", {int32_t{1}}, "a "},
      {__LINE__, "value %", {int32_t{7}}, "value 7"},
      {__LINE__, "value %", {}, "value "},
      {__LINE__, "x %2", {}, "x "},
      {__LINE__, tooLong.c_str(), {int32_t{1}}, "a"},
      {__LINE__, longest.c_str(), {int32_t{1}}, "a1    "},
  });
}

TEST(FormatPositional, StopsAtTheEndOfTheBuffer) {
  struct Case {
    int line;
    const char* format;
    std::vector<Argument> arguments;
    size_t capacity;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {__LINE__, "abcdefgh", {}, 1, ""},
      {__LINE__, "abcdefgh", {}, 5, "abcd"},
      {__LINE__, "abcd", {}, 5, "abcd"},
      {__LINE__, "%1 tail", {"abcdefgh"}, 5, "abcd"},
      {__LINE__, "%1%2", {"abcd", "efgh"}, 6, "abcde"},
      {__LINE__, "%1", {int32_t{123456}}, 4, "123"},
      {__LINE__, "%1$8d", {int32_t{1}}, 4, "   "},
      {__LINE__, "%1$-8d|", {int32_t{1}}, 4, "1  "},
      {__LINE__, "%1$.6f", {1.0}, 5, "1.00"},
      {__LINE__, "ab%1", {"cd"}, 5, "abcd"},
      {__LINE__, "%%%%", {}, 3, "%%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "line " << c.line << ": " << c.format << " in " << c.capacity);
    EXPECT_EQ(Render(c.format, c.arguments, c.capacity), c.expected);
  }
}

TEST(FormatPositional, HugeWidthsAndPrecisionsStayInsideTheBuffer) {
  CheckRows({
      {__LINE__, "%1$2000000000d", {int32_t{5}}, std::string(255, ' ')},
      {__LINE__, "%1$-2000000000d|", {int32_t{5}}, Padded("5", 254, ' ')},
      {__LINE__, "%1$.2000000000d", {int32_t{5}}, std::string(255, '0')},
      {__LINE__, "%1$99999999999999999999s", {"x"}, std::string(255, ' ')},
      {__LINE__, "%1$.2000000000f", {1.5}, Padded("1.5", 252, '0')},
      {__LINE__, "%*s|", {int32_t{INT32_MIN}, "x"}, Padded("x", 254, ' ')},
      {__LINE__, "%.*s", {int32_t{INT32_MAX}, "xyz"}, "xyz"},
  });
}

TEST(FormatPositional, MissingBufferOrFormat) {
  char buffer[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(FormatPositional(nullptr, 8, "abc", nullptr, nullptr, 0), 0u);
  EXPECT_EQ(FormatPositional(buffer, 0, "abc", nullptr, nullptr, 0), 0u);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(FormatPositional(buffer, sizeof buffer, nullptr, nullptr, nullptr, 0), 0u);
  EXPECT_EQ(buffer[0], '\0');
  // A count without arrays is taken as no arguments at all.
  EXPECT_EQ(FormatPositional(buffer, sizeof buffer, "a%1", nullptr, nullptr, 3), 1u);
  EXPECT_STREQ(buffer, "a");
}

TEST(FormatPositional, RenderRoutineSeesTheSettledContext) {
  static FormatContext seen;
  const FormatArgument recorder{[](FormatContext& context) -> size_t {
                                  const size_t written = format_kinds::kSigned32.render(context);
                                  seen = context;
                                  return written;
                                },
                                format_kinds::kSigned32.integer};
  const int32_t values[] = {12, 4, 2};
  const FormatArgument kinds[] = {recorder, format_kinds::kSigned32, format_kinds::kSigned32};
  const void* const pointers[] = {&values[0], &values[1], &values[2]};
  char buffer[32];
  ASSERT_EQ(FormatPositional(buffer, sizeof buffer, "ab%1$*2$.*3$x", kinds, pointers, 3), 6u);
  EXPECT_STREQ(buffer, "ab  0c");
  EXPECT_EQ(seen.written, 2u);
  EXPECT_EQ(seen.room, sizeof buffer - 2);
  EXPECT_STREQ(seen.spec, "%*.*x");
  EXPECT_EQ(seen.conversion, 'x');
  EXPECT_STREQ(seen.allowedConversions, "dciouxX");
  ASSERT_EQ(seen.starCount, 2u);
  EXPECT_EQ(seen.starValues[0], 4);  // the width comes first, as printf takes it
  EXPECT_EQ(seen.starValues[1], 2);
}

TEST(FormatPositional, BarePlaceholderOfA64BitKindUsesItsModifier) {
  static FormatContext seen;
  const FormatArgument recorder{[](FormatContext& context) -> size_t {
                                  const size_t written = format_kinds::kSigned64.render(context);
                                  seen = context;
                                  return written;
                                },
                                nullptr};
  const int64_t value = -kTwoTo40;
  const void* const pointers[] = {&value};
  char buffer[32];
  ASSERT_EQ(FormatPositional(buffer, sizeof buffer, "%1", &recorder, pointers, 1), 14u);
  EXPECT_STREQ(buffer, "-1099511627776");
  EXPECT_STREQ(seen.spec, "%lld");
  EXPECT_STREQ(seen.modifier, "ll");
}

// Lowering huge widths and precisions must not change a visible character: compare
// with the C library's own truncated output across the thresholds.
TEST(FormatPositional, AgreesWithTheCLibraryWhenTruncating) {
  constexpr size_t kCapacity = 40;
  const std::vector<std::string> widths = {"", "1", "39", "40", "75", "300", "1500", "5000"};
  const std::vector<std::string> precisions = {"", ".0", ".3", ".39", ".71", ".73", ".300", ".1200", ".3000"};
  const std::vector<std::string> flagSets = {"", "-", "0", "#", "+", "-#", "0#"};
  const std::vector<int64_t> integers = {0, -42, INT64_MIN, 0x7fffffffffffLL};
  const std::vector<double> doubles = {0.1, -1e300, 1e-300, 0.9999999999, INFINITY, -NAN};
  char expected[kCapacity];
  char actual[kCapacity];
  for (const std::string& flags : flagSets) {
    for (const std::string& width : widths) {
      for (const std::string& precision : precisions) {
        for (char conversion : std::string("dxo")) {
          const std::string ours = "%1$" + flags + width + precision + "ll" + conversion;
          const std::string theirs = "%" + flags + width + precision + "ll" + conversion;
          for (int64_t integer : integers) {
            SCOPED_TRACE(ours + " with " + std::to_string(integer));
            const void* const pointers[] = {&integer};
            FormatPositional(actual, kCapacity, ours.c_str(), &format_kinds::kSigned64, pointers, 1);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
            std::snprintf(expected, kCapacity, theirs.c_str(), static_cast<long long>(integer));
#pragma GCC diagnostic pop
            ASSERT_STREQ(actual, expected);
          }
        }
        for (char conversion : std::string("feEgGa")) {
          const std::string ours = "%1$" + flags + width + precision + conversion;
          const std::string theirs = "%" + flags + width + precision + conversion;
          for (double value : doubles) {
            SCOPED_TRACE(ours + " with " + std::to_string(value));
            const void* const pointers[] = {&value};
            FormatPositional(actual, kCapacity, ours.c_str(), &format_kinds::kDouble, pointers, 1);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
            std::snprintf(expected, kCapacity, theirs.c_str(), value);
#pragma GCC diagnostic pop
            ASSERT_STREQ(actual, expected);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace zun
