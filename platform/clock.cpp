// Monotonic counter in nanoseconds; local time from the C library.
#include "platform/clock.h"

#include <ctime>

namespace zun::platform {

namespace {
constexpr int64_t kNanosecondsPerSecond = 1000000000;
}

int64_t PerformanceCounter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

int64_t PerformanceFrequency() { return kNanosecondsPerSecond; }

LocalTime CurrentLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const time_t seconds = now.tv_sec;
  tm local{};
  localtime_r(&seconds, &local);
  LocalTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec;
  result.millisecond = static_cast<int32_t>(now.tv_nsec / 1000000);
  return result;
}

}  // namespace zun::platform
