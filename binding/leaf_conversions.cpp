// The scalar rules of value-to-native conversion. Failures go through the
// Fail* helpers, kept out of line so that the accepting paths stay short.
#include "binding/leaf_conversions.h"

#include <cerrno>
#include <cstdlib>

#include "binding/base64.h"
#include "binding/binding_context.h"
#include "binding/binding_property.h"
#include "binding/binding_result.h"
#include "binding/binding_type_info.h"
#include "binding/conversion_messages.h"

namespace zun {

namespace {

namespace msg = conversion_messages;

// The first double at which a 64-bit integer no longer fits: (double) of the
// largest int64 or uint64 rounds up to it, so bounds alone would let it pass.
constexpr double kSigned64Limit = 9223372036854775808.0;     // 2^63
constexpr double kUnsigned64Limit = 18446744073709551616.0;  // 2^64

template <typename... Args>
[[gnu::noinline, gnu::cold]] void Fail(BindingResult& status, const char* pattern,
                                       const Args&... args) {
  status.SetError(pattern, args...);
}

[[gnu::noinline, gnu::cold]] void FailRequired(BindingResult& status, std::string_view path) {
  status.SetError(msg::kRequired, path);
}

[[gnu::noinline, gnu::cold]] void FailInvalidNumberType(BindingResult& status,
                                                        std::string_view path,
                                                        const char* typeName,
                                                        const BindingProperty& input) {
  status.SetError(msg::kNumberInvalidType, path, typeName, input.KindName());
}

bool IsBlank(char character) {
  return character == ' ' || (character >= '\t' && character <= '\r');
}

// What a text parsed by strtoll, strtoull or strtod came to.
enum class Parse { Accepted, Format, Range };

template <typename Number, typename Parser>
Parse ParseText(std::string_view text, Number& number, Parser parser) {
  number = Number{};
  if (text.empty()) {
    return Parse::Accepted;  // nothing is left over
  }
  // String values are NUL-terminated right behind their text.
  const char* begin = text.data();
  char* end = nullptr;
  errno = 0;
  number = parser(begin, &end);
  const int error = errno;
  if (end != begin + text.size()) {
    return Parse::Format;
  }
  return error == ERANGE ? Parse::Range : Parse::Accepted;
}

Parse ParseSigned(std::string_view text, int64_t& number) {
  return ParseText(text, number, [](const char* begin, char** end) {
    return static_cast<int64_t>(std::strtoll(begin, end, 0));
  });
}

Parse ParseUnsigned(std::string_view text, uint64_t& number) {
  const Parse parse = ParseText(text, number, [](const char* begin, char** end) {
    return static_cast<uint64_t>(std::strtoull(begin, end, 0));
  });
  if (parse != Parse::Accepted) {
    return parse;
  }
  // strtoull negates a negative number instead of refusing it.
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) {
    ++first;
  }
  return first < text.size() && text[first] == '-' ? Parse::Range : Parse::Accepted;
}

Parse ParseReal(std::string_view text, double& number) {
  return ParseText(text, number,
                   [](const char* begin, char** end) { return std::strtod(begin, end); });
}

// Reports a text that did not parse or does not fit; true when accepted.
bool CheckText(BindingResult& status, Parse parse, bool inRange, std::string_view text,
               std::string_view path, const char* typeName) {
  if (parse == Parse::Format) {
    Fail(status, msg::kNumberFormat, text, path, typeName);
    return false;
  }
  if (parse == Parse::Range || !inRange) {
    Fail(status, msg::kNumberRange, text, path, typeName);
    return false;
  }
  return true;
}

template <typename Shown, typename Result>
Result Checked(BindingResult& status, bool inRange, const Shown& shown, Result accepted,
               std::string_view path, const char* typeName) {
  if (!inRange) {
    Fail(status, msg::kNumberRange, shown, path, typeName);
    return Result{};
  }
  return accepted;
}

bool HasEnumerator(const BindingTypeInfo& typeInfo, int64_t value) {
  return value >= INT32_MIN && value <= INT32_MAX &&
         typeInfo.FindEnumValue(static_cast<int32_t>(value)) != nullptr;
}

int32_t EnumFromText(BindingResult& status, std::string_view text, std::string_view path,
                     const BindingTypeInfo& typeInfo) {
  if (const BindingEnumValue* named = typeInfo.FindEnumValue(text)) {
    return named->value;
  }
  int64_t number = 0;
  if (ParseSigned(text, number) == Parse::Accepted && HasEnumerator(typeInfo, number)) {
    return static_cast<int32_t>(number);
  }
  Fail(status, msg::kEnumValue, text, typeInfo.name, path);
  return 0;
}

}  // namespace

