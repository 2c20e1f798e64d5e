// LoggingApi: the logging core as a table of plain operations, for framework
// code that reaches logging through a table rather than by linking to it.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"
#include "diagnostics/log_record.h"
#include "diagnostics/log_sink.h"

namespace zun {

inline constexpr int32_t kLoggingApiVersion = 1;

struct LoggingApi {
  int32_t (*version)();
  void (*addReference)();
  void (*releaseReference)();
  void (*setMinimumLevel)(LogLevel level);
  LogLevel (*getMinimumLevel)();
  void (*setMutedGroups)(LogGroupMask groups);
  LogGroupMask (*getMutedGroups)();
  void (*disable)();
  void (*enable)();
  void (*registerSink)(LogSink* sink);
  void (*unregisterSink)(LogSink* sink);
  LogSink* (*findTarget)(const char* name);
  LogSink* (*stdOutSink)();
  LogSink* (*stdErrSink)();
  LogSink* (*debuggerSink)();
  LogGroupMask (*registerGroup)(const char* name);
  size_t (*groupNames)(LogGroupMask mask, char* buffer, size_t size);
  size_t (*formatLine)(char* buffer, size_t size, const char* lineFormat, const LogRecord* record);
  const char* (*levelLabel)(LogLevel level);
  const char* (*executableName)();
  void (*currentTime)(LogTimestamp* time);
  size_t (*formatTimestamp)(char* buffer, size_t size, const LogTimestamp* time);
  size_t (*formatFileNameTimestamp)(char* buffer, size_t size, const LogTimestamp* time);
  void (*logMessageV)(LogLevel level, LogGroupMask groups, const char* format, va_list arguments);
};

[[nodiscard]] const LoggingApi& GetLoggingApi();

}  // namespace zun
