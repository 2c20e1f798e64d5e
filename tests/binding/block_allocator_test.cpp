// The heap's size classes: capacities of embedded and pool pages, pages
// leaving and rejoining their class list, and pages going back to the pool.
#include "binding/block_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "binding/page_pool.h"

namespace zun {
namespace {

constexpr bool kNarrowPointers = sizeof(void*) == 4;

struct CapacityRow {
  size_t blockSize;
  size_t embedded;  // slots of the 144-byte page
  size_t pooled;    // slots of a 4 KiB page
};

// Pages begin with a 16-byte header on the 32-bit production build and a
// 24-byte one where pointers are 8 bytes wide.
const CapacityRow kCapacities[] = {
    {4, kNarrowPointers ? 32u : 30u, kNarrowPointers ? 1020u : 1018u},
    {8, kNarrowPointers ? 16u : 15u, kNarrowPointers ? 510u : 509u},
    {12, 10, 339},
    {40, 2, 101},
    {72, 1, 55},
};

class BlockAllocatorTest : public ::testing::Test {
 protected:
  BindingPagePool pool_;
};

TEST_F(BlockAllocatorTest, EmbeddedAndPoolPagesHoldTheirSlotCounts) {
  for (const CapacityRow& row : kCapacities) {
    SCOPED_TRACE(row.blockSize);
    EXPECT_EQ(BlockAllocator::SlotCount(row.blockSize, BlockAllocator::kEmbeddedPageSize), row.embedded);
    EXPECT_EQ(BlockAllocator::SlotCount(row.blockSize, BindingPagePool::kPageSize), row.pooled);

    BlockAllocator blocks(pool_);
    std::vector<void*> taken;
    for (size_t i = 0; i < row.embedded; ++i) taken.push_back(blocks.Allocate(row.blockSize));
    EXPECT_EQ(pool_.ReservationCount(), 0u) << "the embedded page alone serves the first blocks";

    for (size_t i = 0; i < row.pooled; ++i) taken.push_back(blocks.Allocate(row.blockSize));
    EXPECT_EQ(pool_.FreePageCount(), BindingPagePool::kPagesPerReservation - 1);

    taken.push_back(blocks.Allocate(row.blockSize));
    EXPECT_EQ(pool_.FreePageCount(), BindingPagePool::kPagesPerReservation - 2)
        << "a full pool page makes the class take another";
    EXPECT_EQ(blocks.UsedBlockCount(row.blockSize), taken.size());

    for (void* block : taken) blocks.Release(block, row.blockSize);
    EXPECT_EQ(blocks.UsedBlockCount(row.blockSize), 0u);
    EXPECT_EQ(pool_.ReservationCount(), 0u);
  }
}

TEST_F(BlockAllocatorTest, BlocksLieAtTheirSlotsAndSizesRoundUp) {
  BlockAllocator blocks(pool_);
  auto* first = static_cast<unsigned char*>(blocks.Allocate(10));  // the 12-byte class
  auto* second = static_cast<unsigned char*>(blocks.Allocate(12));
  EXPECT_EQ(second - first, 12);
  blocks.Release(second, 12);
  blocks.Release(first, 10);
  EXPECT_EQ(blocks.Allocate(12), first) << "the lowest free slot is reused first";
}

TEST_F(BlockAllocatorTest, EleventhTwelveByteBlockComesFromAPoolPageThatGoesBack) {
  BlockAllocator blocks(pool_);
  std::vector<void*> embedded;
  for (int i = 0; i < 10; ++i) embedded.push_back(blocks.Allocate(12));
  EXPECT_EQ(pool_.ReservationCount(), 0u);

  void* eleventh = blocks.Allocate(12);
  EXPECT_EQ(pool_.ReservationCount(), 1u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(eleventh) % BindingPagePool::kPageSize,
            BlockAllocator::FirstSlot(12) * 12);

  blocks.Release(eleventh, 12);
  EXPECT_EQ(pool_.ReservationCount(), 0u) << "the empty page and then its reservation went back";
  for (void* block : embedded) blocks.Release(block, 12);
}

TEST_F(BlockAllocatorTest, FullPageRejoinsAtTheHeadWhenABlockIsReleased) {
  BlockAllocator blocks(pool_);
  constexpr size_t kSize = 40;
  std::vector<void*> taken;
  for (size_t i = 0; i < 2 + 101; ++i) taken.push_back(blocks.Allocate(kSize));  // embedded + one pool page
  EXPECT_EQ(blocks.ListedPageCount(kSize), 0u) << "full pages leave the class list";

  void* onSecondPage = blocks.Allocate(kSize);
  EXPECT_EQ(blocks.ListedPageCount(kSize), 1u);

  void* fromFullPage = taken[50];
  blocks.Release(fromFullPage, kSize);
  EXPECT_EQ(blocks.ListedPageCount(kSize), 2u);
  EXPECT_EQ(blocks.Allocate(kSize), fromFullPage) << "the page that regained room is at the head";

  for (void* block : taken) blocks.Release(block, kSize);
  blocks.Release(onSecondPage, kSize);
  EXPECT_EQ(pool_.ReservationCount(), 0u);
}

TEST_F(BlockAllocatorTest, EmbeddedPageStaysWithItsClassWhenEmptied) {
  BlockAllocator blocks(pool_);
  void* block = blocks.Allocate(72);
  blocks.Release(block, 72);
  EXPECT_EQ(blocks.ListedPageCount(72), 1u);
  EXPECT_EQ(blocks.Allocate(72), block);
  blocks.Release(block, 72);
}

// Random allocation and release over every class, each live block filled
// with its own byte: an overlap or a slot handed out twice shows as a
// changed byte.
TEST_F(BlockAllocatorTest, RandomTrafficNeverHandsOutOverlappingBlocks) {
  struct Live {
    unsigned char* bytes;
    size_t size;
    unsigned char mark;
  };
  BlockAllocator blocks(pool_);
  std::mt19937 random(42);
  std::vector<Live> live;
  for (int step = 0; step < 40000; ++step) {
    if (live.empty() || random() % 3 != 0) {
      const size_t size = 1 + random() % BlockAllocator::kLargestBlock;
      auto* bytes = static_cast<unsigned char*>(blocks.Allocate(size));
      const auto mark = static_cast<unsigned char>(random());
      std::memset(bytes, mark, size);
      live.push_back({bytes, size, mark});
    } else {
      const size_t index = random() % live.size();
      const Live victim = live[index];
      for (size_t i = 0; i < victim.size; ++i) ASSERT_EQ(victim.bytes[i], victim.mark) << "step " << step;
      blocks.Release(victim.bytes, victim.size);
      live[index] = live.back();
      live.pop_back();
    }
  }
  for (const Live& block : live) {
    ASSERT_EQ(block.bytes[0], block.mark);
    blocks.Release(block.bytes, block.size);
  }
  EXPECT_EQ(pool_.ReservationCount(), 0u);
}

// After mixed traffic (full pages, pages that regained room, emptied
// embedded pages) every page goes back at once, and the allocator starts
// again as a fresh one: embedded slots first, no block handed out twice.
TEST_F(BlockAllocatorTest, ReleaseAllReturnsEveryPageAndStartsAfresh) {
  BlockAllocator blocks(pool_);
  std::mt19937 random(7);
  std::vector<std::pair<void*, size_t>> live;
  for (int step = 0; step < 20000; ++step) {
    if (live.empty() || random() % 4 != 0) {
      const size_t size = 1 + random() % BlockAllocator::kLargestBlock;
      live.emplace_back(blocks.Allocate(size), size);
    } else {
      const size_t index = random() % live.size();
      blocks.Release(live[index].first, live[index].second);
      live[index] = live.back();
      live.pop_back();
    }
  }
  ASSERT_GT(pool_.ReservationCount(), 1u);

  blocks.ReleaseAll();
  EXPECT_EQ(pool_.ReservationCount(), 0u) << "every pool page went back";
  EXPECT_FALSE(blocks.InUse());
  for (const CapacityRow& row : kCapacities) {
    EXPECT_EQ(blocks.ListedPageCount(row.blockSize), 1u) << "only the embedded page is listed, " << row.blockSize;
  }

  // A second round hands out the embedded slots, then pool pages, without
  // overlap.
  std::vector<unsigned char*> again;
  for (size_t i = 0; i < kCapacities[3].embedded + kCapacities[3].pooled + 1; ++i) {
    auto* bytes = static_cast<unsigned char*>(blocks.Allocate(40));
    std::memset(bytes, static_cast<int>(i), 40);
    again.push_back(bytes);
  }
  EXPECT_EQ(pool_.ReservationCount(), 1u);
  for (size_t i = 0; i < again.size(); ++i) ASSERT_EQ(again[i][39], static_cast<unsigned char>(i)) << i;
  for (unsigned char* bytes : again) blocks.Release(bytes, 40);
  EXPECT_EQ(pool_.ReservationCount(), 0u);
}

TEST_F(BlockAllocatorTest, BlocksOfEightByteMultiplesAreEightByteAligned) {
  BlockAllocator blocks(pool_);
  std::vector<std::pair<void*, size_t>> taken;
  for (size_t size = 8; size <= BlockAllocator::kLargestBlock; size += 8) {
    for (int i = 0; i < 60; ++i) {
      void* block = blocks.Allocate(size);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 8, 0u) << size;
      taken.emplace_back(block, size);
    }
  }
  for (auto [block, size] : taken) blocks.Release(block, size);
}

}  // namespace
}  // namespace zun
