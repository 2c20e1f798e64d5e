// Tests for LogMessage: formatting, truncation, the argument-list form and
// logging from inside a target's own write.
#include "diagnostics/log_message.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

using testing::CapturingLogTarget;
using testing::LoggingTest;

void LogThroughList(LogLevel level, LogGroupMask groups, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void LogThroughList(LogLevel level, LogGroupMask groups, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  LogMessageV(level, groups, format, arguments);
  va_end(arguments);
}

TEST_F(LoggingTest, MessagesAreFormattedWithPrintfRules) {
  CapturingLogTarget target;
  AttachAlone(target);
  LogMessage(LogLevel::Warn, 0, "%s|%5.1f|%03d|%%|%x", "text", 2.25, 7, 255U);
  LogThroughList(LogLevel::Warn, 0, "list %s %u", "form", 9U);
  LogThroughList(LogLevel::Okay, 0, "dropped %d", 1);
  EXPECT_EQ(target.Messages(), (std::vector<std::string>{"text|  2.2|007|%|ff", "list form 9"}));
}

TEST_F(LoggingTest, LongMessagesAreCutTo4095Characters) {
  CapturingLogTarget target;
  AttachAlone(target);
  const std::string longText(6000, 'z');
  LogMessage(LogLevel::Error, 0, "%s", longText.c_str());
  ASSERT_EQ(target.records.size(), 1U);
  EXPECT_EQ(target.records[0].message, longText.substr(0, 4095));
  EXPECT_EQ(target.records[0].line.size(), 4095U);
  EXPECT_EQ(target.records[0].line.back(), '\n');
}

// Logs again from inside its write: locks are recursive, so no deadlock.
class ReentrantTarget final : public LogTarget {
 public:
  ~ReentrantTarget() override { Detach(); }
  bool Write(const LogRecord& record) override {
    platform::CriticalSectionGuard guard(Lock());
    messages.emplace_back(record.message);
    if (messages.size() == 1) LogMessage(LogLevel::Error, 0, "nested");
    return true;
  }
  std::vector<std::string> messages;
};

TEST_F(LoggingTest, ATargetMayLogFromItsOwnWrite) {
  ReentrantTarget target;
  target.SetLevel(LogLevel::Okay);
  target.Attach();
  LogMessage(LogLevel::Error, 0, "outer");
  EXPECT_EQ(target.messages, (std::vector<std::string>{"outer", "nested"}));
}

TEST(LogMessageTest, LoggingWithoutAReferenceCreatesTheManager) {
  ASSERT_EQ(LoggingReferenceCount(), 0U);
  testing::DebugOutputCapture debugger;
  LogMessage(LogLevel::Error, log_groups::DBG, "no reference held");
  EXPECT_NE(debugger.text.find("no reference held"), std::string::npos);
  EXPECT_NE(LogManager::Instance().FindTarget("DebuggerConsoleLogTarget"), nullptr);
  // Leave the process as the other tests expect it: no manager.
  AcquireLogging();
  ReleaseLogging();
}

}  // namespace
}  // namespace zun
