// Outgoing requests and telemetry through the core's SendRequest, their
// outcomes and the user agent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/backend_plugin.h"
#include "plugin/request_error.h"
#include "plugin/user_agent.h"
#include "tests/support/test_core.h"

namespace zun {
namespace {

using testing_core::CallKind;
using testing_core::CoreCall;
using testing_core::PluginSession;
using testing_core::ScriptedResponse;
using testing_core::TestCore;

class OutgoingRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session_.Loaded());
    ASSERT_EQ(session_.Initialize(core_), 1);
    core_.ClearCalls();
  }

  BackendPlugin& Plugin() { return session_.Plugin(); }

  TestCore core_{0xAB};  // outlives the session, as a core outlives its plugins
  PluginSession session_;
};

TEST_F(OutgoingRequestsTest, TelemetryPostsOneUnnamedStructureOfOwnedStrings) {
  const int released = core_.ReleasedResponses();
  auto future = Plugin().Telemetry()->SendTelemetryEvent("app-start", {{"version", "1.0"}, {"mode", "cold"}});
  ASSERT_EQ(future.wait_for(std::chrono::seconds(0)), std::future_status::ready);
  EXPECT_FALSE(future.get().has_value());

  const std::vector<CoreCall> sent = core_.Calls(CallKind::SendRequest);
  ASSERT_EQ(sent.size(), 1u);
  const CoreCall& call = sent[0];
  EXPECT_EQ(call.method, 6u);
  EXPECT_EQ(call.path, "/telemetry/v1/events/app-start");
  EXPECT_EQ(call.requestContext, 0xABu);
  EXPECT_TRUE(call.responseWasZeroed);
  ASSERT_EQ(call.arguments.size(), 1u);
  EXPECT_FALSE(call.argumentNames[0].has_value());
  const auto& structure = call.arguments[0];
  EXPECT_EQ(structure.kind, 10u);
  EXPECT_EQ(structure.names, (std::vector<std::string>{"mode", "version"}));
  ASSERT_EQ(structure.children.size(), 2u);
  EXPECT_EQ(structure.children[0].kind, 6u);
  EXPECT_EQ(structure.children[0].text, "cold");
  EXPECT_EQ(structure.children[1].kind, 6u);
  EXPECT_EQ(structure.children[1].text, "1.0");
  EXPECT_EQ(core_.ReleasedResponses(), released + 1) << "the response was released through its own operation";
}

TEST_F(OutgoingRequestsTest, OutcomesFollowTheErrorTextNotTheStatus) {
  struct Row {
    const char* name;
    uint32_t method;
    ScriptedResponse response;
    const char* outcome;
  };
  const Row rows[] = {
      {"error text", 2, {503, std::string("unavailable")}, "Error response for GET /svc: unavailable (503)"},
      {"status 500 without error text", 6, {500, std::nullopt}, "Success"},
      {"unknown method code", 42, {400, std::string("bad")}, "Error response for  /svc: bad (400)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    core_.ScriptResponse(row.response);
    const std::optional<RequestError> outcome = Plugin().SendPluginRequest(row.method, "/svc", {});
    EXPECT_EQ(ToText(outcome), row.outcome);
  }
  const std::vector<CoreCall> sent = core_.Calls(CallKind::SendRequest);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2].method, 0u) << "unknown codes travel as 0";
  EXPECT_EQ(sent[0].arguments[0].kind, 10u) << "an empty parameter map is still one empty structure";
  EXPECT_TRUE(sent[0].arguments[0].children.empty());
}

TEST(RequestErrorTest, TextForm) {
  EXPECT_EQ(ToText(std::optional<RequestError>()), "Success");
  EXPECT_EQ(ToText(RequestError{404, "missing"}), "missing (404)");
}

TEST(UserAgentTest, NamesTheCoreVersionAndThePlugin) {
  EXPECT_EQ(FormUserAgent(PluginApiVersion{18, 0, 0, {}, {}}, "zun-parties"), "OrvoClient/18.0.0 (zun-parties)");
  EXPECT_EQ(FormUserAgent(PluginApiVersion{18, 2, 1, "rc1", ""}, "x"), "OrvoClient/18.2.1-rc1 (x)");
}

}  // namespace
}  // namespace zun
