// Tests for the event-tracing providers, against the recording tracing
// service: load-time registration, enable state, the thread-name event and
// unregistration at unload.
#include "diagnostics/trace_providers.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/process.h"
#include "tests/diagnostics/fake_event_tracing.h"

namespace zun {
namespace {

constexpr uint32_t kGuidData1[kTraceProviderCount] = {0x2F9EFE86, 0xEA08C559, 0x10F6728C, 0x46DD7F96};

platform::EventTracingEntryPoints FakeService() {
  platform::EventTracingEntryPoints service;
  service.event_register = EventRegister;
  service.event_write = EventWrite;
  service.event_unregister = EventUnregister;
  service.library_loaded = true;
  return service;
}

std::vector<FakeTraceCall> CallsSince(size_t mark) {
  std::vector<FakeTraceCall> calls;
  FakeTraceCall call{};
  for (size_t i = mark; FakeTraceGetCall(i, &call); ++i) calls.push_back(call);
  return calls;
}

std::vector<FakeTraceCall> CallsOfKind(const std::vector<FakeTraceCall>& calls, FakeTraceCallKind kind) {
  std::vector<FakeTraceCall> matching;
  for (const FakeTraceCall& call : calls) {
    if (call.kind == kind) matching.push_back(call);
  }
  return matching;
}

// Leaves the service's enable rule and refusal as it found them.
class TraceProvidersTest : public ::testing::Test {
 protected:
  void SetUp() override { mark_ = FakeTraceCallCount(); }
  void TearDown() override {
    FakeTraceEnableOnRegister(0, 0, 0, 0);
    FakeTraceRefuseRegistration(false);
  }
  [[nodiscard]] std::vector<FakeTraceCall> Calls() const { return CallsSince(mark_); }

