// Allocation counters as fourteen 32-bit words.
#include "plugin/memory_stats.h"

#include "diagnostics/framework_allocator.h"

namespace zun {

namespace {
void PutCounter(PluginMemoryStats* stats, int index, uint64_t value) {
  stats->words[2 * index] = static_cast<uint32_t>(value);
  stats->words[2 * index + 1] = static_cast<uint32_t>(value >> 32);
}
}  // namespace

void FillMemoryStats(PluginMemoryStats* stats) {
  if (stats == nullptr) return;
  const AllocationCounters counters = ReadAllocationCounters();
  PutCounter(stats, 0, counters.peakLiveBytes);
  PutCounter(stats, 1, counters.liveAllocationsAtPeak);
  PutCounter(stats, 2, counters.bytesAllocated);
  PutCounter(stats, 3, counters.allocations);
  PutCounter(stats, 4, counters.bytesFreed);
  PutCounter(stats, 5, counters.frees);
  stats->words[12] = 0;
  stats->words[13] = 0;
}

}  // namespace zun
