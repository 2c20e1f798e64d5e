// Counting hooks: the hooks the framework allocator installs on its first
// allocation so that the plugin can report its memory use.
#pragma once

#include "diagnostics/allocation_counters.h"
#include "diagnostics/framework_allocator.h"

namespace zun {

// Hooks that allocate from the standard heap and count into `counters`.
[[nodiscard]] AllocationHooks CountingAllocationHooks(AllocationCounterSet* counters);

// Zeroes the process's counters and installs the counting hooks, once per
// process however many threads arrive at the same time.
void InstallAllocationTracking();
[[nodiscard]] bool AllocationTrackingInstalled();

// The counters that the installed tracking fills.
[[nodiscard]] AllocationCounterSet& ProcessAllocationCounters();

}  // namespace zun
