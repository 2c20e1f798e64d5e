// Test doubles for logging: a target that keeps what it receives, a fixture
// that gives each test a freshly created logging core, and a capture of the
// debugger output.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/log_line_format.h"
#include "diagnostics/log_manager.h"
#include "diagnostics/log_target.h"
#include "platform/debug_output.h"

namespace zun::testing {

struct CapturedRecord {
  LogLevel level;
  LogGroupMask groups;
  std::string message;
  std::string line;  // rendered with the target's line format
};

class CapturingLogTarget final : public LogTarget {
 public:
  explicit CapturingLogTarget(const char* name = "CapturingLogTarget") : name_(name) {}
  ~CapturingLogTarget() override { Detach(); }

  [[nodiscard]] const char* Name() const override { return name_; }
  bool Write(const LogRecord& record) override {
    platform::CriticalSectionGuard guard(Lock());
    char line[4096];
    FormatLogLine(line, sizeof(line), LineFormatFor(record), record);
    records.push_back({record.level, record.groups, record.message, line});
    return true;
  }

  [[nodiscard]] std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const CapturedRecord& record : records) messages.push_back(record.message);
    return messages;
  }

  std::vector<CapturedRecord> records;

 private:
  const char* name_;
};

// Debugger output collected into one string while it exists.
class DebugOutputCapture {
 public:
  DebugOutputCapture() { platform::SetDebugOutputHandler(Append, this); }
  ~DebugOutputCapture() { platform::SetDebugOutputHandler(nullptr, nullptr); }
  DebugOutputCapture(const DebugOutputCapture&) = delete;
  DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

  std::string text;

 private:
  static void Append(const char* line, void* context) { static_cast<DebugOutputCapture*>(context)->text += line; }
};

// Each test starts with a newly created logging core (default filters,
// standard error and debugger attached) and destroys it at the end.
class LoggingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoggingReferenceCount(), 0U) << "a previous test kept a logging reference";
    AcquireLogging();
  }
  void TearDown() override { ReleaseLogging(); }

  // Leaves only `target` attached, at level Okay with no group filters.
  static void AttachAlone(CapturingLogTarget& target) {
    for (LogSink* sink : LogManager::Instance().RegisteredSinks()) sink->detach(sink);
    LogTargetSettings settings;
    settings.level = LogLevel::Okay;
    settings.lineFormat = "#M";
    target.Apply(settings);
  }
};

}  // namespace zun::testing
