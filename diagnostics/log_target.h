// LogTarget: the base class of every log target, with its LogSink table, its
// filters and its line format.
//
// Locking: the manager's lock is always taken before a target's lock. Attach
// and detach take only the manager's lock; level, groups and line format only
// the target's. A derived class whose write uses its own members must call
// Detach() in its destructor, before those members go away.
#pragma once

#include <atomic>

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"
#include "diagnostics/log_record.h"
#include "diagnostics/log_sink.h"
#include "diagnostics/log_target_settings.h"
#include "platform/critical_section.h"

namespace zun {

class LogTarget {
 public:
  LogTarget();
  LogTarget(const LogTarget&) = delete;
  LogTarget& operator=(const LogTarget&) = delete;
  virtual ~LogTarget();

  // Leaves the manager's list if attached.
  virtual void Detach();
  [[nodiscard]] virtual const char* Name() const;
  // The line format to render `record` with. Valid while the target's lock
  // is held.
  [[nodiscard]] virtual const char* LineFormatFor(const LogRecord& record) const;
  // Renders and outputs one record. The manager ignores the result.
  virtual bool Write(const LogRecord& record) = 0;

  // Joins the manager's list (creating the manager if there is none).
  void Attach();
  [[nodiscard]] bool IsAttached() const;

  void SetLevel(LogLevel level);
  [[nodiscard]] LogLevel Level() const;
  void SetGroups(LogGroupMask include, LogGroupMask exclude);
  [[nodiscard]] LogGroupMask IncludeGroups() const;
  [[nodiscard]] LogGroupMask ExcludeGroups() const;
  // Copies the format; null leaves the current one.
  void SetLineFormat(const char* lineFormat);

  // Detaches, sets level, groups and line format, and attaches again. The
  // locks are taken one after the other, never target before manager.
  void Apply(const LogTargetSettings& settings);

  [[nodiscard]] LogSink* Sink() { return &slot_.sink; }
  // The target that carries `sink`, which must be a LogTarget's table.
  [[nodiscard]] static LogTarget* FromSink(LogSink* sink);

 protected:
  platform::CriticalSection& Lock() const { return lock_; }

 private:
  friend class LogManager;
  // The table first, so a pointer to it is a pointer to the slot.
  struct SinkSlot {
    LogSink sink;
    LogTarget* owner;
  };

  // Called by the manager with its lock held.
  void MarkAttached(bool attached) { attached_.store(attached, std::memory_order_relaxed); }

  SinkSlot slot_;
  std::atomic<bool> attached_{false};
  mutable platform::CriticalSection lock_;
  LogLevel level_ = LogLevel::Warn;
  LogGroupMask includeGroups_ = 0;
  LogGroupMask excludeGroups_ = 0;
  char* lineFormat_ = nullptr;  // framework memory
};

}  // namespace zun
