// The YAML reader: one YAML document into a binding value, and the sniffing
// test that recognises an argument text written in YAML. Nothing writes YAML.
#pragma once

#include <string_view>

#include "binding/binding_result.h"

namespace zun {

// Reads the whole of `text` (its bytes as they are, UTF-8) as one document.
// On failure the result holds the message, with the line and column of the
// node or of the parser's problem.
[[nodiscard]] BindingResult DeserializeYaml(std::string_view text);
// As above for a NUL-terminated text; null reads as the empty text.
[[nodiscard]] BindingResult DeserializeYaml(const char* text);

// True when the text begins with "---" after any leading spaces (0x20 only).
[[nodiscard]] bool LooksLikeYaml(const char* text);

}  // namespace zun
