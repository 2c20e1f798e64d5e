// The current local time and its two text forms.
#pragma once

#include <cstddef>

#include "diagnostics/log_record.h"

namespace zun {

[[nodiscard]] LogTimestamp CurrentLogTimestamp();

// "2017-03-05T07:08:09.010". Returns the length written (cut to the buffer).
size_t FormatLogTimestamp(char* buffer, size_t size, const LogTimestamp& time);

// "2017-03-05T07-08-09": no milliseconds and no colons, usable in file names.
size_t FormatFileNameTimestamp(char* buffer, size_t size, const LogTimestamp& time);

}  // namespace zun
