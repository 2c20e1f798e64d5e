// The service proxy: answers kept until requested, method keys, asynchronous
// messages and one fulfilment per run, driven by events from the core.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/backend_plugin.h"
#include "tests/support/test_core.h"

namespace zun {
namespace {

using testing_core::CallKind;
using testing_core::OwnedFlat;
using testing_core::PluginSession;
using testing_core::ServiceProxyValue;
using testing_core::TestCore;
using Response = Client::AppModule::PluginServiceProxyResponse;

class ServiceProxyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session_.Loaded());
    ASSERT_EQ(session_.Initialize(core_), 1);
    core_.ClearCalls();
  }

  BackendPlugin& Plugin() { return session_.Plugin(); }

  void Answer(const char* event, const std::string& uuid, const std::string& service, const std::string& method,
              const std::string& payload) {
    OwnedFlat flat(ServiceProxyValue(uuid, service, method, payload));
    ASSERT_TRUE(core_.Deliver(event, flat.Get()));
  }

  PluginBase::ServiceProxyCallback Keep(std::vector<std::string>& into, const std::string& label) {
    return [&into, label](const Response& response) { into.push_back(label + ":" + response.payload); };
  }

  TestCore core_;  // outlives the session, as a core outlives its plugins
  PluginSession session_;
};

TEST_F(ServiceProxyTest, AnswerBeforeItsRequestIsKeptUntilRequested) {
  std::vector<std::string> got;
  Answer("OnServiceProxyUuidEvent", "u-1", "chat", "send", "early");
  EXPECT_TRUE(got.empty());
  Plugin().AddPendingRequest("u-1", Keep(got, "u-1"));
  EXPECT_EQ(got, (std::vector<std::string>{"u-1:early"}));
  EXPECT_EQ(core_.LogTexts(), (std::vector<std::string>{"Fulfilled service proxy request: u-1"}));
  EXPECT_EQ(core_.Calls(CallKind::Log)[0].level, 3);
  EXPECT_FALSE(Plugin().FulfilPendingRequest()) << "claimed answers are gone";
}

TEST_F(ServiceProxyTest, RequestBeforeItsAnswerIsFulfilledOnArrival) {
  std::vector<std::string> got;
  Plugin().AddPendingRequest(PluginBase::ServiceProxyMethodKey("chat", "send"), Keep(got, "method"));
  EXPECT_TRUE(got.empty());
  Answer("OnServiceProxyMethodEvent", "", "chat", "send", "late");
  EXPECT_EQ(got, (std::vector<std::string>{"method:late"}));
}

TEST_F(ServiceProxyTest, SecondAnswerForAKeyReplacesTheFirst) {
  std::vector<std::string> got;
  Answer("OnServiceProxyMethodEvent", "", "chat", "send", "first");
  Answer("OnServiceProxyMethodEvent", "", "chat", "send", "second");
  Plugin().AddPendingRequest("chat.send", Keep(got, "chat.send"));
  EXPECT_EQ(got, (std::vector<std::string>{"chat.send:second"}));
  EXPECT_FALSE(Plugin().FulfilPendingRequest());
}

TEST_F(ServiceProxyTest, OneRunFulfilsOnlyTheFirstInKeyOrder) {
  std::vector<std::string> got;
  Answer("OnServiceProxyUuidEvent", "b", "s", "m", "for b");
  Answer("OnServiceProxyUuidEvent", "a", "s", "m", "for a");
  Plugin().AddPendingRequest("b", Keep(got, "b"), PluginBase::FulfilMode::Deferred);
  Plugin().AddPendingRequest("a", Keep(got, "a"), PluginBase::FulfilMode::Deferred);
  EXPECT_TRUE(got.empty());
  EXPECT_TRUE(Plugin().FulfilPendingRequest());
  EXPECT_EQ(got, (std::vector<std::string>{"a:for a"}));
  EXPECT_TRUE(Plugin().FulfilPendingRequest());
  EXPECT_EQ(got, (std::vector<std::string>{"a:for a", "b:for b"}));
  EXPECT_FALSE(Plugin().FulfilPendingRequest());
}

TEST_F(ServiceProxyTest, AsyncMessagesGoToTheirMethodHandlerOrAreLogged) {
  std::vector<std::string> got;
  Plugin().AddAsyncHandler("chat.receive", Keep(got, "async"));
  Answer("OnServiceProxyAsyncEvent", "", "chat", "receive", "hello");
  EXPECT_EQ(got, (std::vector<std::string>{"async:hello"}));
  EXPECT_TRUE(core_.Calls(CallKind::Log).empty());

  Answer("OnServiceProxyAsyncEvent", "", "chat", "send", "nobody listens");
  EXPECT_EQ(got.size(), 1u);
  const auto logs = core_.Calls(CallKind::Log);
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].level, 2);
  EXPECT_EQ(logs[0].name, "Could not find registered handler for async service proxy event chat.send");
}

TEST_F(ServiceProxyTest, StopEmptiesTheTables) {
  std::vector<std::string> got;
  Answer("OnServiceProxyUuidEvent", "u-2", "s", "m", "kept");
  Plugin().Stop();
  Plugin().AddPendingRequest("u-2", Keep(got, "u-2"));
  EXPECT_TRUE(got.empty());
}

}  // namespace
}  // namespace zun
