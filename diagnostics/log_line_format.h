// Rendering a log record into one line with a line format.
//
// Tokens: #D local time of the record, #E executable file name, #G group
// names, #H seconds on the high-resolution clock, #L level label, #M message,
// #T calling thread's identifier; # followed by any other character gives
// that character ("##" is one '#'), and a final lone '#' ends the format.
#pragma once

#include <cstddef>

#include "diagnostics/log_record.h"

namespace zun {

// Writes the line, cut to the buffer, always ending with exactly one line
// feed (none is added when the text already ends with one) and a NUL when
// size >= 2. Returns the length written, line feed included.
size_t FormatLogLine(char* buffer, size_t size, const char* lineFormat, const LogRecord& record);

// Seconds since the first reading of the high-resolution clock, as
// "%06d.%03d". Returns the length written.
size_t FormatHighResolutionSeconds(char* buffer, size_t size);

}  // namespace zun