bool ToBool(BindingResult& status, const BindingProperty& input, std::string_view path) {
  if (!status.Ok()) {
    return false;
  }
  switch (input.Kind()) {
    case BindingKind::Empty:
      FailRequired(status, path);
      return false;
    case BindingKind::Bool:
      return input.GetBool();
    case BindingKind::String: {
      const std::string_view text = input.GetString();
      if (text == "true" || text == "1") {
        return true;
      }
      if (text != "false" && text != "0") {
        Fail(status, msg::kBoolFormat, text, path);
      }
      return false;
    }
    default:
      Fail(status, msg::kBoolInvalidType, path, input.KindName());
      return false;
  }
}

int64_t ToSigned(BindingResult& status, const BindingProperty& input, std::string_view path,
                 int64_t min, int64_t max, const char* typeName) {
  if (!status.Ok()) {
    return 0;
  }
  switch (input.Kind()) {
    case BindingKind::Empty:
      FailRequired(status, path);
      return 0;
    case BindingKind::Signed: {
      const int64_t value = input.GetSigned();
      return Checked(status, value >= min && value <= max, value, value, path, typeName);
    }
    case BindingKind::Unsigned: {
      const uint64_t value = input.GetUnsigned();
      const bool inRange = max >= 0 && value <= static_cast<uint64_t>(max) &&
                           (min <= 0 || value >= static_cast<uint64_t>(min));
      return Checked(status, inRange, value, static_cast<int64_t>(value), path, typeName);
    }
    case BindingKind::Float: {
      // NaN fails every comparison, and 2^63 passes the bound of the largest
      // int64 although it does not fit: both are out of range.
      const double value = input.GetFloat();
      const bool inRange = value >= static_cast<double>(min) &&
                           value <= static_cast<double>(max) && value < kSigned64Limit;
      return Checked(status, inRange, value, inRange ? static_cast<int64_t>(value) : 0, path,
                     typeName);
    }
    case BindingKind::String: {
      const std::string_view text = input.GetString();
      int64_t value = 0;
      const Parse parse = ParseSigned(text, value);
      return CheckText(status, parse, value >= min && value <= max, text, path, typeName) ? value
                                                                                           : 0;
    }
    case BindingKind::Enum: {
      const int32_t value = input.GetEnum().value;
      return Checked(status, value >= min && value <= max, value, int64_t{value}, path, typeName);
    }
    default:
      FailInvalidNumberType(status, path, typeName, input);
      return 0;
  }
}

uint64_t ToUnsigned(BindingResult& status, const BindingProperty& input, std::string_view path,
                    uint64_t max, const char* typeName) {
  if (!status.Ok()) {
    return 0;
  }
  switch (input.Kind()) {
    case BindingKind::Empty:
      FailRequired(status, path);
      return 0;
    case BindingKind::Signed: {
      const int64_t value = input.GetSigned();
      const bool inRange = value >= 0 && static_cast<uint64_t>(value) <= max;
      return Checked(status, inRange, value, static_cast<uint64_t>(value), path, typeName);
    }
    case BindingKind::Unsigned: {
      const uint64_t value = input.GetUnsigned();
      return Checked(status, value <= max, value, value, path, typeName);
    }
    case BindingKind::Float: {
      const double value = input.GetFloat();
      const bool inRange =
          value >= 0.0 && value <= static_cast<double>(max) && value < kUnsigned64Limit;
      return Checked(status, inRange, value, inRange ? static_cast<uint64_t>(value) : 0, path,
                     typeName);
    }
    case BindingKind::String: {
      const std::string_view text = input.GetString();
      uint64_t value = 0;
      const Parse parse = ParseUnsigned(text, value);
      return CheckText(status, parse, value <= max, text, path, typeName) ? value : 0;
    }
    case BindingKind::Enum: {
      const int32_t value = input.GetEnum().value;
      const bool inRange = value >= 0 && static_cast<uint64_t>(value) <= max;
      return Checked(status, inRange, value, static_cast<uint64_t>(value), path, typeName);
    }
    default:
      FailInvalidNumberType(status, path, typeName, input);
      return 0;
  }
}

