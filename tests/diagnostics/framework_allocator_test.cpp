// Tests for the framework allocator's entry points: hook dispatch, fallback
// to the heap, and object construction in framework memory.
#include "diagnostics/framework_allocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/allocation_tracking.h"

namespace zun {
namespace {

// Hooks that record which operation ran with which context.
struct HookJournal {
  std::vector<std::string> calls;
  static HookJournal& Of(void* context) { return *static_cast<HookJournal*>(context); }
};

void* JournalAllocate(size_t size, void* context) {
  HookJournal::Of(context).calls.push_back("allocate " + std::to_string(size));
  return std::malloc(size);
}
void JournalFree(void* block, void* context) {
  HookJournal::Of(context).calls.push_back(block == nullptr ? "free null" : "free");
  std::free(block);
}
void* JournalReallocate(void* block, size_t size, void* context) {
  HookJournal::Of(context).calls.push_back("reallocate " + std::to_string(size));
  return std::realloc(block, size);
}
char* JournalDuplicate(const char* text, void* context) {
  HookJournal::Of(context).calls.push_back(std::string("duplicate ") + text);
  return strdup(text);
}
size_t JournalSize(const void*, void* context) {
  HookJournal::Of(context).calls.emplace_back("size");
  return 777;
}

class FrameworkAllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallAllocationTracking();
    saved_ = CurrentAllocationHooks();
  }
  void TearDown() override { SetAllocationHooks(saved_); }

  void InstallJournal() {
    AllocationHooks hooks;
    hooks.allocate = JournalAllocate;
    hooks.free = JournalFree;
    hooks.reallocate = JournalReallocate;
    hooks.duplicateText = JournalDuplicate;
    hooks.size = JournalSize;
    hooks.context = &journal_;
    SetAllocationHooks(hooks);
  }

  HookJournal journal_;
  AllocationHooks saved_;
};

TEST_F(FrameworkAllocatorTest, EveryEntryPointCallsItsHookWithTheContext) {
  InstallJournal();
  void* block = FrameworkAllocator::Allocate(12);
  block = FrameworkAllocator::Reallocate(block, 48);
  EXPECT_EQ(FrameworkAllocator::Size(block), 777U);
  FrameworkAllocator::Free(block);
  char* text = FrameworkAllocator::DuplicateText("abc");
  FrameworkAllocator::Free(text);
  FrameworkAllocator::Free(nullptr);
  const std::vector<std::string> expected = {"allocate 12", "reallocate 48", "size", "free",
                                             "duplicate abc", "free", "free null"};
  EXPECT_EQ(journal_.calls, expected);
}

TEST_F(FrameworkAllocatorTest, AbsentHooksFallBackToTheHeap) {
  SetAllocationHooks(AllocationHooks{});
  char* text = FrameworkAllocator::DuplicateText("plain heap");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "plain heap");
  EXPECT_GE(FrameworkAllocator::Size(text), std::strlen("plain heap") + 1);
  void* grown = FrameworkAllocator::Reallocate(text, 256);
  ASSERT_NE(grown, nullptr);
  EXPECT_STREQ(static_cast<char*>(grown), "plain heap");
  FrameworkAllocator::Free(grown);
  EXPECT_EQ(FrameworkAllocator::Size(nullptr), 0U);
}

TEST_F(FrameworkAllocatorTest, OnlySomeHooksPresentMixesHookAndHeap) {
  AllocationHooks hooks;
  hooks.allocate = JournalAllocate;
  hooks.context = &journal_;
  SetAllocationHooks(hooks);
  void* block = FrameworkAllocator::Allocate(5);
  ASSERT_NE(block, nullptr);
  FrameworkAllocator::Free(block);  // no free hook: the heap's free
  EXPECT_EQ(journal_.calls, std::vector<std::string>{"allocate 5"});
}

struct Base {
  virtual ~Base() = default;
  int baseValue = 1;
};
struct Other {
  virtual ~Other() = default;
  int otherValue = 2;
};
// Other is the second base, so a pointer to it is not the block's start.
struct Derived : Base, Other {
  explicit Derived(int* destroyed) : destroyed_(destroyed) {}
  ~Derived() override { ++*destroyed_; }
  int* destroyed_;
};

TEST_F(FrameworkAllocatorTest, NewAndDeleteWorkThroughASecondaryBase) {
  InstallJournal();
  int destroyed = 0;
  Other* object = FrameworkNew<Derived>(&destroyed);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->otherValue, 2);
  FrameworkDelete(object);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(journal_.calls, (std::vector<std::string>{"allocate " + std::to_string(sizeof(Derived)), "free"}));
  FrameworkDelete<Derived>(nullptr);
  EXPECT_EQ(journal_.calls.size(), 2U);
}

TEST_F(FrameworkAllocatorTest, StandardContainersCanUseFrameworkMemory) {
  InstallJournal();
  {
    std::vector<int, FrameworkStdAllocator<int>> numbers;
    for (int i = 0; i < 3; ++i) numbers.push_back(i);
    EXPECT_EQ(numbers.back(), 2);
  }
  ASSERT_FALSE(journal_.calls.empty());
  EXPECT_EQ(journal_.calls.back(), "free");
}

}  // namespace
}  // namespace zun
