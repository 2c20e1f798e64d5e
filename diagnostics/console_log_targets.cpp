// Console and debugger targets: where the built-in targets put their lines.
#include "diagnostics/console_log_targets.h"

#include <cstdio>

#include "diagnostics/log_line_format.h"
#include "platform/debug_output.h"

namespace zun {

namespace {
constexpr const char* kBaseConsoleName = "BaseConsoleLogTarget";
constexpr const char* kStdErrName = "StdErrLogTarget";
constexpr const char* kStdOutName = "StdOutLogTarget";
constexpr const char* kDebuggerName = "DebuggerConsoleLogTarget";
}  // namespace

const char* BaseConsoleLogTarget::Name() const { return kBaseConsoleName; }

bool BaseConsoleLogTarget::Write(const LogRecord& record) {
  char line[kLogLineCapacity];
  platform::CriticalSectionGuard guard(Lock());
  FormatLogLine(line, sizeof(line), LineFormatFor(record), record);
  Output(line);
  Flush();
  return true;
}

// Each concrete target detaches in its own destructor: a write arriving during
// destruction must still find the concrete Output.

StdErrLogTarget::StdErrLogTarget() {
  SetLineFormat(kConsoleLineFormat);
  SetGroups(log_groups::DBG, log_groups::GEN);
}
StdErrLogTarget::~StdErrLogTarget() { Detach(); }
const char* StdErrLogTarget::Name() const { return kStdErrName; }
void StdErrLogTarget::Flush() { std::fflush(stderr); }
void StdErrLogTarget::Output(const char* line) { std::fputs(line, stderr); }

StdOutLogTarget::StdOutLogTarget() {
  SetLineFormat(kPlainLineFormat);
  SetGroups(log_groups::GEN, log_groups::DBG);
}
StdOutLogTarget::~StdOutLogTarget() { Detach(); }
const char* StdOutLogTarget::Name() const { return kStdOutName; }
void StdOutLogTarget::Flush() { std::fflush(stdout); }
void StdOutLogTarget::Output(const char* line) { std::fputs(line, stdout); }

DebuggerConsoleLogTarget::DebuggerConsoleLogTarget() {
  SetLineFormat(kConsoleLineFormat);
  SetGroups(log_groups::DBG, 0);
}
DebuggerConsoleLogTarget::~DebuggerConsoleLogTarget() { Detach(); }
const char* DebuggerConsoleLogTarget::Name() const { return kDebuggerName; }
void DebuggerConsoleLogTarget::Output(const char* line) { platform::OutputDebugText(line); }

}  // namespace zun
