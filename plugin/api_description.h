// The root of the flat API description handed to the core in the handshake.
// Each array is also a singly linked list through the first word of its records.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun {

struct ApiFunction;
struct ApiType;
struct ApiEvent;

#pragma pack(push, 1)
struct ApiDescription {
  const ApiFunction* functions = nullptr;
  uint32_t functionCount = 0;
  const ApiType* types = nullptr;
  uint32_t typeCount = 0;
  const ApiEvent* events = nullptr;
  uint32_t eventCount = 0;
};
#pragma pack(pop)

#if defined(__i386__)
static_assert(sizeof(ApiDescription) == 24);
#endif

}  // namespace zun
