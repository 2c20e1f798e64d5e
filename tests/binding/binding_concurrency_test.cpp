// Trees built and destroyed on several threads at once: every heap is
// private to its tree, and all of them share the page pool.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "binding/binding_property.h"
#include "platform/virtual_memory.h"

namespace zun {
namespace {

// Large enough that every tree takes pool pages of several classes.
void BuildCheckAndDestroy(int thread, int round) {
  BindingProperty root;
  const int count = 300 + (round % 7) * 50;
  for (int i = 0; i < count; ++i) {
    BindingProperty& element = root.Append();
    element.Member("thread").SetSigned(thread);
    element.Member("index").SetSigned(i);
    element.Member("label").SetString("item" + std::to_string(i % 17));
    element.Member("tags").Append().SetEnum(i, nullptr);
  }
  BindingProperty copy(root);
  root.Reset();
  ASSERT_EQ(copy.Size(), static_cast<size_t>(count));
  for (int i = 0; i < count; i += 37) {
    const BindingProperty& element = copy.Element(i);
    ASSERT_EQ(element.Member("thread").GetSigned(), thread);
    ASSERT_EQ(element.Member("index").GetSigned(), i);
    ASSERT_EQ(element.Member("label").GetString(), "item" + std::to_string(i % 17));
    ASSERT_EQ(element.Member("tags").Element(0).GetEnum().value, i);
  }
}

TEST(BindingConcurrencyTest, ThreadsBuildAndDestroyTreesAtOnce) {
  const size_t regionsBefore = platform::LiveRegionCount();
  constexpr int kThreads = 4;
  constexpr int kRounds = 60;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      for (int round = 0; round < kRounds; ++round) BuildCheckAndDestroy(t, round);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(platform::LiveRegionCount(), regionsBefore) << "every reservation went back";
}

}  // namespace
}  // namespace zun
