// Tests for the canonical one-line rendering of value trees.
#include "formats/canonical_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace zun {
namespace {

TEST(CanonicalTextTest, RendersEveryScalarKind) {
  struct Row {
    void (*set)(BindingProperty&);
    const char* expected;
  };
  const Row rows[] = {
      {[](BindingProperty&) {}, "null"},
      {[](BindingProperty& v) { v.SetBool(true); }, "true"},
      {[](BindingProperty& v) { v.SetBool(false); }, "false"},
      {[](BindingProperty& v) { v.SetSigned(-5); }, "i:-5"},
      {[](BindingProperty& v) { v.SetSigned(std::numeric_limits<int64_t>::min()); },
       "i:-9223372036854775808"},
      {[](BindingProperty& v) { v.SetUnsigned(18446744073709551615ull); }, "u:18446744073709551615"},
      {[](BindingProperty& v) { v.SetFloat(1.5); }, "f:1.5"},
      {[](BindingProperty& v) { v.SetFloat(0.1); }, "f:0.10000000000000001"},
      {[](BindingProperty& v) { v.SetFloat(-0.0); }, "f:-0"},
      {[](BindingProperty& v) { v.SetFloat(1e300); }, "f:1.0000000000000001e+300"},
      {[](BindingProperty& v) { v.SetFloat(std::nan("")); }, "f:nan"},
      {[](BindingProperty& v) { v.SetFloat(HUGE_VAL); }, "f:inf"},
      {[](BindingProperty& v) { v.SetFloat(-HUGE_VAL); }, "f:-inf"},
      {[](BindingProperty& v) { v.SetString("plain"); }, "\"plain\""},
      {[](BindingProperty& v) { v.SetString(""); }, "\"\""},
      {[](BindingProperty& v) { v.SetString("q\"b\\s/"); }, "\"q\\\"b\\\\s/\""},
      {[](BindingProperty& v) { v.SetString("\b\f\n\r\t\x01\x1f\x7f"); },
       "\"\\b\\f\\n\\r\\t\\u0001\\u001f\x7f\""},
      {[](BindingProperty& v) { v.SetString("\xC3\xA9"); }, "\"\xC3\xA9\""},
      {[](BindingProperty& v) { v.SetBlob(std::vector<uint8_t>{}); }, "b:"},
      {[](BindingProperty& v) { v.SetBlob(std::vector<uint8_t>{'f'}); }, "b:Zg=="},
      {[](BindingProperty& v) { v.SetBlob(std::vector<uint8_t>{'f', 'o'}); }, "b:Zm8="},
      {[](BindingProperty& v) { v.SetBlob(std::vector<uint8_t>{'f', 'o', 'o'}); }, "b:Zm9v"},
      {[](BindingProperty& v) { v.SetBlob(std::vector<uint8_t>{0x00, 0xFF, 0xFE, 0x3E}); }, "b:AP/+Pg=="},
      {[](BindingProperty& v) { v.SetEnum(-3, nullptr); }, "e:-3"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    BindingProperty value;
    row.set(value);
    EXPECT_EQ(CanonicalText(value), row.expected);
  }
}

TEST(CanonicalTextTest, RendersContainersInStoredOrderWithoutSpaces) {
  BindingProperty value;
  value.Member("b").Append().SetUnsigned(1);
  value.Member("b").Element(1).Reset();
  value.Member("a").MakeStructure();
  value.Member("B").MakeCollection();
  value.Member("k\"ey").SetString("x");
  EXPECT_EQ(CanonicalText(value), R"({"B":[],"a":{},"b":[u:1,null],"k\"ey":"x"})");
}

}  // namespace
}  // namespace zun
