// The page pool: page order, reuse, and reservations going back to the system.
#include "binding/page_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "platform/virtual_memory.h"

namespace zun {
namespace {

uintptr_t Address(void* page) { return reinterpret_cast<uintptr_t>(page); }

TEST(BindingPagePoolTest, FreshPoolHandsOutItsFirstReservationInAscendingOrder) {
  BindingPagePool pool;
  std::vector<void*> pages;
  for (size_t i = 0; i < BindingPagePool::kPagesPerReservation; ++i) pages.push_back(pool.TakePage());

  EXPECT_EQ(pool.ReservationCount(), 1u);
  EXPECT_EQ(Address(pages[0]) % BindingPagePool::kReservationSize, 0u);
  for (size_t i = 1; i < pages.size(); ++i) {
    EXPECT_EQ(Address(pages[i]), Address(pages[0]) + i * BindingPagePool::kPageSize) << "page " << i;
  }
  for (void* page : pages) pool.ReturnPage(page);
}

TEST(BindingPagePoolTest, SeventeenthPageOpensASecondReservation) {
  BindingPagePool pool;
  std::vector<void*> pages;
  for (size_t i = 0; i <= BindingPagePool::kPagesPerReservation; ++i) pages.push_back(pool.TakePage());
  EXPECT_EQ(pool.ReservationCount(), 2u);
  EXPECT_EQ(pool.FreePageCount(), BindingPagePool::kPagesPerReservation - 1);
  for (void* page : pages) pool.ReturnPage(page);
  EXPECT_EQ(pool.ReservationCount(), 0u);
}

TEST(BindingPagePoolTest, ReturnedPageIsTakenAgainBeforeHigherPages) {
  BindingPagePool pool;
  void* first = pool.TakePage();
  void* second = pool.TakePage();
  void* third = pool.TakePage();
  pool.ReturnPage(second);
  EXPECT_EQ(pool.FreePageCount(), BindingPagePool::kPagesPerReservation - 2);
  EXPECT_EQ(pool.TakePage(), second);
  pool.ReturnPage(first);
  pool.ReturnPage(second);
  pool.ReturnPage(third);
}

TEST(BindingPagePoolTest, ReservationGoesBackToTheSystemWhenAllItsPagesAreFree) {
  const size_t regionsBefore = platform::LiveRegionCount();
  BindingPagePool pool;
  void* first = pool.TakePage();
  void* second = pool.TakePage();
  EXPECT_EQ(platform::LiveRegionCount(), regionsBefore + 1);

  pool.ReturnPage(first);
  EXPECT_EQ(pool.ReservationCount(), 1u) << "one page of the reservation is still out";
  pool.ReturnPage(second);
  EXPECT_EQ(pool.ReservationCount(), 0u);
  EXPECT_EQ(platform::LiveRegionCount(), regionsBefore);
}

TEST(BindingPagePoolTest, LowestReservationServesFirst) {
  BindingPagePool pool;
  std::vector<void*> pages;
  for (size_t i = 0; i < 2 * BindingPagePool::kPagesPerReservation; ++i) pages.push_back(pool.TakePage());
  void* lowFirst = Address(pages[0]) < Address(pages[16]) ? pages[0] : pages[16];
  void* highFirst = lowFirst == pages[0] ? pages[16] : pages[0];
  pool.ReturnPage(highFirst);
  pool.ReturnPage(lowFirst);
  EXPECT_EQ(pool.TakePage(), lowFirst);
  EXPECT_EQ(pool.TakePage(), highFirst);
  for (void* page : pages) pool.ReturnPage(page);
}

TEST(BindingPagePoolTest, PagesAreWritableAndDistinctAcrossThreads) {
  BindingPagePool pool;
  constexpr int kThreads = 4;
  constexpr int kRounds = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&pool, t] {
      for (int round = 0; round < kRounds; ++round) {
        std::vector<unsigned char*> pages;
        for (int i = 0; i < 5; ++i) {
          auto* page = static_cast<unsigned char*>(pool.TakePage());
          std::fill(page, page + BindingPagePool::kPageSize, static_cast<unsigned char>(t + 1));
          pages.push_back(page);
        }
        for (unsigned char* page : pages) {
          ASSERT_EQ(page[0], t + 1);
          ASSERT_EQ(page[BindingPagePool::kPageSize - 1], t + 1);
          pool.ReturnPage(page);
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(pool.ReservationCount(), 0u);
}

TEST(BindingPagePoolTest, ProcessPoolIsOneInstanceForAllThreads) {
  BindingPagePool* seen[4] = {};
  std::vector<std::thread> threads;
  for (auto& slot : seen) threads.emplace_back([&slot] { slot = &BindingPagePool::Process(); });
  for (std::thread& thread : threads) thread.join();
  for (BindingPagePool* pool : seen) EXPECT_EQ(pool, &BindingPagePool::Process());
}

}  // namespace
}  // namespace zun
