// Tests of FormatText: argument kinds taken from static types, types that render
// themselves through ToText, and the cut at the stack buffer's size.
#include "diagnostics/format_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace zun_format_text_test {

// A type that renders itself, found through argument-dependent lookup.
struct Version {
  int major;
  int minor;
  int patch;
};

std::string ToText(const Version& version) {
  return zun::FormatText("%1.%2.%3", version.major, version.minor, version.patch);
}

}  // namespace zun_format_text_test

namespace zun {
namespace {

using zun_format_text_test::Version;

// `head`, then `count` copies of `fill`, then `tail`.
std::string Padded(const char* head, size_t count, char fill, const char* tail = "") {
  std::string text(head);
  text.append(count, fill);
  text.append(tail);
  return text;
}

TEST(FormatText, IntegersByWidthAndSignedness) {
  EXPECT_EQ(FormatText("%1 %2", int8_t{-5}, uint8_t{200}), "-5 200");
  EXPECT_EQ(FormatText("%1 %2", short{-300}, static_cast<unsigned short>(65535)), "-300 65535");
  EXPECT_EQ(FormatText("%1 %2", -7L, 7UL), "-7 7");
  EXPECT_EQ(FormatText("%1 %2", std::numeric_limits<long long>::min(),
                       std::numeric_limits<unsigned long long>::max()),
            "-9223372036854775808 18446744073709551615");
  EXPECT_EQ(FormatText("%1", std::numeric_limits<size_t>::max()),
            std::to_string(std::numeric_limits<size_t>::max()));
  EXPECT_EQ(FormatText("%1", std::numeric_limits<unsigned>::max()), "4294967295");
  // A 64-bit value given an explicit specification without modifier shows its low half.
  EXPECT_EQ(FormatText("%1$d", int64_t{1} << 40), "0");
  EXPECT_EQ(FormatText("%1$llx", int64_t{1} << 40), "10000000000");
}

TEST(FormatText, OtherBuiltinKinds) {
  EXPECT_EQ(FormatText("%1/%2", true, false), "true/false");
  EXPECT_EQ(FormatText("[%1]", 'x'), "[x]");
  EXPECT_EQ(FormatText("%1 %2", 0.5f, 2.5), "0.5 2.5");
  const char* pointer = "ptr";
  char mutableText[] = "mutable";
  const char* nothing = nullptr;
  EXPECT_EQ(FormatText("%1 %2 %3", pointer, static_cast<char*>(mutableText), nothing),
            "ptr mutable (null)");
  EXPECT_EQ(FormatText("%1", "literal"), "literal");
  const char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(FormatText("%1|", unterminated), "abc|");
  const std::string text = "string";
  EXPECT_EQ(FormatText("%1", text), "string");
  const std::string_view view = std::string_view("viewed-and-more").substr(0, 6);
  EXPECT_EQ(FormatText("%1|%1$.3s|%1$8s", view), "viewed|vie|  viewed");
}

TEST(FormatText, TypesThatRenderThemselves) {
  const Version version{18, 0, 1};
  EXPECT_EQ(FormatText("Version %1", version), "Version 18.0.1");
  EXPECT_EQ(FormatText("[%1$-8s]", version), "[18.0.1  ]");
  EXPECT_EQ(FormatText("%1$d", version), "18.0.1");  // text kinds accept only 's'
}

TEST(FormatText, MessagesWithThreeArguments) {
  EXPECT_EQ(FormatText("Unknown argument '%1' for '%2' at %3.", std::string("limit"), "search", 12),
            "Unknown argument 'limit' for 'search' at 12.");
  EXPECT_EQ(FormatText("%3%2%1", 1, 2, 3), "321");
  EXPECT_EQ(FormatText("%*d|", 4, 7), "   7|");
}

TEST(FormatText, WithoutArguments) {
  EXPECT_EQ(FormatText("100%% sure"), "100% sure");
  EXPECT_EQ(FormatText("before %1 after"), "before ");
  EXPECT_EQ(FormatText(""), "");
  EXPECT_EQ(FormatText(nullptr), "");
}

TEST(FormatText, CutAtTheStackBuffer) {
  const size_t limit = kFormatTextCapacity - 1;
  const std::string longText(5000, 'a');
  EXPECT_EQ(FormatText(longText.c_str()), std::string(limit, 'a'));
  EXPECT_EQ(FormatText("%1 tail", longText), std::string(limit, 'a'));
  EXPECT_EQ(FormatText("x%1$5000d", 1), Padded("x", limit - 1, ' '));
  const std::string exact(limit, 'b');
  EXPECT_EQ(FormatText("%1", exact), exact);
}

}  // namespace
}  // namespace zun
