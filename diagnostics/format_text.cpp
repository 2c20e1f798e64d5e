// FormatText's rendering into its stack buffer.
#include "diagnostics/format_text.h"

namespace zun::format_detail {

std::string RenderText(const char* format, const FormatArgument* arguments,
                       const void* const* values, size_t count) {
  char buffer[kFormatTextCapacity];
  const size_t length = FormatPositional(buffer, sizeof buffer, format, arguments, values, count);
  return std::string(buffer, length);
}

}  // namespace zun::format_detail
