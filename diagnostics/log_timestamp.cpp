// Local time for log records, and its text forms.
#include "diagnostics/log_timestamp.h"

#include <cstdio>

#include "platform/clock.h"

namespace zun {

namespace {

constexpr const char* kTimestampFormat = "%04d-%02d-%02dT%02d:%02d:%02d.%03d";
constexpr const char* kFileNameTimestampFormat = "%04d-%02d-%02dT%02d-%02d-%02d";

size_t ClampedLength(int written, size_t size) {
  if (written < 0 || size == 0) return 0;
  const auto length = static_cast<size_t>(written);
  return length < size ? length : size - 1;
}

}  // namespace

LogTimestamp CurrentLogTimestamp() {
  const platform::LocalTime now = platform::CurrentLocalTime();
  LogTimestamp time;
  time.year = now.year;
  time.month = now.month;
  time.day = now.day;
  time.hour = now.hour;
  time.minute = now.minute;
  time.second = now.second;
  time.millisecond = now.millisecond;
  return time;
}

size_t FormatLogTimestamp(char* buffer, size_t size, const LogTimestamp& time) {
  if (size == 0) return 0;
  const int written = std::snprintf(buffer, size, kTimestampFormat, time.year, time.month, time.day,
                                    time.hour, time.minute, time.second, time.millisecond);
  return ClampedLength(written, size);
}

size_t FormatFileNameTimestamp(char* buffer, size_t size, const LogTimestamp& time) {
  if (size == 0) return 0;
  const int written = std::snprintf(buffer, size, kFileNameTimestampFormat, time.year, time.month,
                                    time.day, time.hour, time.minute, time.second);
  return ClampedLength(written, size);
}

}  // namespace zun
