// Counting hooks over the standard heap, and their one-time installation.
#include "diagnostics/allocation_tracking.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace zun {

namespace {

constinit AllocationCounterSet processCounters;
constinit std::atomic<bool> installed{false};

size_t BlockSize(const void* block) {
  return block == nullptr ? 0 : malloc_usable_size(const_cast<void*>(block));
}

AllocationCounterSet& CountersOf(void* context) { return *static_cast<AllocationCounterSet*>(context); }

// Only blocks that exist are counted: a refused request adds nothing, so
// (allocations - frees) stays the number of live blocks.
void* CountingAllocate(size_t size, void* context) {
  void* block = std::malloc(size);
  if (block == nullptr) return nullptr;
  AllocationCounterSet& counters = CountersOf(context);
  counters.CountAllocation(BlockSize(block));
  counters.UpdatePeak();
  return block;
}

void CountingFree(void* block, void* context) {
  if (block == nullptr) return;
  const size_t size = BlockSize(block);
  std::free(block);
  CountersOf(context).CountFree(size);
}

// A null block is a plain allocation; a refused growth leaves the old block
// alive and counted; a zero size frees the block.
void* CountingReallocate(void* block, size_t size, void* context) {
  if (block == nullptr) return CountingAllocate(size, context);
  if (size == 0) {
    CountingFree(block, context);
    return nullptr;
  }
  const size_t oldSize = BlockSize(block);
  void* moved = std::realloc(block, size);
  if (moved == nullptr) return nullptr;
  AllocationCounterSet& counters = CountersOf(context);
  counters.CountFree(oldSize);
  counters.CountAllocation(BlockSize(moved));
  counters.UpdatePeak();
  return moved;
}

char* CountingDuplicateText(const char* text, void* context) {
  if (text == nullptr) return nullptr;
  char* copy = strdup(text);
  if (copy == nullptr) return nullptr;
  AllocationCounterSet& counters = CountersOf(context);
  counters.CountAllocation(BlockSize(copy));
  counters.UpdatePeak();
  return copy;
}

size_t CountingSize(const void* block, void*) { return BlockSize(block); }

}  // namespace

AllocationHooks CountingAllocationHooks(AllocationCounterSet* counters) {
  AllocationHooks hooks;
  hooks.allocate = CountingAllocate;
  hooks.free = CountingFree;
  hooks.reallocate = CountingReallocate;
  hooks.duplicateText = CountingDuplicateText;
  hooks.size = CountingSize;
  hooks.context = counters;
  return hooks;
}

void InstallAllocationTracking() {
  static std::once_flag once;
  std::call_once(once, [] {
    processCounters.Reset();
    SetAllocationHooks(CountingAllocationHooks(&processCounters));
    installed.store(true, std::memory_order_release);
  });
}

bool AllocationTrackingInstalled() { return installed.load(std::memory_order_acquire); }

AllocationCounterSet& ProcessAllocationCounters() { return processCounters; }

AllocationCounters ReadAllocationCounters() { return processCounters.Read(); }

}  // namespace zun
