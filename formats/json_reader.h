// The JSON reader: a NUL-terminated UTF-8 text to a value tree, and the
// sniffer that recognises an argument text as JSON.
#pragma once

#include <string>

#include "binding/binding_result.h"

namespace zun {

// Reads the text up to its first NUL. Whitespace only (or nothing) gives an
// ok, Empty result; a syntax error fails with "Error: <text> at offset <n>.".
// A null pointer reads as the empty text.
[[nodiscard]] BindingResult DeserializeJson(const char* text);
// Reads the string's characters as a NUL-terminated text: an embedded NUL
// ends the document.
[[nodiscard]] BindingResult DeserializeJson(const std::string& text);

// True when the first character after leading spaces (0x20 only) is '{' or '['.
[[nodiscard]] bool LooksLikeJson(const char* text);

}  // namespace zun
