// The boundary under concurrent deliveries, subscriptions and service-proxy
// answers, and the allocation balance of whole plugin lifetimes.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "diagnostics/framework_allocator.h"
#include "plugin/backend_plugin.h"
#include "tests/support/test_core.h"

namespace zun {
namespace {

using testing_core::OwnedFlat;
using testing_core::PluginSession;
using testing_core::ResourceEventValue;
using testing_core::ServiceProxyValue;
using testing_core::TestCore;

constexpr int kEvents = 400;
constexpr int kAnswers = 400;
constexpr int kToggles = 400;

TEST(BoundaryStressTest, DeliveriesAnswersAndSubscriptionsOnThreeThreads) {
  TestCore core;
  PluginSession session;
  ASSERT_EQ(session.Initialize(core), 1);
  BackendPlugin& plugin = session.Plugin();

  std::atomic<int> resourceCalls{0};
  std::atomic<int> toggledCalls{0};
  plugin.SetResourceHandler("/zun-parties/api/parties/1",
                            [&](const Client::PluginResourceEvent&) { resourceCalls.fetch_add(1); });
  plugin.SetResourcePatternHandler("/zun-parties/api/members/*",
                                   [&](const Client::PluginResourceEvent&) { toggledCalls.fetch_add(1); });
  plugin.Subscribe("/zun-parties/api/parties/1");

  std::mutex fulfilledLock;
  std::map<std::string, int> fulfilled;

  std::thread events([&] {
    OwnedFlat party(ResourceEventValue("/zun-parties/api/parties/1", "Update", 1));
    OwnedFlat member(ResourceEventValue("/zun-parties/api/members/1", "Update", 1));
    for (int i = 0; i < kEvents; ++i) {
      EXPECT_TRUE(core.Deliver("OnJsonApiEvent_zun-parties_api_parties", party.Get()));
      core.Deliver("OnJsonApiEvent_zun-parties_api_members", member.Get());  // may be unsubscribed
    }
  });
  std::thread answers([&] {
    for (int i = 0; i < kAnswers; ++i) {
      const std::string uuid = "u" + std::to_string(i);
      // Every other answer arrives before its request.
      if (i % 2 == 0) {
        OwnedFlat answer(ServiceProxyValue(uuid, "s", "m", "p"));
        EXPECT_TRUE(core.Deliver("OnServiceProxyUuidEvent", answer.Get()));
      }
      plugin.AddPendingRequest(uuid, [&, uuid](const Client::AppModule::PluginServiceProxyResponse& response) {
        EXPECT_EQ(response.uuid, uuid);
        std::lock_guard<std::mutex> guard(fulfilledLock);
        ++fulfilled[uuid];
      });
      if (i % 2 == 1) {
        OwnedFlat answer(ServiceProxyValue(uuid, "s", "m", "p"));
        EXPECT_TRUE(core.Deliver("OnServiceProxyUuidEvent", answer.Get()));
      }
    }
  });
  std::thread subscriptions([&] {
    for (int i = 0; i < kToggles; ++i) {
      plugin.Subscribe("/zun-parties/api/members/1");
      plugin.Subscribe("/zun-parties/api/parties/2");  // shares the delivered name
      plugin.Unsubscribe("/zun-parties/api/parties/2");
      plugin.Unsubscribe("/zun-parties/api/members/1");
    }
  });
  events.join();
  answers.join();
  subscriptions.join();

  EXPECT_EQ(resourceCalls.load(), kEvents) << "no delivery to a subscribed name was lost or repeated";
  EXPECT_LE(toggledCalls.load(), kEvents);
  ASSERT_EQ(fulfilled.size(), static_cast<size_t>(kAnswers));
  for (const auto& [uuid, count] : fulfilled) EXPECT_EQ(count, 1) << uuid;
  EXPECT_EQ(plugin.SubscriptionCount("OnJsonApiEvent_zun-parties_api_parties"), 1);
  EXPECT_EQ(plugin.SubscriptionCount("OnJsonApiEvent_zun-parties_api_members"), 0);
  EXPECT_FALSE(core.IsSubscribed("OnJsonApiEvent_zun-parties_api_members"));
}

void OneLifetime() {
  TestCore core;
  PluginSession session;
  ASSERT_EQ(session.Initialize(core), 1);
  session.Plugin().SetResourcePatternHandler("/*", [](const Client::PluginResourceEvent&) {});
  session.Plugin().Subscribe("/zun-parties");
  OwnedFlat event(ResourceEventValue("/zun-parties", "Create", 3));
  ASSERT_TRUE(core.Deliver("OnJsonApiEvent_zun-parties", event.Get()));
  OwnedFlat answer(ServiceProxyValue("u", "s", "m", "p"));
  ASSERT_TRUE(core.Deliver("OnServiceProxyUuidEvent", answer.Get()));  // stays unclaimed until unload
  core.ScriptResponse({500, std::string("down")});
  EXPECT_TRUE(session.Plugin().PostRequest("/x", {{"a", "b"}}).has_value());
  session.Unload();
}

TEST(BoundaryMemoryTest, WholeLifetimesLeaveTheLiveAllocationCountUnchanged) {
  OneLifetime();  // first-use state (type identities, the page pool) settles here
  const AllocationCounters before = ReadAllocationCounters();
  for (int i = 0; i < 20; ++i) OneLifetime();
  const AllocationCounters after = ReadAllocationCounters();
  EXPECT_GT(after.allocations, before.allocations);
  EXPECT_EQ(after.allocations - after.frees, before.allocations - before.frees);
  EXPECT_EQ(after.bytesAllocated - after.bytesFreed, before.bytesAllocated - before.bytesFreed);
}

}  // namespace
}  // namespace zun
