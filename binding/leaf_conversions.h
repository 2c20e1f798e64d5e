// The scalar rules of value-to-native conversion: each turns one value into a
// native bool, integer, real, text, byte vector or enumerator value, or
// records why it cannot. Readers that parse plain scalars use them too.
//
// Every rule does nothing and returns 0, false or empty when `status` has
// already failed, so the first failure is the one reported. On failure the
// message names the value by `path`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zun {

class BindingContext;
class BindingProperty;
class BindingResult;
struct BindingTypeInfo;

// Accepts Bool, and the texts "1", "0", "true", "false" exactly.
[[nodiscard]] bool ToBool(BindingResult& status, const BindingProperty& input,
                          std::string_view path);

// Accepts Signed, Unsigned, Float (cut toward zero), Enum and texts in the
// grammar of strtoll with base 0, within min..max. `typeName` names the
// target in messages ("int32").
[[nodiscard]] int64_t ToSigned(BindingResult& status, const BindingProperty& input,
                               std::string_view path, int64_t min, int64_t max,
                               const char* typeName);

// As ToSigned with the minimum 0 and the grammar of strtoull; a negative
// text is out of range.
[[nodiscard]] uint64_t ToUnsigned(BindingResult& status, const BindingProperty& input,
                                  std::string_view path, uint64_t max, const char* typeName);

// Accepts Signed, Unsigned, Float (NaN included), Enum and texts in the
// grammar of strtod, within min..max; a text that underflows is out of range.
[[nodiscard]] double ToReal(BindingResult& status, const BindingProperty& input,
                            std::string_view path, double min, double max, const char* typeName);

// Accepts String, and Enum by the name of its enumerator in the enumeration
// that `context` knows under the value's identity. Numbers are not texts.
[[nodiscard]] std::string ToText(BindingResult& status, const BindingProperty& input,
                                 std::string_view path, const BindingContext& context);

// Accepts Blob, and String as base64.
[[nodiscard]] std::vector<uint8_t> ToBlob(BindingResult& status, const BindingProperty& input,
                                          std::string_view path);

// Accepts an enumerator of `typeInfo` by name, by number (Signed, Unsigned,
// a decimal, octal or hex text) or as an Enum value of any enumeration.
[[nodiscard]] int32_t ToEnum(BindingResult& status, const BindingProperty& input,
                             std::string_view path, const BindingTypeInfo* typeInfo);

}  // namespace zun