double ToReal(BindingResult& status, const BindingProperty& input, std::string_view path,
              double min, double max, const char* typeName) {
  if (!status.Ok()) {
    return 0.0;
  }
  switch (input.Kind()) {
    case BindingKind::Empty:
      FailRequired(status, path);
      return 0.0;
    case BindingKind::Signed: {
      const int64_t value = input.GetSigned();
      const auto real = static_cast<double>(value);
      return Checked(status, real >= min && real <= max, value, real, path, typeName);
    }
    case BindingKind::Unsigned: {
      const uint64_t value = input.GetUnsigned();
      const auto real = static_cast<double>(value);
      return Checked(status, real >= min && real <= max, value, real, path, typeName);
    }
    case BindingKind::Float: {
      const double value = input.GetFloat();
      return Checked(status, !(value < min || value > max), value, value, path, typeName);
    }
    case BindingKind::String: {
      const std::string_view text = input.GetString();
      double value = 0.0;
      const Parse parse = ParseReal(text, value);
      return CheckText(status, parse, !(value < min || value > max), text, path, typeName)
                 ? value
                 : 0.0;
    }
    case BindingKind::Enum: {
      const int32_t value = input.GetEnum().value;
      const auto real = static_cast<double>(value);
      return Checked(status, real >= min && real <= max, value, real, path, typeName);
    }
    default:
      FailInvalidNumberType(status, path, typeName, input);
      return 0.0;
  }
}

std::string ToText(BindingResult& status, const BindingProperty& input, std::string_view path,
                   const BindingContext& context) {
  if (!status.Ok()) {
    return {};
  }
  switch (input.Kind()) {
    case BindingKind::Empty:
      FailRequired(status, path);
      return {};
    case BindingKind::String:
      return std::string(input.GetString());
    case BindingKind::Enum: {
      const BindingEnumPayload payload = input.GetEnum();
      const BindingTypeInfo* typeInfo =
          payload.type == nullptr ? nullptr : context.FindType(*payload.type);
      const BindingEnumValue* named =
          typeInfo == nullptr ? nullptr : typeInfo->FindEnumValue(payload.value);
      if (named == nullptr) {
        Fail(status, msg::kTextEnumValue, payload.value, path);
        return {};
      }
      return named->name;
    }
    default:
      Fail(status, msg::kTextInvalidType, path);
      return {};
  }
}

std::vector<uint8_t> ToBlob(BindingResult& status, const BindingProperty& input,
                            std::string_view path) {
  if (!status.Ok()) {
    return {};
  }
  switch (input.Kind()) {
    case BindingKind::Empty:
      FailRequired(status, path);
      return {};
    case BindingKind::Blob: {
      const std::span<const uint8_t> bytes = input.GetBlob();
      return std::vector<uint8_t>(bytes.begin(), bytes.end());
    }
    case BindingKind::String: {
      const std::string_view text = input.GetString();
      if (!IsBase64Text(text)) {
        Fail(status, msg::kBlobCharacters, path);
        return {};
      }
      return DecodeBase64(text);
    }
    default:
      Fail(status, msg::kBlobInvalidType, path);
      return {};
  }
}

int32_t ToEnum(BindingResult& status, const BindingProperty& input, std::string_view path,
               const BindingTypeInfo* typeInfo) {
  if (!status.Ok()) {
    return 0;
  }
  if (input.Kind() == BindingKind::Empty) {
    FailRequired(status, path);
    return 0;
  }
  if (typeInfo == nullptr) {
    // An enumeration that was not registered has no enumerators to accept.
    Fail(status, msg::kStructUnregistered, path);
    return 0;
  }
  switch (input.Kind()) {
    case BindingKind::Signed: {
      const int64_t value = input.GetSigned();
      if (!HasEnumerator(*typeInfo, value)) {
        Fail(status, msg::kEnumValue, value, typeInfo->name, path);
        return 0;
      }
      return static_cast<int32_t>(value);
    }
    case BindingKind::Unsigned: {
      const uint64_t value = input.GetUnsigned();
      const bool known =
          value <= INT32_MAX && HasEnumerator(*typeInfo, static_cast<int64_t>(value));
      if (!known) {
        Fail(status, msg::kEnumValue, value, typeInfo->name, path);
        return 0;
      }
      return static_cast<int32_t>(value);
    }
    case BindingKind::String:
      return EnumFromText(status, input.GetString(), path, *typeInfo);
    case BindingKind::Enum: {
      const int32_t value = input.GetEnum().value;
      if (typeInfo->FindEnumValue(value) == nullptr) {
        Fail(status, msg::kEnumValue, value, typeInfo->name, path);
        return 0;
      }
      return value;
    }
    default:
      Fail(status, msg::kEnumInvalidType, path, input.KindName());
      return 0;
  }
}

}  // namespace zun
