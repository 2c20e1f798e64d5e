// The debug trace hook and its optional sink.
#include "plugin/debug_trace.h"

#include <atomic>
#include <cstdio>

namespace zun {

namespace {
constexpr size_t kTraceLineCapacity = 1024;
std::atomic<DebugTraceSink> traceSink{nullptr};
}  // namespace

void DebugTrace(const char* format, ...) {
  const DebugTraceSink sink = traceSink.load(std::memory_order_acquire);
  if (sink == nullptr) return;
  char line[kTraceLineCapacity];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(line, sizeof(line), format, arguments);
  va_end(arguments);
  sink(line);
}

DebugTraceSink SetDebugTraceSink(DebugTraceSink sink) {
  return traceSink.exchange(sink, std::memory_order_acq_rel);
}

}  // namespace zun
