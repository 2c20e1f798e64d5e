// A stand-in for the system tracing service: it records every call, and can
// enable a provider while it registers, as a controller that was already
// running would. Tests link to it; the framework finds it by its fixed name.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/event_tracing.h"

extern "C" {

enum FakeTraceCallKind : int32_t { kFakeTraceRegister = 1, kFakeTraceWrite = 2, kFakeTraceUnregister = 3 };

inline constexpr size_t kFakeTraceMaxPayload = 64;

struct FakeTraceCall {
  FakeTraceCallKind kind;
  zun::platform::TraceGuid guid;                  // register
  zun::platform::TraceEnableCallbackFn callback;  // register
  void* context;                                  // register
  uint64_t handle;                                // handle given (register) or used
  zun::platform::TraceEventDescriptor event;      // write
  uint32_t dataCount;                             // write
  uint32_t dataSizes[2];                          // write: first two fields
  uint8_t payload[2][kFakeTraceMaxPayload];       // write: their bytes
};

// The service's own entry points.
__attribute__((visibility("default"))) uint32_t EventRegister(
    const zun::platform::TraceGuid* provider, zun::platform::TraceEnableCallbackFn callback,
    void* context, zun::platform::TraceRegistrationHandle* handle);
__attribute__((visibility("default"))) uint32_t EventWrite(
    zun::platform::TraceRegistrationHandle handle, const zun::platform::TraceEventDescriptor* event,
    uint32_t dataCount, zun::platform::TraceDataDescriptor* data);
__attribute__((visibility("default"))) uint32_t EventUnregister(zun::platform::TraceRegistrationHandle handle);

// Inspection and control.
__attribute__((visibility("default"))) size_t FakeTraceCallCount();
__attribute__((visibility("default"))) bool FakeTraceGetCall(size_t index, FakeTraceCall* call);
// The next registrations of the provider whose GUID starts with `data1` are
// enabled during EventRegister with these values; a zero data1 stops it.
__attribute__((visibility("default"))) void FakeTraceEnableOnRegister(uint32_t data1, uint8_t level,
                                                                      uint64_t matchAny, uint64_t matchAll);
// Makes EventRegister refuse (handle left 0) while set.
__attribute__((visibility("default"))) void FakeTraceRefuseRegistration(bool refuse);
}
