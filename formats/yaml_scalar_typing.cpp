// Scalar typing of the YAML reader. Plain numbers follow the grammar of
// strtod; the common decimal forms take a faster route to the same double.
#include "formats/yaml_scalar_typing.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

#include "binding/leaf_conversions.h"
#include "formats/yaml_messages.h"

namespace zun {

namespace {

constexpr std::array<std::string_view, 11> kTrueWords = {"true", "True", "TRUE", "y",  "Y",  "yes",
                                                         "Yes",  "YES",  "on",   "On", "ON"};
constexpr std::array<std::string_view, 11> kFalseWords = {"false", "False", "FALSE", "n",   "N",  "no",
                                                          "No",    "NO",    "off",   "Off", "OFF"};
constexpr std::array<std::string_view, 5> kNullWords = {"", "~", "null", "Null", "NULL"};

// The path under which the conversion rules name a tagged scalar.
constexpr std::string_view kTaggedScalarPath = "yaml";

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

// No word of the lists is longer, so most texts are settled by their length.
constexpr size_t kLongestWord = 5;

template <size_t N>
bool IsWordOf(std::string_view text, const std::array<std::string_view, N>& words) {
  if (text.size() > kLongestWord) return false;
  return std::find(words.begin(), words.end(), text) != words.end();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Every text that strtod can consume begins with one of these.
bool CanStartNumber(char c) {
  switch (c) {
    case '+': case '-': case '.': case 'i': case 'I': case 'n': case 'N':
    case ' ': case '\t': case '\n': case '\v': case '\f': case '\r':
      return true;
    default:
      return IsDigit(c);
  }
}

// A hexadecimal form, which only strtod reads.
bool LooksHexadecimal(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

std::optional<double> WholeTextByStrtod(std::string_view text) {
  const std::string terminated(text);
  char* end = nullptr;
  const double value = std::strtod(terminated.c_str(), &end);
  if (end != terminated.c_str() + terminated.size()) return std::nullopt;
  return value;
}

// The double of `text` when strtod would consume all of it.
std::optional<double> WholeTextAsDouble(std::string_view text) {
  const char first = text.front();
  if (first != '+' && !IsDigit(first) && first != '-' && first != '.' && first != 'i' &&
      first != 'I' && first != 'n' && first != 'N') {
    return WholeTextByStrtod(text);  // leading white space
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc() && end == text.data() + text.size()) return value;
  // Out of range (strtod then gives the infinity or the tiny value), a sign
  // or a hexadecimal form: forms that only strtod reads.
  if (error == std::errc::result_out_of_range || first == '+' || LooksHexadecimal(text)) {
    return WholeTextByStrtod(text);
  }
  return std::nullopt;
}

enum class IntegerText { NotInteger, Stored, BeyondRange };

// Plain decimal integers are read exactly, not through a double, so 64-bit
// identifiers keep every digit.
IntegerText StoreExactInteger(std::string_view text, BindingProperty& target) {
  const bool negative = text.front() == '-';
  if (negative || text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return IntegerText::NotInteger;
  uint64_t magnitude = 0;
  bool fits = true;
  for (const char c : text) {
    if (!IsDigit(c)) return IntegerText::NotInteger;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (magnitude > (std::numeric_limits<uint64_t>::max() - digit) / 10) fits = false;
    magnitude = magnitude * 10 + digit;
  }
  if (!fits || (negative && magnitude > uint64_t{1} << 63)) return IntegerText::BeyondRange;
  if (!negative || magnitude == 0) {
    target.SetUnsigned(magnitude);
  } else {
    target.SetSigned(static_cast<int64_t>(0 - magnitude));
  }
  return IntegerText::Stored;
}

// Integral doubles become integers when a 64-bit integer holds them; the
// rest, and every fraction or NaN, stay floats.
void StoreNumber(double value, BindingProperty& target) {
  if (std::isnan(value) || std::trunc(value) != value) {
    target.SetFloat(value);
  } else if (value >= 0 && value < kTwoTo64) {
    target.SetUnsigned(static_cast<uint64_t>(value));
  } else if (value < 0 && value >= -kTwoTo63) {
    target.SetSigned(static_cast<int64_t>(value));
  } else {
    target.SetFloat(value);
  }
}

bool StorePlainNumber(std::string_view text, BindingProperty& target) {
  if (!CanStartNumber(text.front())) return false;
  const IntegerText integer = StoreExactInteger(text, target);
  if (integer == IntegerText::Stored) return true;
  const std::optional<double> value = WholeTextAsDouble(text);
  if (!value || std::isinf(*value)) return false;
  // An integer beyond the 64-bit ranges keeps its magnitude as a float
  // rather than being cut to a neighbouring integer.
  if (integer == IntegerText::BeyondRange) {
    target.SetFloat(*value);
  } else {
    StoreNumber(*value, target);
  }
  return true;
}

void StorePlain(std::string_view text, BindingProperty& target) {
  if (IsYamlNullWord(text)) {
    target.Reset();
  } else if (StorePlainNumber(text, target)) {
  } else if (IsYamlTrueWord(text)) {
    target.SetBool(true);
  } else if (IsYamlFalseWord(text)) {
    target.SetBool(false);
  } else {
    target.SetString(text);
  }
}

void StoreTaggedInteger(BindingResult& status, BindingProperty& target, std::string_view text) {
  BindingProperty input;
  input.SetString(text);
  if (!text.empty() && text.front() == '-') {
    const int64_t value = ToSigned(status, input, kTaggedScalarPath, std::numeric_limits<int64_t>::min(),
                                   std::numeric_limits<int64_t>::max(), "int64_t");
    if (status.Ok()) target.SetSigned(value);
  } else {
    const uint64_t value =
        ToUnsigned(status, input, kTaggedScalarPath, std::numeric_limits<uint64_t>::max(), "uint64_t");
    if (status.Ok()) target.SetUnsigned(value);
  }
}

void StoreTaggedReal(BindingResult& status, BindingProperty& target, std::string_view text) {
  BindingProperty input;
  input.SetString(text);
  const double value = ToReal(status, input, kTaggedScalarPath, -DBL_MAX, DBL_MAX, "double");
  if (status.Ok()) target.SetFloat(value);
}

void StoreTagged(BindingResult& status, BindingProperty& target, std::string_view text,
                 std::string_view tag) {
  if (tag == kYamlStrTag) {
    target.SetString(text);
  } else if (tag == kYamlIntTag) {
    StoreTaggedInteger(status, target, text);
  } else if (tag == kYamlFloatTag) {
    StoreTaggedReal(status, target, text);
  } else if (tag == kYamlBoolTag) {
    // A text in neither list leaves the value as it is.
    if (IsYamlTrueWord(text)) target.SetBool(true);
    if (IsYamlFalseWord(text)) target.SetBool(false);
  } else {
    status.SetError(yaml_messages::kUnsupportedTag, tag);
  }
}

}  // namespace

bool IsYamlTrueWord(std::string_view text) { return IsWordOf(text, kTrueWords); }
bool IsYamlFalseWord(std::string_view text) { return IsWordOf(text, kFalseWords); }
bool IsYamlNullWord(std::string_view text) { return IsWordOf(text, kNullWords); }

void YamlScalarToValue(BindingResult& status, BindingProperty& target, std::string_view text,
                       const char* tag, bool quoted) {
  if (tag != nullptr) {
    StoreTagged(status, target, text, tag);
  } else if (quoted) {
    target.SetString(text);
  } else {
    StorePlain(text, target);
  }
}

}  // namespace zun
