// LogMessage: filter first, format and dispatch only what passes.
#include "diagnostics/log_message.h"

#include <cstdio>

#include "diagnostics/log_manager.h"
#include "diagnostics/log_record.h"
#include "diagnostics/log_timestamp.h"

namespace zun {

namespace {

// Out of line so that a dropped message pays for no buffer or formatting.
[[gnu::noinline]] __attribute__((format(printf, 3, 0))) void DeliverMessage(
    LogLevel level, LogGroupMask groups, const char* format, va_list arguments) {
  char text[kLogMessageCapacity];
  if (format == nullptr) {
    text[0] = '\0';
  } else {
    std::vsnprintf(text, sizeof(text), format, arguments);
  }
  LogRecord record;
  record.time = CurrentLogTimestamp();
  record.level = level;
  record.groups = groups;
  record.message = text;
  LogManager::Instance().Dispatch(record);
}

}  // namespace

void LogMessage(LogLevel level, LogGroupMask groups, const char* format, ...) {
  if (!LogManager::Accepts(level, groups)) return;
  va_list arguments;
  va_start(arguments, format);
  DeliverMessage(level, groups, format, arguments);
  va_end(arguments);
}

void LogMessageV(LogLevel level, LogGroupMask groups, const char* format, va_list arguments) {
  if (!LogManager::Accepts(level, groups)) return;
  DeliverMessage(level, groups, format, arguments);
}

}  // namespace zun
