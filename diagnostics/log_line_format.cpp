// Line rendering for log targets.
#include "diagnostics/log_line_format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "diagnostics/log_groups.h"
#include "diagnostics/log_level.h"
#include "diagnostics/log_manager.h"
#include "diagnostics/log_timestamp.h"
#include "platform/clock.h"
#include "platform/process.h"

namespace zun {

namespace {

constexpr size_t kLineEndBytes = 2;  // line feed and NUL
constexpr size_t kTokenScratch = 512;

// Appends characters while the content room lasts; the line end is added
// after the content and never cut.
class LineWriter {
 public:
  LineWriter(char* buffer, size_t size) : buffer_(buffer), contentLimit_(size - kLineEndBytes) {}

  void Put(char c) {
    if (length_ < contentLimit_) buffer_[length_++] = c;
  }
  void Put(const char* text) {
    for (; *text != '\0' && length_ < contentLimit_; ++text) buffer_[length_++] = *text;
  }
  [[nodiscard]] size_t Finish() {
    if (length_ == 0 || buffer_[length_ - 1] != '\n') buffer_[length_++] = '\n';
    buffer_[length_] = '\0';
    return length_;
  }

 private:
  char* buffer_;
  size_t contentLimit_;
  size_t length_ = 0;
};

struct HighResolutionClock {
  int64_t frequency;
  int64_t origin;
};

const HighResolutionClock& TheHighResolutionClock() {
  static const HighResolutionClock clock{platform::PerformanceFrequency(), platform::PerformanceCounter()};
  return clock;
}

void PutToken(LineWriter& writer, char token, const LogRecord& record) {
  char scratch[kTokenScratch];
  switch (token) {
    case 'D':
      FormatLogTimestamp(scratch, sizeof(scratch), record.time);
      writer.Put(scratch);
      return;
    case 'E':
      writer.Put(LogManager::Instance().ExecutableName());
      return;
    case 'G':
      LogGroupNames(record.groups, scratch, sizeof(scratch));
      writer.Put(scratch);
      return;
    case 'H':
      FormatHighResolutionSeconds(scratch, sizeof(scratch));
      writer.Put(scratch);
      return;
    case 'L':
      writer.Put(LogLevelLabel(record.level));
      return;
    case 'M':
      writer.Put(record.message != nullptr ? record.message : "");
      return;
    case 'T':
      std::snprintf(scratch, sizeof(scratch), "%08X", platform::CurrentThreadId());
      writer.Put(scratch);
      return;
    default:
      writer.Put(token);
      return;
  }
}

}  // namespace

size_t FormatHighResolutionSeconds(char* buffer, size_t size) {
  if (size == 0) return 0;
  const HighResolutionClock& clock = TheHighResolutionClock();
  const int64_t elapsed = platform::PerformanceCounter() - clock.origin;
  const auto seconds = static_cast<float>(static_cast<double>(elapsed) / static_cast<double>(clock.frequency));
  const auto whole = static_cast<int32_t>(seconds);
  const auto milliseconds = static_cast<int32_t>(static_cast<int64_t>(seconds * 1000.0F) % 1000);
  const int written = std::snprintf(buffer, size, "%06d.%03d", whole, milliseconds);
  if (written < 0) return 0;
  return static_cast<size_t>(written) < size ? static_cast<size_t>(written) : size - 1;
}

size_t FormatLogLine(char* buffer, size_t size, const char* lineFormat, const LogRecord& record) {
  if (size < kLineEndBytes) {
    if (size == 1) buffer[0] = '\0';
    return 0;
  }
  LineWriter writer(buffer, size);
  for (const char* cursor = lineFormat != nullptr ? lineFormat : ""; *cursor != '\0'; ++cursor) {
    if (*cursor != '#') {
      writer.Put(*cursor);
      continue;
    }
    if (cursor[1] == '\0') break;
    ++cursor;
    PutToken(writer, *cursor, record);
  }
  return writer.Finish();
}

}  // namespace zun
