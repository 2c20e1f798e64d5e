// LogManager: creation and destruction, filters, the sink list and dispatch.
#include "diagnostics/log_manager.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "diagnostics/console_log_targets.h"
#include "platform/process.h"

namespace zun {

namespace {

constinit std::atomic<uint32_t> loggingReferences{0};

// A record with no groups passes both group tests.
bool PassesTargetFilters(LogSink* sink, const LogRecord& record) {
  if (static_cast<int32_t>(record.level) < static_cast<int32_t>(sink->getLevel(sink))) return false;
  if (record.groups == 0) return true;
  if ((record.groups & sink->getExcludeGroups(sink)) != 0) return false;
  const LogGroupMask include = sink->getIncludeGroups(sink);
  return include == 0 || (record.groups & include) != 0;
}

void RestoreDefaultFilters() {
  detail::logFilters.disabled.store(false, std::memory_order_relaxed);
  detail::logFilters.minimumLevel.store(static_cast<int32_t>(kDefaultMinimumLogLevel),
                                        std::memory_order_relaxed);
  detail::logFilters.mutedGroups.store(kDefaultMutedLogGroups, std::memory_order_relaxed);
}

}  // namespace

LogManager::LogManager() {
  if (platform::ExecutablePath(executablePath_, sizeof(executablePath_)) > 0) {
    executableName_ = platform::FileNameOfPath(executablePath_);
  }
}

LogManager& LogManager::Object() {
  // Never destroyed: log calls from static destructors still find it.
  alignas(LogManager) static unsigned char storage[sizeof(LogManager)];
  static LogManager* const manager = new (storage) LogManager();
  return *manager;
}

LogManager& LogManager::Instance() {
  LogManager& manager = Object();
  if (!manager.created_.load(std::memory_order_acquire)) {
    platform::CriticalSectionGuard guard(manager.lock_);
    manager.CreateLocked();
  }
  return manager;
}

void LogManager::CreateLocked() {
  if (created_.load(std::memory_order_relaxed)) return;
  stdErrTarget_ = FrameworkNew<StdErrLogTarget>();
  stdOutTarget_ = FrameworkNew<StdOutLogTarget>();
  debuggerTarget_ = FrameworkNew<DebuggerConsoleLogTarget>();
  // Marked before attaching: attaching asks for the created manager again.
  created_.store(true, std::memory_order_release);
  if (stdErrTarget_ != nullptr) stdErrTarget_->Attach();
  if (debuggerTarget_ != nullptr) debuggerTarget_->Attach();
}

void LogManager::DestroyLocked() {
  if (!created_.load(std::memory_order_relaxed)) return;
  while (!sinks_.empty()) {
    LogSink* sink = sinks_.back();
    sink->detach(sink);
    // A foreign table that failed to leave must not hold up the others.
    if (!sinks_.empty() && sinks_.back() == sink) sinks_.pop_back();
  }
  FrameworkDelete(stdErrTarget_);
  FrameworkDelete(stdOutTarget_);
  FrameworkDelete(debuggerTarget_);
  stdErrTarget_ = nullptr;
  stdOutTarget_ = nullptr;
  debuggerTarget_ = nullptr;
  RestoreDefaultFilters();
  created_.store(false, std::memory_order_release);
}

void LogManager::SetMinimumLevel(LogLevel level) {
  platform::CriticalSectionGuard guard(lock_);
  detail::logFilters.minimumLevel.store(static_cast<int32_t>(level), std::memory_order_relaxed);
}

LogLevel LogManager::MinimumLevel() const {
  return static_cast<LogLevel>(detail::logFilters.minimumLevel.load(std::memory_order_relaxed));
}

void LogManager::SetMutedGroups(LogGroupMask groups) {
  platform::CriticalSectionGuard guard(lock_);
  detail::logFilters.mutedGroups.store(groups, std::memory_order_relaxed);
}

LogGroupMask LogManager::MutedGroups() const {
  return detail::logFilters.mutedGroups.load(std::memory_order_relaxed);
}

void LogManager::Disable() {
  platform::CriticalSectionGuard guard(lock_);
  detail::logFilters.disabled.store(true, std::memory_order_relaxed);
}

void LogManager::Enable() {
  platform::CriticalSectionGuard guard(lock_);
  detail::logFilters.disabled.store(false, std::memory_order_relaxed);
}

bool LogManager::IsDisabled() const { return detail::logFilters.disabled.load(std::memory_order_relaxed); }

void LogManager::RegisterSink(LogSink* sink) {
  if (sink != nullptr) sink->attach(sink);
}

void LogManager::UnregisterSink(LogSink* sink) {
  if (sink != nullptr) sink->detach(sink);
}

LogSink* LogManager::FindTarget(const char* name) {
  if (name == nullptr) return nullptr;
  platform::CriticalSectionGuard guard(lock_);
  for (LogSink* sink : sinks_) {
    const char* sinkName = sink->name(sink);
    if (sinkName != nullptr && std::strcmp(sinkName, name) == 0) return sink;
  }
  return nullptr;
}

std::vector<LogSink*> LogManager::RegisteredSinks() {
  platform::CriticalSectionGuard guard(lock_);
  return {sinks_.begin(), sinks_.end()};
}

LogTarget& LogManager::StdErrTarget() {
  platform::CriticalSectionGuard guard(lock_);
  CreateLocked();
  return *stdErrTarget_;
}

LogTarget& LogManager::StdOutTarget() {
  platform::CriticalSectionGuard guard(lock_);
  CreateLocked();
  return *stdOutTarget_;
}

LogTarget& LogManager::DebuggerTarget() {
  platform::CriticalSectionGuard guard(lock_);
  CreateLocked();
  return *debuggerTarget_;
}

void LogManager::Dispatch(const LogRecord& record) {
  platform::CriticalSectionGuard guard(lock_);
  CreateLocked();
  // By index: a target may attach or detach targets from inside its write.
  for (size_t i = 0; i < sinks_.size(); ++i) {
    LogSink* sink = sinks_[i];
    if (PassesTargetFilters(sink, record)) sink->write(sink, &record);
  }
}

void LogManager::AppendSink(LogSink* sink) {
  CreateLocked();
  if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) sinks_.push_back(sink);
}

void LogManager::RemoveSink(LogSink* sink) {
  const auto found = std::find(sinks_.begin(), sinks_.end(), sink);
  if (found != sinks_.end()) sinks_.erase(found);
}

void AcquireLogging() {
  if (loggingReferences.fetch_add(1, std::memory_order_acq_rel) == 0) (void)LogManager::Instance();
}

void ReleaseLogging() {
  uint32_t count = loggingReferences.load(std::memory_order_relaxed);
  do {
    if (count == 0) return;
  } while (!loggingReferences.compare_exchange_weak(count, count - 1, std::memory_order_acq_rel));
  if (count != 1) return;
  LogManager& manager = LogManager::Object();
  platform::CriticalSectionGuard guard(manager.lock_);
  // Another thread may have taken a new reference meanwhile.
  if (loggingReferences.load(std::memory_order_acquire) == 0) manager.DestroyLocked();
}

uint32_t LoggingReferenceCount() { return loggingReferences.load(std::memory_order_relaxed); }

}  // namespace zun
