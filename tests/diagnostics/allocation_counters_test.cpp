// Tests for the allocation counter set: totals, the peak pair, and reading
// under concurrent updates.
#include "diagnostics/allocation_counters.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zun {
namespace {

TEST(AllocationCounterSetTest, StartsAtZero) {
  AllocationCounterSet counters;
  const AllocationCounters read = counters.Read();
  EXPECT_EQ(read.peakLiveBytes, 0U);
  EXPECT_EQ(read.liveAllocationsAtPeak, 0U);
  EXPECT_EQ(read.bytesAllocated, 0U);
  EXPECT_EQ(read.allocations, 0U);
  EXPECT_EQ(read.bytesFreed, 0U);
  EXPECT_EQ(read.frees, 0U);
}

TEST(AllocationCounterSetTest, PeakRecordsLiveBytesAndBlocksOfItsMoment) {
  AllocationCounterSet counters;
  counters.CountAllocation(100);
  counters.UpdatePeak();
  counters.CountAllocation(50);
  counters.UpdatePeak();
  counters.CountFree(100);
  counters.CountAllocation(30);  // live 80: below the peak of 150
  counters.UpdatePeak();
  const AllocationCounters read = counters.Read();
  EXPECT_EQ(read.peakLiveBytes, 150U);
  EXPECT_EQ(read.liveAllocationsAtPeak, 2U);
  EXPECT_EQ(read.bytesAllocated, 180U);
  EXPECT_EQ(read.allocations, 3U);
  EXPECT_EQ(read.bytesFreed, 100U);
  EXPECT_EQ(read.frees, 1U);
}

TEST(AllocationCounterSetTest, EqualLiveSizeLeavesPeakAndItsCount) {
  AllocationCounterSet counters;
  counters.CountAllocation(64);
  counters.UpdatePeak();
  counters.CountFree(64);
  counters.CountAllocation(32);
  counters.CountAllocation(32);  // live 64 again, now in two blocks
  counters.UpdatePeak();
  EXPECT_EQ(counters.Read().peakLiveBytes, 64U);
  EXPECT_EQ(counters.Read().liveAllocationsAtPeak, 1U);
}

TEST(AllocationCounterSetTest, MoreFreedThanAllocatedIsNoLiveSize) {
  // Blocks from before counting began are freed through the counting hooks.
  AllocationCounterSet counters;
  counters.CountFree(500);
  counters.CountAllocation(10);
  counters.UpdatePeak();
  EXPECT_EQ(counters.Read().peakLiveBytes, 0U);
  EXPECT_EQ(counters.Read().liveAllocationsAtPeak, 0U);
}

TEST(AllocationCounterSetTest, ResetZeroesEverything) {
  AllocationCounterSet counters;
  counters.CountAllocation(8);
  counters.UpdatePeak();
  counters.CountFree(8);
  counters.Reset();
  const AllocationCounters read = counters.Read();
  EXPECT_EQ(read.peakLiveBytes + read.liveAllocationsAtPeak + read.bytesAllocated + read.allocations +
                read.bytesFreed + read.frees,
            0U);
}

TEST(AllocationCounterSetTest, ConcurrentUpdatesLoseNothing) {
  AllocationCounterSet counters;
  constexpr int kThreads = 4;
  constexpr int kRounds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&counters] {
      for (int i = 0; i < kRounds; ++i) {
        counters.CountAllocation(16);
        counters.UpdatePeak();
        counters.CountFree(16);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  const AllocationCounters read = counters.Read();
  EXPECT_EQ(read.allocations, static_cast<uint64_t>(kThreads) * kRounds);
  EXPECT_EQ(read.bytesAllocated, read.allocations * 16);
  EXPECT_EQ(read.bytesFreed, read.bytesAllocated);
  EXPECT_EQ(read.frees, read.allocations);
  // Never more than one block per thread is live.
  EXPECT_GE(read.peakLiveBytes, 16U);
  EXPECT_LE(read.peakLiveBytes, 16U * kThreads);
  EXPECT_LE(read.liveAllocationsAtPeak, static_cast<uint64_t>(kThreads));
}

}  // namespace
}  // namespace zun
