// The table of functions the core lends the plugin at initialisation, the
// record that carries it, and the event record the core delivers.
//
// Every CoreFunctions entry takes the table's own address first. Slots 1, 2
// and 5 to 8 are passed through for plugin code; the framework never calls
// them. The core keeps the interface, its table and its context valid from
// Initialize until Unload.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/flat_value.h"

namespace zun {

struct IncomingRequest;
struct ResponseRecord;
struct CoreEvent;

// Delivers one event; the record and everything it points to belong to the
// core and are valid only during the call.
using CoreEventDelivery = void (*)(CoreEvent* event);

struct CoreFunctions {
  // Answers `request` into `response` (zeroed by the caller); the caller reads
  // it and then runs the release operation stored in it.
  void (*SendRequest)(const CoreFunctions* self, ResponseRecord* response, IncomingRequest* request);
  uintptr_t (*Slot1)(const CoreFunctions* self, uintptr_t first, uintptr_t second);
  uintptr_t (*Slot2)(const CoreFunctions* self, uintptr_t word);
  void (*SubscribeEvent)(const CoreFunctions* self, const char* name, uintptr_t coreContext,
                         CoreEventDelivery deliver, void* deliveryContext, uint32_t flag);
  void (*UnsubscribeEvent)(const CoreFunctions* self, const char* name, uintptr_t coreContext);
  uintptr_t (*Slot5)(const CoreFunctions* self, uintptr_t first, uintptr_t second, uintptr_t third,
                     double real, uintptr_t fourth);
  uintptr_t (*Slot6)(const CoreFunctions* self);
  uintptr_t (*Slot7)(const CoreFunctions* self, const char* text, uintptr_t word);
  uintptr_t (*Slot8)(const CoreFunctions* self);
  // `level` is a LogLevel; the text is NUL-terminated and only borrowed.
  void (*Log)(const CoreFunctions* self, int32_t level, const char* text);
};

#pragma pack(push, 1)
struct CoreInterface {
  const CoreFunctions* functions;
  uintptr_t coreContext;  // opaque; handed back to the core unchanged
};

struct CoreEvent {
  const char* eventName;
  FlatValue payload;
  uintptr_t unread;        // the core's own word; the plugin never reads it
  void* deliveryContext;   // what SubscribeEvent was given: the plugin object
};
#pragma pack(pop)

static_assert(sizeof(CoreFunctions) == 10 * sizeof(void*));
#if defined(__i386__)
static_assert(sizeof(CoreInterface) == 8);
static_assert(sizeof(CoreEvent) == 24);
static_assert(offsetof(CoreEvent, payload) == 4);
static_assert(offsetof(CoreEvent, unread) == 16);
static_assert(offsetof(CoreEvent, deliveryContext) == 20);
#endif

}  // namespace zun
