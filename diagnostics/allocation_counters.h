// The six allocation counters and the lock-free set that keeps them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace zun {

// A snapshot of the counters, in the order the memory statistics report them.
struct AllocationCounters {
  uint64_t peakLiveBytes = 0;          // largest (bytes allocated - bytes freed) seen
  uint64_t liveAllocationsAtPeak = 0;  // (allocations - frees) when the peak was last raised
  uint64_t bytesAllocated = 0;
  uint64_t allocations = 0;
  uint64_t bytesFreed = 0;
  uint64_t frees = 0;
};

static_assert(sizeof(AllocationCounters) == 48);

// Counters updated by any thread without a lock. The peak and its live count
// form a pair that is raised under a tiny spin lock, so a reader never sees a
// peak with the live count of another moment. Live bytes and live blocks are
// kept as counters of their own: a difference of two totals read one after
// the other mixes two moments and can report a peak that never existed.
class AllocationCounterSet {
 public:
  constexpr AllocationCounterSet() = default;
  AllocationCounterSet(const AllocationCounterSet&) = delete;
  AllocationCounterSet& operator=(const AllocationCounterSet&) = delete;

  void CountAllocation(size_t blockBytes);
  void CountFree(size_t blockBytes);
  // Raises the peak when the live bytes exceed it.
  void UpdatePeak();
  void Reset();

  [[nodiscard]] AllocationCounters Read() const;

 private:
  void LockPeak() const;
  void UnlockPeak() const;

  std::atomic<uint64_t> peakLiveBytes_{0};
  std::atomic<uint64_t> liveAllocationsAtPeak_{0};
  std::atomic<uint64_t> bytesAllocated_{0};
  std::atomic<uint64_t> allocations_{0};
  std::atomic<uint64_t> bytesFreed_{0};
  std::atomic<uint64_t> frees_{0};
  std::atomic<int64_t> liveBytes_{0};
  std::atomic<int64_t> liveAllocations_{0};
  mutable std::atomic_flag peakLock_{};
};

// The counters of the framework allocator's tracking (all zero before its
// first allocation).
[[nodiscard]] AllocationCounters ReadAllocationCounters();

}  // namespace zun
