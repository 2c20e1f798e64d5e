// Typing of one YAML scalar into a binding value: the core tags through the
// value conversion rules, untagged plain scalars as null, number, bool or text.
#pragma once

#include <string_view>

#include "binding/binding_property.h"
#include "binding/binding_result.h"

namespace zun {

inline constexpr std::string_view kYamlStrTag = "tag:yaml.org,2002:str";
inline constexpr std::string_view kYamlIntTag = "tag:yaml.org,2002:int";
inline constexpr std::string_view kYamlFloatTag = "tag:yaml.org,2002:float";
inline constexpr std::string_view kYamlBoolTag = "tag:yaml.org,2002:bool";

// The words of the three scalar lists; comparisons are exact and case-sensitive.
[[nodiscard]] bool IsYamlTrueWord(std::string_view text);
[[nodiscard]] bool IsYamlFalseWord(std::string_view text);
[[nodiscard]] bool IsYamlNullWord(std::string_view text);

// Stores `text` into `target` by its tag (null when untagged) and, untagged,
// by whether it was quoted. A failure goes into `status`, which may own
// `target`: after a failure the caller must not touch `target` again.
void YamlScalarToValue(BindingResult& status, BindingProperty& target, std::string_view text,
                       const char* tag, bool quoted);

}  // namespace zun
