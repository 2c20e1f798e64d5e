// Tests for the counting hooks: each hook, run against a counter set of the
// test's own, and the one-time installation behind the framework allocator.
#include "diagnostics/allocation_tracking.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <thread>
#include <vector>

#include "diagnostics/framework_allocator.h"

// Refused requests must come back as null rather than stop the test.
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

namespace zun {
namespace {

constexpr size_t kRefusedSize = SIZE_MAX - 4096;  // no heap grants this

// Routes the framework allocator through counting hooks over a fresh set.
class CountingHooksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)FrameworkAllocator::Size(nullptr);
    InstallAllocationTracking();  // so that the first Allocate does not replace our hooks
    saved_ = CurrentAllocationHooks();
    SetAllocationHooks(CountingAllocationHooks(&counters_));
  }
  void TearDown() override { SetAllocationHooks(saved_); }

  [[nodiscard]] AllocationCounters Read() const { return counters_.Read(); }

  AllocationCounterSet counters_;
  AllocationHooks saved_;
};

TEST_F(CountingHooksTest, FirstAllocationSetsThePeak) {
  void* block = FrameworkAllocator::Allocate(10);
  ASSERT_NE(block, nullptr);
  const AllocationCounters read = Read();
  EXPECT_GE(read.bytesAllocated, 10U);
  EXPECT_EQ(read.bytesAllocated, malloc_usable_size(block));
  EXPECT_EQ(read.allocations, 1U);
  EXPECT_EQ(read.peakLiveBytes, read.bytesAllocated);
  EXPECT_EQ(read.liveAllocationsAtPeak, 1U);
  FrameworkAllocator::Free(block);
  EXPECT_EQ(Read().bytesFreed, Read().bytesAllocated);
  EXPECT_EQ(Read().frees, 1U);
}

TEST_F(CountingHooksTest, FreeingNullChangesNothing) {
  FrameworkAllocator::Free(nullptr);
  const AllocationCounters read = Read();
  EXPECT_EQ(read.frees + read.bytesFreed + read.allocations + read.bytesAllocated, 0U);
}

TEST_F(CountingHooksTest, ReallocatingNullIsOneAllocationAndNoFree) {
  void* block = FrameworkAllocator::Reallocate(nullptr, 16);
  ASSERT_NE(block, nullptr);
  AllocationCounters read = Read();
  EXPECT_EQ(read.allocations, 1U);
  EXPECT_EQ(read.bytesAllocated, malloc_usable_size(block));
  EXPECT_EQ(read.frees, 0U);
  EXPECT_EQ(read.liveAllocationsAtPeak, 1U);
  FrameworkAllocator::Free(block);
  read = Read();
  EXPECT_EQ(read.allocations - read.frees, 0U);
}

TEST_F(CountingHooksTest, ReallocatingCountsTheOldBlockFreedAndTheNewAllocated) {
  void* block = FrameworkAllocator::Allocate(8);
  ASSERT_NE(block, nullptr);
  const size_t oldSize = FrameworkAllocator::Size(block);
  void* grown = FrameworkAllocator::Reallocate(block, 4000);
  ASSERT_NE(grown, nullptr);
  const AllocationCounters read = Read();
  EXPECT_EQ(read.allocations, 2U);
  EXPECT_EQ(read.frees, 1U);
  EXPECT_EQ(read.bytesFreed, oldSize);
  EXPECT_EQ(read.bytesAllocated, oldSize + FrameworkAllocator::Size(grown));
  EXPECT_EQ(read.peakLiveBytes, FrameworkAllocator::Size(grown));
  FrameworkAllocator::Free(grown);
}

TEST_F(CountingHooksTest, ReallocatingToZeroFreesTheBlock) {
  void* block = FrameworkAllocator::Allocate(24);
  ASSERT_NE(block, nullptr);
  const size_t size = FrameworkAllocator::Size(block);
  EXPECT_EQ(FrameworkAllocator::Reallocate(block, 0), nullptr);
  EXPECT_EQ(Read().frees, 1U);
  EXPECT_EQ(Read().bytesFreed, size);
}

TEST_F(CountingHooksTest, RefusedGrowthKeepsTheOldBlockCounted) {
  void* block = FrameworkAllocator::Allocate(32);
  ASSERT_NE(block, nullptr);
  const AllocationCounters before = Read();
  // No heap grants this; the old block stays valid and live.
  EXPECT_EQ(FrameworkAllocator::Reallocate(block, kRefusedSize), nullptr);
  const AllocationCounters after = Read();
  EXPECT_EQ(after.allocations, before.allocations);
  EXPECT_EQ(after.frees, before.frees);
  EXPECT_EQ(after.bytesFreed, before.bytesFreed);
  FrameworkAllocator::Free(block);
  EXPECT_EQ(Read().bytesFreed, Read().bytesAllocated);
}

TEST_F(CountingHooksTest, RefusedAllocationCountsNothing) {
  EXPECT_EQ(FrameworkAllocator::Allocate(kRefusedSize), nullptr);
  EXPECT_EQ(Read().allocations, 0U);
  EXPECT_EQ(Read().bytesAllocated, 0U);
}

TEST_F(CountingHooksTest, DuplicatedTextIsCountedAsItsBlock) {
  char* copy = FrameworkAllocator::DuplicateText("twelve chars");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "twelve chars");
  EXPECT_EQ(Read().allocations, 1U);
  EXPECT_EQ(Read().bytesAllocated, malloc_usable_size(copy));
  EXPECT_GE(Read().bytesAllocated, 13U);
  FrameworkAllocator::Free(copy);
  EXPECT_EQ(FrameworkAllocator::DuplicateText(nullptr), nullptr);
  EXPECT_EQ(Read().allocations, 1U);
}

TEST_F(CountingHooksTest, AllocateFreeAllocateKeepsTheFirstPeak) {
  void* first = FrameworkAllocator::Allocate(100);
  ASSERT_NE(first, nullptr);
  const size_t size = FrameworkAllocator::Size(first);
  FrameworkAllocator::Free(first);
  void* second = FrameworkAllocator::Allocate(100);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Read().peakLiveBytes, size);
  EXPECT_EQ(Read().liveAllocationsAtPeak, 1U);
  FrameworkAllocator::Free(second);
}

TEST(AllocationTrackingTest, InstallsOnceAndCountsIntoTheProcessCounters) {
  // However many threads allocate first, one installation happens and no
  // allocation escapes the counters.
  std::vector<std::thread> threads;
  std::vector<void*> blocks(8, nullptr);
  for (size_t i = 0; i < blocks.size(); ++i) {
    threads.emplace_back([&blocks, i] { blocks[i] = FrameworkAllocator::Allocate(40); });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_TRUE(AllocationTrackingInstalled());
  const AllocationCounters before = ReadAllocationCounters();
  void* block = FrameworkAllocator::Allocate(40);
  ASSERT_NE(block, nullptr);
  const AllocationCounters after = ReadAllocationCounters();
  EXPECT_EQ(after.allocations, before.allocations + 1);
  EXPECT_EQ(after.bytesAllocated, before.bytesAllocated + malloc_usable_size(block));
  FrameworkAllocator::Free(block);
  for (void* each : blocks) FrameworkAllocator::Free(each);
  EXPECT_EQ(ReadAllocationCounters().frees, after.frees + blocks.size() + 1);
}

}  // namespace
}  // namespace zun
