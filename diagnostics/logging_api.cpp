// The LoggingApi table over the logging core.
#include "diagnostics/logging_api.h"

#include "diagnostics/log_line_format.h"
#include "diagnostics/log_manager.h"
#include "diagnostics/log_message.h"
#include "diagnostics/log_target.h"
#include "diagnostics/log_timestamp.h"

namespace zun {

namespace {

int32_t ApiVersion() { return kLoggingApiVersion; }
void ApiSetMinimumLevel(LogLevel level) { LogManager::Instance().SetMinimumLevel(level); }
LogLevel ApiGetMinimumLevel() { return LogManager::Instance().MinimumLevel(); }
void ApiSetMutedGroups(LogGroupMask groups) { LogManager::Instance().SetMutedGroups(groups); }
LogGroupMask ApiGetMutedGroups() { return LogManager::Instance().MutedGroups(); }
void ApiDisable() { LogManager::Instance().Disable(); }
void ApiEnable() { LogManager::Instance().Enable(); }
void ApiRegisterSink(LogSink* sink) { LogManager::Instance().RegisterSink(sink); }
void ApiUnregisterSink(LogSink* sink) { LogManager::Instance().UnregisterSink(sink); }
LogSink* ApiFindTarget(const char* name) { return LogManager::Instance().FindTarget(name); }
LogSink* ApiStdOutSink() { return LogManager::Instance().StdOutTarget().Sink(); }
LogSink* ApiStdErrSink() { return LogManager::Instance().StdErrTarget().Sink(); }
LogSink* ApiDebuggerSink() { return LogManager::Instance().DebuggerTarget().Sink(); }
size_t ApiFormatLine(char* buffer, size_t size, const char* lineFormat, const LogRecord* record) {
  return record != nullptr ? FormatLogLine(buffer, size, lineFormat, *record) : 0;
}
const char* ApiExecutableName() { return LogManager::Instance().ExecutableName(); }
void ApiCurrentTime(LogTimestamp* time) {
  if (time != nullptr) *time = CurrentLogTimestamp();
}
size_t ApiFormatTimestamp(char* buffer, size_t size, const LogTimestamp* time) {
  return time != nullptr ? FormatLogTimestamp(buffer, size, *time) : 0;
}
size_t ApiFormatFileNameTimestamp(char* buffer, size_t size, const LogTimestamp* time) {
  return time != nullptr ? FormatFileNameTimestamp(buffer, size, *time) : 0;
}

constexpr LoggingApi kLoggingApi = {
    ApiVersion,
    AcquireLogging,
    ReleaseLogging,
    ApiSetMinimumLevel,
    ApiGetMinimumLevel,
    ApiSetMutedGroups,
    ApiGetMutedGroups,
    ApiDisable,
    ApiEnable,
    ApiRegisterSink,
    ApiUnregisterSink,
    ApiFindTarget,
    ApiStdOutSink,
    ApiStdErrSink,
    ApiDebuggerSink,
    RegisterLogGroup,
    LogGroupNames,
    ApiFormatLine,
    LogLevelLabel,
    ApiExecutableName,
    ApiCurrentTime,
    ApiFormatTimestamp,
    ApiFormatFileNameTimestamp,
    LogMessageV,
};

}  // namespace

const LoggingApi& GetLoggingApi() { return kLoggingApi; }

}  // namespace zun
