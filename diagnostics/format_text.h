// FormatText: builds a message for a person from a format with numbered
// placeholders (%1, %2, %3) and arguments whose kinds come from their static types.
#pragma once

#include <cstddef>
#include <string>

#include "diagnostics/format_positional.h"

namespace zun {

// The stack buffer FormatText renders into; results are cut to one less.
inline constexpr size_t kFormatTextCapacity = 4096;

// Renders `format` with `args` through FormatPositional and returns the text.
// Arguments may be integers (by signedness and width), bool ("true"/"false"),
// char (the character), float or double, C strings and char arrays, std::string,
// std::string_view, and any type with an ADL-visible `std::string ToText(const T&)`.
template <typename... Args>
[[nodiscard]] std::string FormatText(const char* format, const Args&... args);

namespace format_detail {
// The out-of-line half of FormatText: the stack buffer and the string.
[[nodiscard]] std::string RenderText(const char* format, const FormatArgument* arguments,
                                     const void* const* values, size_t count);
}  // namespace format_detail

}  // namespace zun

#include "diagnostics/format_text-inl.h"
