// Labels of the log levels, all six characters wide so that lines align.
#include "diagnostics/log_level.h"

namespace zun {

namespace {
constexpr const char* kLevelLabels[] = {"  OKAY", "  WARN", " ERROR", "ALWAYS"};
constexpr const char* kUnknownLevelLabel = "   ???";
}  // namespace

const char* LogLevelLabel(LogLevel level) {
  const auto index = static_cast<int32_t>(level);
  if (index < 0 || index >= static_cast<int32_t>(sizeof(kLevelLabels) / sizeof(kLevelLabels[0]))) {
    return kUnknownLevelLabel;
  }
  return kLevelLabels[index];
}

}  // namespace zun
