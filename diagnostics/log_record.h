// What a log target receives for one accepted message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"

namespace zun {

// Local wall-clock time, field by field.
struct LogTimestamp {
  int32_t year = 0;
  int32_t month = 0;  // 1..12
  int32_t day = 0;    // 1..31
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
};

inline constexpr size_t kLogMessageCapacity = 4096;  // text plus its NUL

struct LogRecord {
  LogTimestamp time;  // when the message was accepted
  LogLevel level = LogLevel::Okay;
  LogGroupMask groups = 0;
  // NUL-terminated, at most kLogMessageCapacity - 1 characters; owned by the
  // caller of the write and valid only during it.
  const char* message = "";
};

}  // namespace zun