  size_t mark_ = 0;
};

TEST(TraceProvidersLoadTest, FourProvidersRegisteredInOrderWhenTheLibraryLoaded) {
  const std::vector<FakeTraceCall> atLoad = CallsSince(0);
  ASSERT_GE(atLoad.size(), kTraceProviderCount);
  TraceProviderSet& process = ProcessTraceProviders();
  for (size_t i = 0; i < kTraceProviderCount; ++i) {
    SCOPED_TRACE(i);
    const FakeTraceCall& call = atLoad[i];
    EXPECT_EQ(call.kind, kFakeTraceRegister);
    EXPECT_EQ(call.guid.data1, kGuidData1[i]);
    EXPECT_EQ(call.callback, &TraceEnableCallback);
    EXPECT_EQ(call.context, &process.Provider(i));
    EXPECT_EQ(process.Provider(i).Handle(), call.handle);
    EXPECT_NE(call.handle, 0U);
  }
  const platform::TraceGuid& second = process.Provider(1).Guid();
  const uint8_t expectedTail[8] = {0xAF, 0xA6, 0x18, 0x73, 0x8E, 0xEC, 0x6D, 0x37};
  EXPECT_EQ(second.data2, 0x95A8);
  EXPECT_EQ(second.data3, 0x4AA2);
  EXPECT_EQ(std::memcmp(second.data4, expectedTail, sizeof(expectedTail)), 0);
  // No controller had enabled anything, so no thread was named.
  EXPECT_TRUE(CallsOfKind(std::vector<FakeTraceCall>(atLoad.begin(), atLoad.begin() + kTraceProviderCount),
                          kFakeTraceWrite)
                  .empty());
}

TEST_F(TraceProvidersTest, ControllerEnabledBeforeRegistrationNamesTheMainThreadOnce) {
  FakeTraceEnableOnRegister(kGuidData1[1], 0, 0x1, 0);
  TraceProviderSet providers(FakeService());
  providers.RegisterAll();
  providers.RegisterAll();  // registered providers are not registered again
  const std::vector<FakeTraceCall> calls = Calls();
  EXPECT_EQ(CallsOfKind(calls, kFakeTraceRegister).size(), kTraceProviderCount);
  const std::vector<FakeTraceCall> writes = CallsOfKind(calls, kFakeTraceWrite);
  ASSERT_EQ(writes.size(), 1U);
  const FakeTraceCall& write = writes[0];
  EXPECT_EQ(write.handle, providers.Provider(kThreadNameProvider).Handle());
  EXPECT_EQ(write.event.id, 103);
  EXPECT_EQ(write.event.version, 0);
  EXPECT_EQ(write.event.channel, 0);
  EXPECT_EQ(write.event.level, 0);
  EXPECT_EQ(write.event.opcode, 14);
  EXPECT_EQ(write.event.task, 2);
  EXPECT_EQ(write.event.keyword, 0x1U);
  ASSERT_EQ(write.dataCount, 2U);
  EXPECT_EQ(write.dataSizes[0], 4U);
  uint32_t threadId = 0;
  std::memcpy(&threadId, write.payload[0], sizeof(threadId));
  EXPECT_EQ(threadId, platform::CurrentThreadId());
  EXPECT_EQ(write.dataSizes[1], 12U);
  EXPECT_EQ(std::memcmp(write.payload[1], "Main thread", 12), 0);
}

TEST_F(TraceProvidersTest, ControllerWithOtherKeywordsNamesNoThread) {
  FakeTraceEnableOnRegister(kGuidData1[1], 0, 0x2, 0);
  TraceProviderSet providers(FakeService());
  providers.RegisterAll();
  EXPECT_TRUE(providers.Provider(kThreadNameProvider).IsEnabled());
  EXPECT_FALSE(providers.Provider(kThreadNameProvider).IsEventEnabled(kThreadNameEvent));
  EXPECT_TRUE(CallsOfKind(Calls(), kFakeTraceWrite).empty());
}

TEST_F(TraceProvidersTest, EnableCallbackSetsEventBitsByLevelAndKeywords) {
  TraceProviderSet providers(FakeService());
  struct Row {
    size_t provider;
    uint8_t level;
    uint64_t matchAny;
    uint64_t matchAll;
    std::vector<bool> enabled;  // per event
  };
  const Row rows[] = {
      {3, 0, 0x1, 0, {true, false}},
      {3, 0, 0x3, 0, {true, true}},
      {3, 0, 0x3, 0x2, {false, true}},
      {3, 0, 0x1, 0x3, {false, false}},
      {3, 5, 0, 0, {false, false}},   // keyword 0 only
      {2, 5, 0, 0, {true}},           // its event has keyword 0
      {0, 4, 0xFF, 0, {true}},        // event level 0 is not above 4
      {1, 0, 0x1, 0, {true}},
  };
  for (size_t r = 0; r < std::size(rows); ++r) {
    SCOPED_TRACE(r);
    const Row& row = rows[r];
    TraceProvider& provider = providers.Provider(row.provider);
    TraceEnableCallback(&provider.Guid(), platform::kTraceControlEnable, row.level, row.matchAny, row.matchAll,
                        nullptr, &provider);
    EXPECT_TRUE(provider.IsEnabled());
    EXPECT_EQ(provider.Level(), row.level);
    EXPECT_EQ(provider.MatchAnyKeyword(), row.matchAny);
    EXPECT_EQ(provider.MatchAllKeyword(), row.matchAll);
    ASSERT_EQ(provider.EventCount(), row.enabled.size());
    for (size_t e = 0; e < row.enabled.size(); ++e) EXPECT_EQ(provider.IsEventEnabled(e), row.enabled[e]) << e;
  }
}

TEST_F(TraceProvidersTest, DisableClearsAndOtherCodesChangeNothing) {
  TraceProviderSet providers(FakeService());
  TraceProvider& provider = providers.Provider(3);
  TraceEnableCallback(&provider.Guid(), platform::kTraceControlEnable, 3, 0x3, 0, nullptr, &provider);
  TraceEnableCallback(&provider.Guid(), 2, 0, 0, 0, nullptr, &provider);  // a capture request
  EXPECT_TRUE(provider.IsEventEnabled(0));
  EXPECT_EQ(provider.Level(), 3);
  TraceEnableCallback(&provider.Guid(), platform::kTraceControlDisable, 3, 0x3, 0x1, nullptr, &provider);
  EXPECT_FALSE(provider.IsEnabled());
  EXPECT_EQ(provider.Level(), 0);
  EXPECT_EQ(provider.MatchAnyKeyword(), 0U);
  EXPECT_EQ(provider.MatchAllKeyword(), 0U);
  EXPECT_FALSE(provider.IsEventEnabled(0));
  EXPECT_FALSE(provider.IsEventEnabled(1));
  EXPECT_FALSE(provider.IsEventEnabled(7)) << "no such event";
}

TEST_F(TraceProvidersTest, UnregisteringReleasesEveryHandleOnce) {
  std::vector<uint64_t> handles;
  {
    TraceProviderSet providers(FakeService());
    providers.RegisterAll();
    for (size_t i = 0; i < kTraceProviderCount; ++i) handles.push_back(providers.Provider(i).Handle());
    providers.UnregisterAll();
    for (size_t i = 0; i < kTraceProviderCount; ++i) EXPECT_EQ(providers.Provider(i).Handle(), 0U);
  }  // the destructor finds nothing left to unregister
  const std::vector<FakeTraceCall> unregisters = CallsOfKind(Calls(), kFakeTraceUnregister);
  ASSERT_EQ(unregisters.size(), kTraceProviderCount);
  for (size_t i = 0; i < kTraceProviderCount; ++i) EXPECT_EQ(unregisters[i].handle, handles[i]);
}

TEST_F(TraceProvidersTest, RefusedRegistrationLeavesTheHandleAtZero) {
  FakeTraceRefuseRegistration(true);
  {
    TraceProviderSet providers(FakeService());
    providers.RegisterAll();
    for (size_t i = 0; i < kTraceProviderCount; ++i) EXPECT_EQ(providers.Provider(i).Handle(), 0U);
  }
  EXPECT_TRUE(Calls().empty());
}

TEST_F(TraceProvidersTest, MissingServiceOrEntryPointsDoNothing) {
  TraceProviderSet none(platform::EventTracingEntryPoints{});
  none.RegisterAll();
  none.WriteThreadName(1, "worker");
  none.UnregisterAll();

  platform::EventTracingEntryPoints registerOnly;
  registerOnly.event_register = EventRegister;
  FakeTraceEnableOnRegister(kGuidData1[1], 0, 0x1, 0);
  {
    TraceProviderSet partial(registerOnly);
    partial.RegisterAll();  // enabled, but there is no write to name the thread with
    partial.UnregisterAll();
    EXPECT_EQ(partial.Provider(0).Handle(), 0U);
  }
  const std::vector<FakeTraceCall> calls = Calls();
  EXPECT_EQ(CallsOfKind(calls, kFakeTraceRegister).size(), kTraceProviderCount);
  EXPECT_TRUE(CallsOfKind(calls, kFakeTraceWrite).empty());
  EXPECT_TRUE(CallsOfKind(calls, kFakeTraceUnregister).empty());
}

TEST_F(TraceProvidersTest, ThreadNameWithoutANameIsNull) {
  WriteThreadNameEvent(FakeService(), 0x77, 4242, nullptr);
  WriteThreadNameEvent(FakeService(), 0x77, 4243, "");
  const std::vector<FakeTraceCall> writes = CallsOfKind(Calls(), kFakeTraceWrite);
  ASSERT_EQ(writes.size(), 2U);
  EXPECT_EQ(writes[0].handle, 0x77U);
  EXPECT_EQ(writes[0].dataSizes[1], 5U);
  EXPECT_EQ(std::memcmp(writes[0].payload[1], "NULL", 5), 0);
  EXPECT_EQ(writes[1].dataSizes[1], 1U);
  EXPECT_EQ(writes[1].payload[1][0], '\0');
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(TraceProvidersUnloadTest, ProcessExitUnregistersTheLoadTimeProviders) {
  char path[] = "/tmp/zun-trace-XXXXXX";
  const int descriptor = mkstemp(path);
  ASSERT_GE(descriptor, 0);
  close(descriptor);
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setenv("ZUN_FAKE_TRACE_LOG", path, 1);
    std::exit(0);  // runs the static destructors, as unloading the library does
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  std::string expected;
  for (size_t i = 0; i < kTraceProviderCount; ++i) {
    expected += "unregister " + std::to_string(ProcessTraceProviders().Provider(i).Handle()) + "\n";
  }
  EXPECT_EQ(ReadFile(path), expected);
  std::remove(path);
}

}  // namespace
}  // namespace zun
