// The recording tracing service for the diagnostics tests.
//
// When the environment names a file in ZUN_FAKE_TRACE_LOG, each call is also
// appended to it as one text line ("register <data1> <handle>", "write
// <handle> <event id>", "unregister <handle>"), so a test can see what a
// process did until its very end (unregistration runs in static destructors).
#include "tests/diagnostics/fake_event_tracing.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

using zun::platform::TraceDataDescriptor;
using zun::platform::TraceEventDescriptor;
using zun::platform::TraceGuid;

struct EnableRule {
  uint32_t data1 = 0;
  uint8_t level = 0;
  uint64_t matchAny = 0;
  uint64_t matchAll = 0;
};

struct Recorder {
  std::mutex mutex;
  std::vector<FakeTraceCall> calls;
  EnableRule rule;
  bool refuse = false;
  uint64_t nextHandle = 0x1000;
};

// Never destroyed: unregistration arrives from static destructors.
Recorder& TheRecorder() {
  static Recorder* recorder = new Recorder();
  return *recorder;
}

void AppendToLogFile(const char* line) {
  const char* path = std::getenv("ZUN_FAKE_TRACE_LOG");
  if (path == nullptr || path[0] == '\0') return;
  FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  std::fputs(line, file);
  std::fputc('\n', file);
  std::fclose(file);
}

void Record(const FakeTraceCall& call) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  TheRecorder().calls.push_back(call);
}

}  // namespace

extern "C" {

uint32_t EventRegister(const TraceGuid* provider, zun::platform::TraceEnableCallbackFn callback, void* context,
                       zun::platform::TraceRegistrationHandle* handle) {
  Recorder& recorder = TheRecorder();
  FakeTraceCall call{};
  call.kind = kFakeTraceRegister;
  call.guid = *provider;
  call.callback = callback;
  call.context = context;
  EnableRule rule;
  {
    std::lock_guard<std::mutex> lock(recorder.mutex);
    if (recorder.refuse) return 87;
    call.handle = recorder.nextHandle++;
    rule = recorder.rule;
  }
  *handle = call.handle;
  Record(call);
  char line[96];
  std::snprintf(line, sizeof(line), "register %08" PRIX32 " %" PRIu64, provider->data1, call.handle);
  AppendToLogFile(line);
  if (rule.data1 != 0 && rule.data1 == provider->data1 && callback != nullptr) {
    callback(provider, zun::platform::kTraceControlEnable, rule.level, rule.matchAny, rule.matchAll, nullptr,
             context);
  }
  return 0;
}

uint32_t EventWrite(zun::platform::TraceRegistrationHandle handle, const TraceEventDescriptor* event,
                    uint32_t dataCount, TraceDataDescriptor* data) {
  FakeTraceCall call{};
  call.kind = kFakeTraceWrite;
  call.handle = handle;
  call.event = *event;
  call.dataCount = dataCount;
  for (uint32_t i = 0; i < dataCount && i < 2; ++i) {
    call.dataSizes[i] = data[i].size;
    const size_t copied = data[i].size < kFakeTraceMaxPayload ? data[i].size : kFakeTraceMaxPayload;
    std::memcpy(call.payload[i], reinterpret_cast<const void*>(static_cast<uintptr_t>(data[i].pointer)), copied);
  }
  Record(call);
  char line[96];
  std::snprintf(line, sizeof(line), "write %" PRIu64 " %u", handle, static_cast<unsigned>(event->id));
  AppendToLogFile(line);
  return 0;
}

uint32_t EventUnregister(zun::platform::TraceRegistrationHandle handle) {
  FakeTraceCall call{};
  call.kind = kFakeTraceUnregister;
  call.handle = handle;
  Record(call);
  char line[96];
  std::snprintf(line, sizeof(line), "unregister %" PRIu64, handle);
  AppendToLogFile(line);
  return 0;
}

size_t FakeTraceCallCount() {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  return TheRecorder().calls.size();
}

bool FakeTraceGetCall(size_t index, FakeTraceCall* call) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  if (index >= TheRecorder().calls.size()) return false;
  *call = TheRecorder().calls[index];
  return true;
}

void FakeTraceEnableOnRegister(uint32_t data1, uint8_t level, uint64_t matchAny, uint64_t matchAll) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  TheRecorder().rule = EnableRule{data1, level, matchAny, matchAll};
}

void FakeTraceRefuseRegistration(bool refuse) {
  std::lock_guard<std::mutex> lock(TheRecorder().mutex);
  TheRecorder().refuse = refuse;
}

}  // extern "C"
