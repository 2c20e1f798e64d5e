// Page-granular read-write reservations straight from the operating system.
#pragma once

#include <cstddef>

namespace zun::platform {

inline constexpr size_t kReservationGranularity = 64 * 1024;

// Reserves and commits `size` bytes (a multiple of kReservationGranularity),
// zero-filled and aligned to kReservationGranularity. Null when refused.
[[nodiscard]] void* ReserveRegion(size_t size);

// Gives back a whole region obtained from ReserveRegion.
void ReleaseRegion(void* base, size_t size);

// Regions reserved and not yet released, process-wide (for tests and stats).
[[nodiscard]] size_t LiveRegionCount();

}  // namespace zun::platform
