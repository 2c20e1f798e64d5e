// The callback table through the boundary: Initialize with its log target,
// Unload, Stop, the memory statistics and the forwarding to the core's table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/log_manager.h"
#include "diagnostics/log_message.h"
#include "plugin/backend_plugin.h"
#include "plugin/response_record.h"
#include "tests/support/test_core.h"

namespace zun {
namespace {

using testing_core::CallKind;
using testing_core::CoreCall;
using testing_core::PluginSession;
using testing_core::TestCore;

size_t CountTargetsNamed(const char* name) {
  size_t count = 0;
  for (LogSink* sink : LogManager::Instance().RegisteredSinks()) {
    if (std::string(LogTarget::FromSink(sink)->Name()) == name) ++count;
  }
  return count;
}

std::vector<std::string> Names(const std::vector<CoreCall>& calls) {
  std::vector<std::string> names;
  for (const CoreCall& call : calls) names.push_back(call.name);
  return names;
}

TEST(PluginCallbacksTest, InitializeReplacesTheConsoleTargetsOnce) {
  TestCore core;
  PluginSession session;
  ASSERT_TRUE(session.Loaded());
  EXPECT_EQ(session.Initialize(core), 1);
  LogManager& manager = LogManager::Instance();
  EXPECT_FALSE(manager.StdErrTarget().IsAttached());
  EXPECT_FALSE(manager.StdOutTarget().IsAttached());
  EXPECT_FALSE(manager.DebuggerTarget().IsAttached());
  EXPECT_EQ(manager.MinimumLevel(), LogLevel::Okay);
  EXPECT_EQ(manager.MutedGroups(), log_groups::XTR);
  ASSERT_NE(manager.FindTarget("PluginLogTarget"), nullptr);
  EXPECT_EQ(LogTarget::FromSink(manager.FindTarget("PluginLogTarget"))->Level(), LogLevel::Okay);

  EXPECT_EQ(session.Initialize(core), 1);
  EXPECT_EQ(CountTargetsNamed("PluginLogTarget"), 1u);
}

TEST(PluginCallbacksTest, LogRecordsReachTheCoreWithLevelAndMessageText) {
  TestCore core;
  PluginSession session;
  ASSERT_EQ(session.Initialize(core), 1);
  core.ClearCalls();
  LogMessage(LogLevel::Okay, log_groups::DBG, "plain %d", 7);
  LogMessage(LogLevel::Always, log_groups::GEN, "%s", "always");
  LogMessage(LogLevel::Error, log_groups::XTR, "muted group");
  const std::vector<CoreCall> logs = core.Calls(CallKind::Log);
  ASSERT_EQ(logs.size(), 2u);
  EXPECT_EQ(logs[0].level, 0);
  EXPECT_EQ(logs[0].name, "plain 7") << "the message text, not a rendered line";
  EXPECT_EQ(logs[1].level, 3);
  EXPECT_EQ(logs[1].name, "always");
  EXPECT_EQ(logs[0].self, core.Functions());
}

TEST(PluginCallbacksTest, UnloadRightAfterTheLoadCallsNothing) {
  PluginSession session;
  ASSERT_TRUE(session.Loaded());
  TestCore core;  // never lent
  session.Unload();
  EXPECT_TRUE(core.Calls().empty());
}

TEST(PluginCallbacksTest, UnloadUnsubscribesEveryRegisteredName) {
  TestCore core;
  PluginSession session;
  ASSERT_EQ(session.Initialize(core), 1);
  session.Plugin().Subscribe("/zun-parties/api/parties/1");
  session.Plugin().Subscribe("/zun-parties/v2/members");
  const std::vector<std::string> subscribed = core.SubscribedNames();
  EXPECT_EQ(subscribed, (std::vector<std::string>{"OnJsonApiEvent_zun-parties_api_parties",
                                                  "OnJsonApiEvent_zun-parties_v2_members",
                                                  "OnServiceProxyAsyncEvent", "OnServiceProxyMethodEvent",
                                                  "OnServiceProxyUuidEvent"}));
  session.Unload();
  EXPECT_TRUE(core.SubscribedNames().empty());
  const std::vector<CoreCall> unsubscribes = core.Calls(CallKind::UnsubscribeEvent);
  EXPECT_EQ(Names(unsubscribes), subscribed);
  for (const CoreCall& call : unsubscribes) EXPECT_EQ(call.coreContext, TestCore::kDefaultContext);
}

TEST(PluginCallbacksTest, InitializeRegistersTheServiceProxyEventsWithFlagOne) {
  TestCore core(0xFEED);
  PluginSession session;
  ASSERT_EQ(session.Initialize(core), 1);
  const std::vector<CoreCall> subscribes = core.Calls(CallKind::SubscribeEvent);
  EXPECT_EQ(Names(subscribes), (std::vector<std::string>{"OnServiceProxyUuidEvent", "OnServiceProxyMethodEvent",
                                                         "OnServiceProxyAsyncEvent"}));
  for (const CoreCall& call : subscribes) {
    EXPECT_EQ(call.flag, 1u);
    EXPECT_EQ(call.coreContext, 0xFEEDu);
    EXPECT_NE(call.deliver, nullptr);
    EXPECT_NE(call.deliveryContext, nullptr);
  }
  EXPECT_EQ(session.Plugin().UserAgent(), "OrvoClient/18.0.0 (zun-parties)");
  EXPECT_NE(session.Plugin().Telemetry(), nullptr);
}

TEST(PluginCallbacksTest, MemoryStatisticsAreTheCountersLowWordFirst) {
  PluginSession session;
  PluginMemoryStats stats;
  for (uint32_t& word : stats.words) word = 0xDEADBEEF;
  session.Callbacks()->GetMemoryStats(nullptr, &stats);
  const AllocationCounters after = ReadAllocationCounters();
  EXPECT_EQ(stats.words[12], 0u);
  EXPECT_EQ(stats.words[13], 0u);
  const uint64_t allocations = uint64_t{stats.words[7]} << 32 | stats.words[6];
  const uint64_t frees = uint64_t{stats.words[11]} << 32 | stats.words[10];
  EXPECT_GT(allocations, 0u);
  EXPECT_LE(allocations, after.allocations);
  EXPECT_LE(frees, after.frees);
  EXPECT_EQ(stats.words[7], static_cast<uint32_t>(after.allocations >> 32));
}

TEST(PluginCallbacksTest, VirtualSlotsForwardToTheCoreTable) {
  TestCore core;
  PluginSession session;
  ASSERT_EQ(session.Initialize(core), 1);
  core.ClearCalls();
  BackendPlugin& plugin = session.Plugin();
  EXPECT_EQ(plugin.CallCoreSlot1(1, 2), TestCore::kSlotAnswer + 1);
  EXPECT_EQ(plugin.CallCoreSlot2(3), TestCore::kSlotAnswer + 2);
  EXPECT_EQ(plugin.CallCoreSlot5(4, 5, 6, 1.5, 7), TestCore::kSlotAnswer + 5);
  EXPECT_EQ(plugin.CallCoreSlot6(), TestCore::kSlotAnswer + 6);
  EXPECT_EQ(plugin.CallCoreSlot7("seven", 8), TestCore::kSlotAnswer + 7);
  EXPECT_EQ(plugin.CallCoreSlot8(), TestCore::kSlotAnswer + 8);
  const std::vector<CoreCall> calls = core.Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].words, (std::vector<uintptr_t>{1, 2}));
  EXPECT_EQ(calls[1].words, (std::vector<uintptr_t>{3}));
  EXPECT_EQ(calls[2].words, (std::vector<uintptr_t>{4, 5, 6, 7}));
  EXPECT_EQ(calls[2].real, 1.5);
  EXPECT_EQ(calls[4].name, "seven");
  EXPECT_EQ(calls[4].words, (std::vector<uintptr_t>{8}));
  for (const CoreCall& call : calls) EXPECT_EQ(call.self, core.Functions());
}

TEST(PluginCallbacksTest, SlotsBeforeInitializeReachNothing) {
  PluginSession session;
  BackendPlugin& plugin = session.Plugin();
  EXPECT_EQ(plugin.CallCoreSlot6(), 0u);
  ResponseRecord response{};
  plugin.SendRequest(&response, nullptr);
  const auto release = response.release;  // a packed field: copied, never bound
  EXPECT_EQ(release, nullptr);
}

TEST(PluginCallbacksTest, InitializeWithoutAnInterfaceFails) {
  PluginSession session;
  EXPECT_EQ(session.Callbacks()->Initialize(session.PluginPointer(), nullptr), 0);
  EXPECT_EQ(LogManager::Instance().FindTarget("PluginLogTarget"), nullptr);
}

}  // namespace
}  // namespace zun
