// Severity of a log message, and its six-character label.
#pragma once

#include <cstdint>

namespace zun {

enum class LogLevel : int32_t {
  Okay = 0,    // routine progress
  Warn = 1,    // something unexpected that the framework worked around
  Error = 2,   // an operation failed
  Always = 3,  // shown whatever the level filters say
};

// "  OKAY", "  WARN", " ERROR", "ALWAYS"; "   ???" for a value outside the enumeration.
[[nodiscard]] const char* LogLevelLabel(LogLevel level);

}  // namespace zun
