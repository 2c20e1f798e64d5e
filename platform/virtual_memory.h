// Page-granular read-write reservations from the operating system.
//
// Mapping and unmapping cost system calls, translation-cache flushes and
// first-touch faults, and a value heap releases a reservation as soon as its
// pages are free, then needs one again for the next tree. So a released
// region is kept mapped in a small bounded cache and served again by the
// next reservation. At most kMaxCachedRegions (4 MiB) stay cached; beyond
// that, released regions go back to the system at once.
#pragma once

#include <cstddef>

namespace zun::platform {

inline constexpr size_t kReservationGranularity = 64 * 1024;
inline constexpr size_t kMaxCachedRegions = 64;

// Reserves and commits `size` bytes (a multiple of kReservationGranularity),
// read-write and aligned to kReservationGranularity. The contents are
// unspecified (a fresh mapping reads zero). Null when refused.
[[nodiscard]] void* ReserveRegion(size_t size);

// Gives back a whole region obtained from ReserveRegion.
void ReleaseRegion(void* base, size_t size);

// Regions reserved and not yet released, process-wide (for tests and stats).
[[nodiscard]] size_t LiveRegionCount();

// Released regions still mapped for reuse.
[[nodiscard]] size_t CachedRegionCount();

// Unmaps every cached region.
void TrimRegionCache();

}  // namespace zun::platform
