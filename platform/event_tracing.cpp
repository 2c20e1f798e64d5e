// Run-time lookup of the event-tracing service.
#include "platform/event_tracing.h"

#include <dlfcn.h>

namespace zun::platform {

namespace {
template <typename Fn>
Fn LookUp(void* library, const char* name) {
  return reinterpret_cast<Fn>(dlsym(library, name));
}
}  // namespace

EventTracingEntryPoints LoadEventTracing() {
  EventTracingEntryPoints entry_points;
  void* library = dlopen(kEventTracingLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return entry_points;
  entry_points.library_loaded = true;
  entry_points.event_register = LookUp<EventRegisterFn>(library, "EventRegister");
  entry_points.event_write = LookUp<EventWriteFn>(library, "EventWrite");
  entry_points.event_unregister = LookUp<EventUnregisterFn>(library, "EventUnregister");
  return entry_points;
}

}  // namespace zun::platform
