// The request record of the core boundary, used both ways: the core calls the
// plugin's functions with it, and the plugin sends its own requests with it.
// Texts and arrays belong to whoever filled the record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/flat_value.h"

namespace zun {

#pragma pack(push, 1)
// One direct argument; an unnamed argument has a null name.
struct DirectArgument {
  const char* name;
  FlatValue value;
};

struct RequestHeader {
  const char* name;
  const char* value;
};

struct IncomingRequest {
  uint32_t method;  // HTTP method code; 8: the method travels by name
  const char* path;  // query included
  DirectArgument* directArguments;
  uint32_t directArgumentCount;
  void* endpointBinding;  // the routed function's userData
  RequestHeader* headers;
  uint32_t headerCount;
  const char* contentType;
  const void* body;  // null when there is no body
  uint32_t bodySize;
  uintptr_t requestContext;
  const char* methodName;  // read only for method code 8
};
#pragma pack(pop)

#if defined(__i386__)
static_assert(sizeof(DirectArgument) == 16);
static_assert(sizeof(RequestHeader) == 8);
static_assert(sizeof(IncomingRequest) == 48);
static_assert(offsetof(IncomingRequest, path) == 4);
static_assert(offsetof(IncomingRequest, directArguments) == 8);
static_assert(offsetof(IncomingRequest, directArgumentCount) == 12);
static_assert(offsetof(IncomingRequest, endpointBinding) == 16);
static_assert(offsetof(IncomingRequest, headers) == 20);
static_assert(offsetof(IncomingRequest, headerCount) == 24);
static_assert(offsetof(IncomingRequest, contentType) == 28);
static_assert(offsetof(IncomingRequest, body) == 32);
static_assert(offsetof(IncomingRequest, bodySize) == 36);
static_assert(offsetof(IncomingRequest, requestContext) == 40);
static_assert(offsetof(IncomingRequest, methodName) == 44);
#endif

}  // namespace zun
