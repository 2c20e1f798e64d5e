// The logging calls every part of the framework uses: a printf-style message
// with a level and a set of groups, and the reference that keeps the logging
// core alive.
#pragma once

#include <cstdarg>

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"

namespace zun {

// Drops the message when logging is disabled, the level is below the minimum
// or a group is muted; otherwise formats it (cut to 4095 characters), stamps
// it with the local time and hands it to the targets. Never fails.
void LogMessage(LogLevel level, LogGroupMask groups, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void LogMessageV(LogLevel level, LogGroupMask groups, const char* format, va_list arguments)
    __attribute__((format(printf, 3, 0)));

// The first reference creates the logging core; releasing the last destroys it.
void AcquireLogging();
void ReleaseLogging();

}  // namespace zun
