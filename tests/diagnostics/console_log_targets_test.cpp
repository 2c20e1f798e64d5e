// Tests for the built-in targets: what reaches standard error, standard
// output and the debugger output with the default settings.
#include "diagnostics/console_log_targets.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "diagnostics/log_message.h"
#include "platform/process.h"
#include "tests/diagnostics/capturing_log_target.h"

namespace zun {
namespace {

using testing::DebugOutputCapture;
using testing::LoggingTest;

// Sends one file descriptor to a temporary file until Finish().
class DescriptorCapture {
 public:
  explicit DescriptorCapture(int descriptor) : descriptor_(descriptor) {
    std::fflush(nullptr);
    file_ = std::tmpfile();
    saved_ = dup(descriptor_);
    dup2(fileno(file_), descriptor_);
  }
  ~DescriptorCapture() { Restore(); }
  DescriptorCapture(const DescriptorCapture&) = delete;
  DescriptorCapture& operator=(const DescriptorCapture&) = delete;

  std::string Finish() {
    std::fflush(nullptr);
    Restore();
    std::string text;
    std::rewind(file_);
    char chunk[512];
    size_t read = 0;
    while ((read = std::fread(chunk, 1, sizeof(chunk), file_)) > 0) text.append(chunk, read);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    dup2(saved_, descriptor_);
    close(saved_);
    saved_ = -1;
  }

  int descriptor_;
  int saved_ = -1;
  std::FILE* file_ = nullptr;
};

std::string ConsoleLine(const char* label, const char* text) {
  char thread[16];
  std::snprintf(thread, sizeof(thread), "%08X", platform::CurrentThreadId());
  return std::string(LogManager::Instance().ExecutableName()) + "(" + thread + "): " + label + "| " + text + "\n";
}

TEST_F(LoggingTest, DefaultWarnInDbgReachesStandardErrorAndDebuggerButNotStandardOutput) {
  DebugOutputCapture debugger;
  DescriptorCapture standardOutput(STDOUT_FILENO);
  DescriptorCapture standardError(STDERR_FILENO);
  LogMessage(LogLevel::Warn, log_groups::DBG, "disk %s is %d%% full", "C", 93);
  const std::string errorText = standardError.Finish();
  const std::string outputText = standardOutput.Finish();
  const std::string expected = ConsoleLine("  WARN", "disk C is 93% full");
  EXPECT_EQ(errorText, expected);
  EXPECT_EQ(debugger.text, expected);
  EXPECT_EQ(outputText, "");
}

TEST_F(LoggingTest, BuiltInGroupFiltersSplitTheOutputs) {
  LogManager& manager = LogManager::Instance();
  manager.StdOutTarget().Attach();
  DebugOutputCapture debugger;
  DescriptorCapture standardOutput(STDOUT_FILENO);
  DescriptorCapture standardError(STDERR_FILENO);
  LogMessage(LogLevel::Error, log_groups::GEN, "general");
  LogMessage(LogLevel::Error, log_groups::DBG | log_groups::GEN, "both");
  LogMessage(LogLevel::Error, log_groups::NET, "network");
  LogMessage(LogLevel::Error, 0, "ungrouped");
  const std::string errorText = standardError.Finish();
  const std::string outputText = standardOutput.Finish();
  EXPECT_EQ(outputText, "general\nungrouped\n");
  EXPECT_EQ(errorText, ConsoleLine(" ERROR", "ungrouped"));
  EXPECT_EQ(debugger.text, ConsoleLine(" ERROR", "both") + ConsoleLine(" ERROR", "ungrouped"));
}

TEST_F(LoggingTest, DetachedBuiltInsStaySilent) {
  LogManager& manager = LogManager::Instance();
  manager.StdErrTarget().Detach();
  manager.DebuggerTarget().Detach();
  DebugOutputCapture debugger;
  DescriptorCapture standardError(STDERR_FILENO);
  LogMessage(LogLevel::Always, log_groups::DBG, "nowhere");
  EXPECT_EQ(standardError.Finish(), "");
  EXPECT_EQ(debugger.text, "");
}

TEST(ConsoleLogTargetsTest, NamesOfTheTargetClasses) {
  StdErrLogTarget error;
  StdOutLogTarget output;
  DebuggerConsoleLogTarget debugger;
  EXPECT_STREQ(error.Name(), "StdErrLogTarget");
  EXPECT_STREQ(output.Name(), "StdOutLogTarget");
  EXPECT_STREQ(debugger.Name(), "DebuggerConsoleLogTarget");
  EXPECT_STREQ(debugger.BaseConsoleLogTarget::Name(), "BaseConsoleLogTarget");
  EXPECT_STREQ(debugger.LogTarget::Name(), "LogTarget");
}

}  // namespace
}  // namespace zun
