// LogManager: the process-wide logging core. It filters messages, keeps the
// list of registered targets (as LogSink tables) and the three built-in
// targets, and hands every accepted record to the targets in list order.
//
// The manager object lives in static storage and is never freed, so a thread
// still holding it while the last reference is released never touches freed
// memory. "Creating" the manager builds its targets; "destroying" it detaches
// every sink, destroys the built-in targets and restores the default filters.
// Its filters are atomics read without a lock, so a dropped message costs a
// few loads and comparisons.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "diagnostics/framework_allocator.h"
#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"
#include "diagnostics/log_record.h"
#include "diagnostics/log_sink.h"
#include "platform/critical_section.h"

namespace zun {

class LogTarget;
class StdErrLogTarget;
class StdOutLogTarget;
class DebuggerConsoleLogTarget;

inline constexpr LogLevel kDefaultMinimumLogLevel = LogLevel::Warn;
inline constexpr LogGroupMask kDefaultMutedLogGroups = log_groups::XTR;
inline constexpr size_t kExecutablePathCapacity = 1024;
inline constexpr const char* kUnknownExecutableName = "<unknown>";

namespace detail {
// The global filters; they outlive every creation and destruction of the
// manager's targets.
struct LogFilters {
  std::atomic<bool> disabled{false};
  std::atomic<int32_t> minimumLevel{static_cast<int32_t>(kDefaultMinimumLogLevel)};
  std::atomic<LogGroupMask> mutedGroups{kDefaultMutedLogGroups};
};
inline constinit LogFilters logFilters{};
}  // namespace detail

class LogManager {
 public:
  LogManager(const LogManager&) = delete;
  LogManager& operator=(const LogManager&) = delete;

  // The manager, created (targets built, standard error and debugger
  // attached) if there is none.
  [[nodiscard]] static LogManager& Instance();

  // Whether the global filters let a message through. No lock.
  [[nodiscard]] static bool Accepts(LogLevel level, LogGroupMask groups) {
    const detail::LogFilters& filters = detail::logFilters;
    if (filters.disabled.load(std::memory_order_relaxed)) return false;
    if (static_cast<int32_t>(level) < filters.minimumLevel.load(std::memory_order_relaxed)) return false;
    return (groups & filters.mutedGroups.load(std::memory_order_relaxed)) == 0;
  }

  void SetMinimumLevel(LogLevel level);
  [[nodiscard]] LogLevel MinimumLevel() const;
  void SetMutedGroups(LogGroupMask groups);
  [[nodiscard]] LogGroupMask MutedGroups() const;
  void Disable();
  void Enable();
  [[nodiscard]] bool IsDisabled() const;

  // Attach and detach through the sink's own table.
  void RegisterSink(LogSink* sink);
  void UnregisterSink(LogSink* sink);
  // The first registered target whose name matches byte for byte; null if none.
  [[nodiscard]] LogSink* FindTarget(const char* name);
  // Registered sinks in list order (a copy taken under the lock).
  [[nodiscard]] std::vector<LogSink*> RegisteredSinks();

  [[nodiscard]] LogTarget& StdErrTarget();
  [[nodiscard]] LogTarget& StdOutTarget();
  [[nodiscard]] LogTarget& DebuggerTarget();

  [[nodiscard]] const char* ExecutablePath() const { return executablePath_; }
  // The part of the path after its last separator; "<unknown>" when the path
  // could not be read.
  [[nodiscard]] const char* ExecutableName() const { return executableName_; }

  // Offers the record to every registered target whose filters it passes.
  void Dispatch(const LogRecord& record);

  [[nodiscard]] platform::CriticalSection& Lock() { return lock_; }

 private:
  friend class LogTarget;
  friend void AcquireLogging();
  friend void ReleaseLogging();

  LogManager();
  ~LogManager() = delete;

  // The object whether or not it has been created; never creates it.
  [[nodiscard]] static LogManager& Object();

  // Both with the lock held.
  void CreateLocked();
  void DestroyLocked();
  void AppendSink(LogSink* sink);
  void RemoveSink(LogSink* sink);

  platform::CriticalSection lock_;
  std::atomic<bool> created_{false};
  std::vector<LogSink*, FrameworkStdAllocator<LogSink*>> sinks_;
  StdErrLogTarget* stdErrTarget_ = nullptr;
  StdOutLogTarget* stdOutTarget_ = nullptr;
  DebuggerConsoleLogTarget* debuggerTarget_ = nullptr;
  char executablePath_[kExecutablePathCapacity] = {};
  const char* executableName_ = kUnknownExecutableName;
};

// A reference on the logging core: the first creates the manager, the last
// release destroys it. Unbalanced releases are ignored.
void AcquireLogging();
void ReleaseLogging();
[[nodiscard]] uint32_t LoggingReferenceCount();

}  // namespace zun
