// The positional message formatter: renders a format with numbered (%1) and
// printf-style (%1$08x, %*d) placeholders into a caller-owned buffer, never allocating.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun {

// Room for one placeholder's printf specification, terminating NUL included.
inline constexpr size_t kFormatSpecCapacity = 64;
// A specification that would reach this many characters ends the output at its '%'.
inline constexpr size_t kFormatSpecLimit = 60;

// Everything a render routine needs for one placeholder. The formatter fills the
// output window, the specification, the value and the `*` integers; the render
// routine fills the conversion fields as it settles the specification.
struct FormatContext {
  char* output = nullptr;   // where this placeholder's text begins
  size_t written = 0;       // characters already in the buffer before `output`
  size_t room = 0;          // bytes from `output` to the end of the buffer, the NUL's included
  // "%", flags, width, precision, modifier, conversion. Left uninitialised on purpose:
  // the parser writes it first, and clearing it on every placeholder is measurable.
  char spec[kFormatSpecCapacity];
  size_t specLength = 0;
  const char* allowedConversions = "";  // the conversion letters the argument's kind accepts
  char conversion = '\0';               // the conversion letter finally used
  const char* modifier = "";            // length modifier added to a bare placeholder ("" or "ll")
  const void* value = nullptr;          // the argument value, as described by its kind
  int32_t starValues[2] = {};           // `*` integers in printf order: width first, then precision
  size_t starCount = 0;
};

// One argument's kind: how it renders and, if it has one, its integer for a `*`.
struct FormatArgument {
  // Writes at most context.room - 1 characters at context.output (no NUL needed) and
  // returns how many it wrote, or context.room when the text did not fit, which ends
  // the formatting at the end of the buffer.
  size_t (*render)(FormatContext& context) = nullptr;
  // The value as a signed 32-bit integer (64-bit kinds give their low 32 bits), used
  // for a `*` width or precision; null for kinds that have no integer.
  int32_t (*integer)(const void* value) = nullptr;
};

// The built-in kinds. The comment of each says what its value pointer points at.
namespace format_kinds {
extern const FormatArgument kSigned32;    // const int32_t*
extern const FormatArgument kUnsigned32;  // const uint32_t*
extern const FormatArgument kSigned64;    // const int64_t*
extern const FormatArgument kUnsigned64;  // const uint64_t*
extern const FormatArgument kDouble;      // const double*
extern const FormatArgument kCString;     // the characters themselves, NUL-terminated (null renders "(null)")
extern const FormatArgument kString;      // const std::string* (all of its characters)
extern const FormatArgument kStringView;  // const std::string_view*
}  // namespace format_kinds

// Renders `format` with `count` arguments (kinds and value pointers in argument
// order) into `buffer`: at most capacity - 1 characters followed by a NUL. Returns
// the characters written, without the NUL. A malformed placeholder, an argument
// number above `count` or an unusable `*` argument ends the output where it stands.
// A null or zero-capacity buffer receives nothing; a null format renders as empty.
size_t FormatPositional(char* buffer, size_t capacity, const char* format,
                        const FormatArgument* arguments, const void* const* values, size_t count);

}  // namespace zun
