// Monotonic high-resolution counter and the local wall-clock time.
#pragma once

#include <cstdint>

namespace zun::platform {

// Ticks of a monotonic counter; PerformanceFrequency() ticks make a second.
[[nodiscard]] int64_t PerformanceCounter();
[[nodiscard]] int64_t PerformanceFrequency();

struct LocalTime {
  int32_t year = 0;
  int32_t month = 0;  // 1..12
  int32_t day = 0;    // 1..31
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
};

[[nodiscard]] LocalTime CurrentLocalTime();

}  // namespace zun::platform
