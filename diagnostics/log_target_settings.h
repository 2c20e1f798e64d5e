// The settings the plugin applies to a log target when it installs it.
#pragma once

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"

namespace zun {

inline constexpr const char* kDefaultLogLineFormat = "#D| #L| #G| #M";

struct LogTargetSettings {
  LogLevel level = LogLevel::Warn;          // records below it are skipped
  LogGroupMask includeGroups = 0;           // empty: every group passes
  LogGroupMask excludeGroups = 0;           // any of these skips a record
  const char* lineFormat = kDefaultLogLineFormat;  // copied; null keeps the current one
};

}  // namespace zun
