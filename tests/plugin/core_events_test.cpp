// Core events: event names from paths, path patterns, shared subscriptions,
// delivery of resource events to exact and pattern handlers, and payloads
// that are dropped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/binding_property.h"
#include "plugin/backend_plugin.h"
#include "plugin/debug_trace.h"
#include "plugin/event_names.h"
#include "plugin/path_pattern.h"
#include "tests/support/test_core.h"

namespace zun {
namespace {

using testing_core::CallKind;
using testing_core::OwnedFlat;
using testing_core::PluginSession;
using testing_core::ResourceEventValue;
using testing_core::TestCore;

TEST(EventNameForPathTest, KeepsTheFirstPiecesOfThePath) {
  struct Row {
    const char* path;
    const char* name;
  };
  const Row rows[] = {
      {"/zun-parties/api/parties/7", "OnJsonApiEvent_zun-parties_api_parties"},
      {"/zun-platform-config/api/namespaces/a/b/d", "OnJsonApiEvent_zun-platform-config_api_namespaces_a_b"},
      {"", "OnJsonApiEvent"},
      {"/", "OnJsonApiEvent"},
      {"//zun-parties///api/", "OnJsonApiEvent_zun-parties_api"},
      {"zun-parties/api", "OnJsonApiEvent_zun-parties_api"},
      {"/x/zun-platform-config/a/b/d", "OnJsonApiEvent_x_zun-platform-config_a"},
      {"/zun-platform-config", "OnJsonApiEvent_zun-platform-config"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(EventNameForPath(row.path), row.name);
  }
}

TEST(MatchPathPatternTest, StarMatchesARunWithoutSlash) {
  struct Row {
    const char* pattern;
    const char* path;
    bool matches;
  };
  const Row rows[] = {
      {"/zun-parties/api/parties/*", "/zun-parties/api/parties/7", true},
      {"/zun-parties/api/parties/*", "/zun-parties/api/parties/", false},
      {"/zun-parties/api/parties/*", "/zun-parties/api/parties/7/members", false},
      {"/a/*/d", "/a/b/d", true},
      {"/a/*/d", "/a//d", true},
      {"/a/*/d", "/a/bc/e", false},
      {"/exact", "/exact", true},
      {"/exact", "/exactly", false},
      {"*", "", false},
      {"", "", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.pattern) + " vs " + row.path);
    EXPECT_EQ(MatchPathPattern(row.pattern, row.path), row.matches);
  }
}

class CoreEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session_.Loaded());
    ASSERT_EQ(session_.Initialize(core_), 1);
    core_.ClearCalls();
  }

  BackendPlugin& Plugin() { return session_.Plugin(); }

  TestCore core_;  // outlives the session, as a core outlives its plugins
  PluginSession session_;
};

constexpr const char* kPartiesEvent = "OnJsonApiEvent_zun-parties_api_parties";

TEST_F(CoreEventsTest, SubscriptionsSharingANameReachTheCoreOnce) {
  Plugin().Subscribe("/zun-parties/api/parties/1");
  Plugin().Subscribe("/zun-parties/api/parties/2");
  EXPECT_EQ(Plugin().SubscriptionCount(kPartiesEvent), 2);
  ASSERT_EQ(core_.Calls(CallKind::SubscribeEvent).size(), 1u);
  const auto subscribe = core_.Calls(CallKind::SubscribeEvent)[0];
  EXPECT_EQ(subscribe.name, kPartiesEvent);
  EXPECT_EQ(subscribe.flag, 0u);
  EXPECT_EQ(subscribe.coreContext, TestCore::kDefaultContext);
  EXPECT_EQ(subscribe.deliver, &PluginBase::DeliverResourceEvent);

  Plugin().Unsubscribe("/zun-parties/api/parties/1");
  EXPECT_TRUE(core_.Calls(CallKind::UnsubscribeEvent).empty());
  Plugin().Unsubscribe("/zun-parties/api/parties/2");
  ASSERT_EQ(core_.Calls(CallKind::UnsubscribeEvent).size(), 1u);
  EXPECT_EQ(core_.Calls(CallKind::UnsubscribeEvent)[0].name, kPartiesEvent);
  EXPECT_EQ(Plugin().SubscriptionCount(kPartiesEvent), 0);
}

TEST_F(CoreEventsTest, UnbalancedUnsubscribeKeepsTheCountAtZero) {
  Plugin().Unsubscribe("/zun-parties/api/parties/1");
  EXPECT_EQ(Plugin().SubscriptionCount(kPartiesEvent), 0);
  EXPECT_TRUE(core_.Calls(CallKind::UnsubscribeEvent).empty());
  Plugin().Subscribe("/zun-parties/api/parties/1");
  EXPECT_EQ(core_.Calls(CallKind::SubscribeEvent).size(), 1u) << "the next subscription still reaches the core";
}

