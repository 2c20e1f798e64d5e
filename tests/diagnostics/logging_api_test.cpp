// Tests for the LoggingApi table: each slot reaches the logging core.
#include "diagnostics/logging_api.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "diagnostics/log_manager.h"
#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

using testing::CapturingLogTarget;
using testing::LoggingTest;

void LogThroughApi(const LoggingApi& api, const char* format, ...) __attribute__((format(printf, 2, 3)));
void LogThroughApi(const LoggingApi& api, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  api.logMessageV(LogLevel::Error, 0, format, arguments);
  va_end(arguments);
}

TEST(LoggingApiTest, ReferencesCreateAndDestroyTheManager) {
  const LoggingApi& api = GetLoggingApi();
  EXPECT_EQ(api.version(), 1);
  ASSERT_EQ(LoggingReferenceCount(), 0U);
  api.addReference();
  EXPECT_EQ(LoggingReferenceCount(), 1U);
  CapturingLogTarget target;
  api.registerSink(target.Sink());
  EXPECT_TRUE(target.IsAttached());
  api.releaseReference();
  EXPECT_EQ(LoggingReferenceCount(), 0U);
  EXPECT_FALSE(target.IsAttached());
}

TEST_F(LoggingTest, ApiSlotsReachTheCore) {
  const LoggingApi& api = GetLoggingApi();
  LogManager& manager = LogManager::Instance();

  api.setMinimumLevel(LogLevel::Error);
  EXPECT_EQ(api.getMinimumLevel(), LogLevel::Error);
  EXPECT_EQ(manager.MinimumLevel(), LogLevel::Error);
  api.setMutedGroups(0x30);
  EXPECT_EQ(api.getMutedGroups(), 0x30U);
  api.disable();
  EXPECT_TRUE(manager.IsDisabled());
  api.enable();
  EXPECT_FALSE(manager.IsDisabled());

  EXPECT_EQ(api.stdErrSink(), manager.StdErrTarget().Sink());
  EXPECT_EQ(api.stdOutSink(), manager.StdOutTarget().Sink());
  EXPECT_EQ(api.debuggerSink(), manager.DebuggerTarget().Sink());
  EXPECT_EQ(api.findTarget("StdErrLogTarget"), api.stdErrSink());

  CapturingLogTarget target("ApiTarget");
  api.registerSink(target.Sink());
  EXPECT_EQ(api.findTarget("ApiTarget"), target.Sink());
  target.SetLevel(LogLevel::Okay);
  target.SetLineFormat("#M");
  LogThroughApi(api, "through %s", "the table");
  ASSERT_EQ(target.records.size(), 1U);
  EXPECT_EQ(target.records[0].line, "through the table\n");
  api.unregisterSink(target.Sink());
  EXPECT_EQ(api.findTarget("ApiTarget"), nullptr);

  EXPECT_EQ(api.registerGroup("DSK"), log_groups::DSK);
  char text[64];
  EXPECT_EQ(api.groupNames(0x3, text, sizeof(text)), 7U);
  EXPECT_STREQ(text, "DBG;GEN");
  EXPECT_STREQ(api.levelLabel(LogLevel::Always), "ALWAYS");
  EXPECT_STREQ(api.executableName(), manager.ExecutableName());

  LogTimestamp time{2017, 3, 5, 7, 8, 9, 10};
  api.formatTimestamp(text, sizeof(text), &time);
  EXPECT_STREQ(text, "2017-03-05T07:08:09.010");
  api.formatFileNameTimestamp(text, sizeof(text), &time);
  EXPECT_STREQ(text, "2017-03-05T07-08-09");
  LogRecord record;
  record.message = "m";
  api.formatLine(text, sizeof(text), "[#M]", &record);
  EXPECT_STREQ(text, "[m]\n");
  LogTimestamp now{};
  api.currentTime(&now);
  EXPECT_GE(now.year, 2020);
}

}  // namespace
}  // namespace zun
