// The platform layer: process facts, clocks, locks, reservations, debug output.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/critical_section.h"
#include "platform/debug_output.h"
#include "platform/event_tracing.h"
#include "platform/process.h"
#include "platform/virtual_memory.h"

namespace zun::platform {
namespace {

TEST(FileNameOfPathTest, TakesThePartAfterTheLastSeparator) {
  struct Row {
    const char* path;
    const char* name;
  };
  const Row rows[] = {
      {"/usr/bin/core", "core"},
      {"C:\\Program Files\\Core\\core.exe", "core.exe"},
      {"mixed/dir\\name", "name"},
      {"plain", "plain"},
      {"trailing/", ""},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_STREQ(FileNameOfPath(row.path), row.name);
  }
}

TEST(ExecutablePathTest, NamesThisTestProgram) {
  char path[1024];
  const size_t length = ExecutablePath(path, sizeof(path));
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(path), length);
  EXPECT_NE(std::string(FileNameOfPath(path)).find("zun_platform_tests"), std::string::npos);
}

TEST(ExecutablePathTest, CutsToTheCapacity) {
  char path[4];
  const size_t length = ExecutablePath(path, sizeof(path));
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(path[3], '\0');
}

TEST(ThreadIdTest, DiffersBetweenThreadsAndIsStableWithinOne) {
  const uint32_t mine = CurrentThreadId();
  EXPECT_EQ(mine, CurrentThreadId());
  uint32_t other = mine;
  std::thread([&] { other = CurrentThreadId(); }).join();
  EXPECT_NE(mine, other);
}

TEST(ClockTest, CounterIsMonotonicAndFrequencyPositive) {
  EXPECT_GT(PerformanceFrequency(), 0);
  const int64_t first = PerformanceCounter();
  const int64_t second = PerformanceCounter();
  EXPECT_LE(first, second);
}

TEST(ClockTest, LocalTimeFieldsAreInRange) {
  const LocalTime now = CurrentLocalTime();
  EXPECT_GE(now.year, 2020);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_LT(now.hour, 24);
  EXPECT_LT(now.minute, 60);
  EXPECT_LT(now.second, 61);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LT(now.millisecond, 1000);
}

TEST(CriticalSectionTest, IsRecursiveAndExcludesOtherThreads) {
  CriticalSection section;
  section.Enter();
  section.Enter();  // the same thread may enter again
  bool other_entered = true;
  std::thread([&] { other_entered = section.TryEnter(); }).join();
  EXPECT_FALSE(other_entered);
  section.Leave();
  section.Leave();
  std::thread([&] {
    other_entered = section.TryEnter();
    if (other_entered) section.Leave();
  }).join();
  EXPECT_TRUE(other_entered);
}

TEST(CriticalSectionTest, SerialisesIncrements) {
  CriticalSection section;
  int64_t counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        CriticalSectionGuard guard(section);
        ++counter;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(counter, 40000);
}

TEST(VirtualMemoryTest, FreshReservationsAreAlignedZeroedWritableAndCounted) {
  TrimRegionCache();
  const size_t before = LiveRegionCount();
  void* region = ReserveRegion(kReservationGranularity);
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(region) % kReservationGranularity, 0u);
  EXPECT_EQ(LiveRegionCount(), before + 1);
  auto* bytes = static_cast<unsigned char*>(region);
  EXPECT_EQ(bytes[0], 0);
  EXPECT_EQ(bytes[kReservationGranularity - 1], 0);
  bytes[0] = 1;
  bytes[kReservationGranularity - 1] = 2;
  ReleaseRegion(region, kReservationGranularity);
  EXPECT_EQ(LiveRegionCount(), before);
}

TEST(VirtualMemoryTest, ReleasedRegionsAreReusedUpToTheCacheBound) {
  TrimRegionCache();
  void* first = ReserveRegion(kReservationGranularity);
  ReleaseRegion(first, kReservationGranularity);
  EXPECT_EQ(CachedRegionCount(), 1u);
  void* again = ReserveRegion(kReservationGranularity);
  EXPECT_EQ(again, first) << "the cached region serves the next reservation";
  EXPECT_EQ(CachedRegionCount(), 0u);
  static_cast<unsigned char*>(again)[100] = 7;  // still writable after reuse
  ReleaseRegion(again, kReservationGranularity);

  std::vector<void*> regions;
  for (size_t i = 0; i < kMaxCachedRegions + 8; ++i) regions.push_back(ReserveRegion(kReservationGranularity));
  for (void* region : regions) ReleaseRegion(region, kReservationGranularity);
  EXPECT_EQ(CachedRegionCount(), kMaxCachedRegions) << "the rest went back to the system";
  TrimRegionCache();
  EXPECT_EQ(CachedRegionCount(), 0u);
}

TEST(VirtualMemoryTest, LargerRegionsAreNeverCached) {
  TrimRegionCache();
  void* region = ReserveRegion(4 * kReservationGranularity);
  ASSERT_NE(region, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(region) % kReservationGranularity, 0u);
  ReleaseRegion(region, 4 * kReservationGranularity);
  EXPECT_EQ(CachedRegionCount(), 0u);
}

TEST(VirtualMemoryTest, RefusesSizesOffTheGranularity) {
  EXPECT_EQ(ReserveRegion(0), nullptr);
  EXPECT_EQ(ReserveRegion(4096), nullptr);
}

TEST(DebugOutputTest, HandlerCapturesTextUntilRemoved) {
  std::string captured;
  SetDebugOutputHandler([](const char* text, void* context) { *static_cast<std::string*>(context) += text; },
                        &captured);
  OutputDebugText("first ");
  OutputDebugText(nullptr);
  OutputDebugText("second");
  SetDebugOutputHandler(nullptr, nullptr);
  OutputDebugText("dropped");
  EXPECT_EQ(captured, "first second");
}

TEST(EventTracingTest, MissingLibraryLeavesEveryEntryPointAbsent) {
  // This test program is not linked against, nor run beside, a tracing library.
  const EventTracingEntryPoints entry_points = LoadEventTracing();
  EXPECT_FALSE(entry_points.library_loaded);
  EXPECT_EQ(entry_points.event_register, nullptr);
  EXPECT_EQ(entry_points.event_write, nullptr);
  EXPECT_EQ(entry_points.event_unregister, nullptr);
}

}  // namespace
}  // namespace zun::platform