TEST_F(CoreEventsTest, EventReachesTheExactAndEveryMatchingPatternHandler) {
  std::vector<std::string> calls;
  Plugin().SetResourceHandler("/zun-parties/api/parties/7", [&](const Client::PluginResourceEvent& event) {
    calls.push_back("exact " + event.uri + " " + std::to_string(event.eventType) + " " +
                    std::to_string(event.data.Member("id").GetSigned()));
  });
  Plugin().SetResourceHandler("/zun-parties/api/parties/8", [&](const Client::PluginResourceEvent&) {
    calls.push_back("other exact");
  });
  Plugin().SetResourcePatternHandler("/zun-parties/api/parties/*",
                                     [&](const Client::PluginResourceEvent&) { calls.push_back("star"); });
  Plugin().SetResourcePatternHandler("/zun-parties/*/parties/7",
                                     [&](const Client::PluginResourceEvent&) { calls.push_back("middle star"); });
  Plugin().SetResourcePatternHandler("/zun-parties/api/members/*",
                                     [&](const Client::PluginResourceEvent&) { calls.push_back("no match"); });
  Plugin().Subscribe("/zun-parties/api/parties/7");

  OwnedFlat payload(ResourceEventValue("zun-parties/api/parties/7", "Update", 42));
  ASSERT_TRUE(core_.Deliver(kPartiesEvent, payload.Get()));
  EXPECT_EQ(calls, (std::vector<std::string>{"exact zun-parties/api/parties/7 1 42", "middle star", "star"}));
}

std::vector<std::string> traced;
void KeepTrace(const char* line) { traced.emplace_back(line); }

TEST_F(CoreEventsTest, UnconvertiblePayloadsAreDroppedWithATrace) {
  int handled = 0;
  Plugin().SetResourcePatternHandler("/*", [&](const Client::PluginResourceEvent&) { ++handled; });
  Plugin().Subscribe("/zun-parties");
  traced.clear();
  const DebugTraceSink previous = SetDebugTraceSink(KeepTrace);

  FlatValue kind11 = EmptyFlatValue();
  kind11.kind = 11;
  EXPECT_TRUE(core_.Deliver("OnJsonApiEvent_zun-parties", kind11));
  BindingProperty wrongType = ResourceEventValue("/zun-parties", "Update", 1);
  wrongType.Member("eventType").SetString("Renamed");
  OwnedFlat badEnum(wrongType);
  EXPECT_TRUE(core_.Deliver("OnJsonApiEvent_zun-parties", badEnum.Get()));
  OwnedFlat good(ResourceEventValue("/zun-parties", "Delete", 1));
  EXPECT_TRUE(core_.Deliver("OnJsonApiEvent_zun-parties", good.Get()));

  SetDebugTraceSink(previous);
  EXPECT_EQ(handled, 1);
  ASSERT_EQ(traced.size(), 3u);
  EXPECT_EQ(traced[0],
            "Couldn't convert payload PluginResourceEvent for event OnJsonApiEvent_zun-parties: Couldn't assign "
            "value to '<result>' of type object because the input is of an incompatible type ''.");
  EXPECT_EQ(traced[1].rfind("Couldn't convert payload PluginResourceEvent for event OnJsonApiEvent_zun-parties: ", 0),
            0u)
      << traced[1];
  EXPECT_EQ(traced[2], "Handling event OnJsonApiEvent_zun-parties");
}

TEST_F(CoreEventsTest, DeliveryWithoutAHandlerIsIgnored) {
  Plugin().Subscribe("/zun-parties/api/parties/1");
  // The core still holds the subscription while the plugin has stopped.
  const auto subscribe = core_.Calls(CallKind::SubscribeEvent)[0];
  Plugin().Stop();
  OwnedFlat payload(ResourceEventValue("/zun-parties/api/parties/1", "Create", 1));
  CoreEvent event{};
  event.eventName = kPartiesEvent;
  event.payload = payload.Get();
  event.deliveryContext = subscribe.deliveryContext;
  subscribe.deliver(&event);  // finds nothing and returns
  EXPECT_TRUE(Plugin().RegisteredCoreEvents().empty());
  EXPECT_EQ(Plugin().SubscriptionCount(kPartiesEvent), 1) << "Stop leaves the counts";
}

TEST_F(CoreEventsTest, HandlerMaySubscribeWhileItRuns) {
  int handled = 0;
  Plugin().SetResourceHandler("/zun-parties/api/parties/1", [&](const Client::PluginResourceEvent&) {
    ++handled;
    Plugin().Subscribe("/zun-parties/api/members/1");
  });
  Plugin().Subscribe("/zun-parties/api/parties/1");
  OwnedFlat payload(ResourceEventValue("/zun-parties/api/parties/1", "Create", 1));
  ASSERT_TRUE(core_.Deliver(kPartiesEvent, payload.Get()));
  EXPECT_EQ(handled, 1);
  EXPECT_TRUE(core_.IsSubscribed("OnJsonApiEvent_zun-parties_api_members"));
}

}  // namespace
}  // namespace zun
