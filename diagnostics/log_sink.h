// LogSink: the plain table of operations every log target carries inside
// itself. The manager lists targets by these tables only, so a target built in
// any module can be registered.
#pragma once

#include <cstdint>

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"
#include "diagnostics/log_record.h"

namespace zun {

inline constexpr int32_t kLogSinkVersion = 1;

// Every operation takes the sink itself first.
struct LogSink {
  int32_t (*version)(LogSink* sink);
  void (*setLevel)(LogSink* sink, LogLevel level);
  LogLevel (*getLevel)(LogSink* sink);
  // Stores include without the exclude bits, and exclude as given.
  void (*setGroups)(LogSink* sink, LogGroupMask include, LogGroupMask exclude);
  LogGroupMask (*getIncludeGroups)(LogSink* sink);
  LogGroupMask (*getExcludeGroups)(LogSink* sink);
  const char* (*name)(LogSink* sink);
  const char* (*lineFormat)(LogSink* sink, const LogRecord* record);
  // Appends the sink to the manager's list unless it is there already.
  void (*attach)(LogSink* sink);
  // Removes the sink from the manager's list if it is there.
  void (*detach)(LogSink* sink);
  bool (*isAttached)(LogSink* sink);
  bool (*write)(LogSink* sink, const LogRecord* record);
};

}  // namespace zun
