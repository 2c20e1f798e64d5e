// The system event-tracing service, looked up at run time.
//
// The service lives in a shared library with a fixed name that exports
// EventRegister, EventWrite and EventUnregister with the signatures below.
// When the library or an entry point is missing, the matching operation is
// simply unavailable (its pointer is null) and tracing stays off.
#pragma once

#include <cstdint>

namespace zun::platform {

inline constexpr const char* kEventTracingLibraryName = "libzun-event-tracing.so";

struct TraceGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

struct TraceEventDescriptor {
  uint16_t id;
  uint8_t version;
  uint8_t channel;
  uint8_t level;
  uint8_t opcode;
  uint16_t task;
  uint64_t keyword;
};

struct TraceDataDescriptor {
  uint64_t pointer;  // address of the field's bytes
  uint32_t size;
  uint32_t reserved;
};

using TraceRegistrationHandle = uint64_t;

// Control codes the service passes to an enable callback.
inline constexpr uint32_t kTraceControlDisable = 0;
inline constexpr uint32_t kTraceControlEnable = 1;

using TraceEnableCallbackFn = void (*)(const TraceGuid* source, uint32_t control_code, uint8_t level,
                                       uint64_t match_any_keyword, uint64_t match_all_keyword,
                                       void* filter_data, void* callback_context);
using EventRegisterFn = uint32_t (*)(const TraceGuid* provider, TraceEnableCallbackFn callback,
                                     void* callback_context, TraceRegistrationHandle* handle);
using EventWriteFn = uint32_t (*)(TraceRegistrationHandle handle, const TraceEventDescriptor* event,
                                  uint32_t data_count, TraceDataDescriptor* data);
using EventUnregisterFn = uint32_t (*)(TraceRegistrationHandle handle);

struct EventTracingEntryPoints {
  EventRegisterFn event_register = nullptr;
  EventWriteFn event_write = nullptr;
  EventUnregisterFn event_unregister = nullptr;
  bool library_loaded = false;
};

// Loads the tracing library by its fixed name and looks up the three entry
// points. The library stays loaded for the life of the process.
[[nodiscard]] EventTracingEntryPoints LoadEventTracing();

}  // namespace zun::platform
