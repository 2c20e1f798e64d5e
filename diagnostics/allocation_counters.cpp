// Atomic allocation counters with a consistent peak pair.
#include "diagnostics/allocation_counters.h"

#include <thread>

namespace zun {

namespace {

// Blocks released that were allocated before counting began (or through other
// hooks) can make the freed total exceed the allocated one; that is no
// negative live size.
uint64_t NotBelowZero(int64_t live) { return live > 0 ? static_cast<uint64_t>(live) : 0; }

}  // namespace

void AllocationCounterSet::CountAllocation(size_t blockBytes) {
  bytesAllocated_.fetch_add(blockBytes, std::memory_order_relaxed);
  allocations_.fetch_add(1, std::memory_order_relaxed);
  liveBytes_.fetch_add(static_cast<int64_t>(blockBytes), std::memory_order_relaxed);
  liveAllocations_.fetch_add(1, std::memory_order_relaxed);
}

void AllocationCounterSet::CountFree(size_t blockBytes) {
  bytesFreed_.fetch_add(blockBytes, std::memory_order_relaxed);
  frees_.fetch_add(1, std::memory_order_relaxed);
  liveBytes_.fetch_sub(static_cast<int64_t>(blockBytes), std::memory_order_relaxed);
  liveAllocations_.fetch_sub(1, std::memory_order_relaxed);
}

void AllocationCounterSet::UpdatePeak() {
  const uint64_t live = NotBelowZero(liveBytes_.load(std::memory_order_relaxed));
  if (live <= peakLiveBytes_.load(std::memory_order_relaxed)) return;
  LockPeak();
  // Read again under the lock so the stored pair belongs to one moment.
  const uint64_t liveNow = NotBelowZero(liveBytes_.load(std::memory_order_relaxed));
  if (liveNow > peakLiveBytes_.load(std::memory_order_relaxed)) {
    peakLiveBytes_.store(liveNow, std::memory_order_relaxed);
    liveAllocationsAtPeak_.store(NotBelowZero(liveAllocations_.load(std::memory_order_relaxed)),
                                 std::memory_order_relaxed);
  }
  UnlockPeak();
}

void AllocationCounterSet::Reset() {
  LockPeak();
  peakLiveBytes_.store(0, std::memory_order_relaxed);
  liveAllocationsAtPeak_.store(0, std::memory_order_relaxed);
  bytesAllocated_.store(0, std::memory_order_relaxed);
  allocations_.store(0, std::memory_order_relaxed);
  bytesFreed_.store(0, std::memory_order_relaxed);
  frees_.store(0, std::memory_order_relaxed);
  liveBytes_.store(0, std::memory_order_relaxed);
  liveAllocations_.store(0, std::memory_order_relaxed);
  UnlockPeak();
}

AllocationCounters AllocationCounterSet::Read() const {
  AllocationCounters counters;
  LockPeak();
  counters.peakLiveBytes = peakLiveBytes_.load(std::memory_order_relaxed);
  counters.liveAllocationsAtPeak = liveAllocationsAtPeak_.load(std::memory_order_relaxed);
  UnlockPeak();
  counters.bytesAllocated = bytesAllocated_.load(std::memory_order_relaxed);
  counters.allocations = allocations_.load(std::memory_order_relaxed);
  counters.bytesFreed = bytesFreed_.load(std::memory_order_relaxed);
  counters.frees = frees_.load(std::memory_order_relaxed);
  return counters;
}

void AllocationCounterSet::LockPeak() const {
  // Held for a handful of loads and stores: yielding is enough while waiting.
  while (peakLock_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
}

void AllocationCounterSet::UnlockPeak() const {
  peakLock_.clear(std::memory_order_release);
}

}  // namespace zun
