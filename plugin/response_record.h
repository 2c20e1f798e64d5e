// The response record of the core boundary, used both ways. Whoever fills it
// stores the operation that releases it in its last field; the reader calls
// that operation when done. Everything it points to is framework memory.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/flat_value.h"

namespace zun {

#pragma pack(push, 1)
struct ResponseRecord {
  FlatValue result;
  char* errorText;  // null on success
  uint8_t errorFlag;
  uint8_t flags;
  uint32_t formatCode;
  uint32_t statusCode;
  const char* text;  // never null once filled: a shared empty text
  const char* (*headers)[2];  // pairs of name and value, or null
  uint32_t headerCount;
  uint32_t (*bodyRead)(void* source, uintptr_t first, uintptr_t second, uintptr_t third);
  void (*bodyRelease)(void* source);
  uint64_t bodySize;
  void* bodySource;
  void (*release)(ResponseRecord* response);
};
#pragma pack(pop)

#if defined(__i386__)
static_assert(sizeof(ResponseRecord) == 62);
static_assert(offsetof(ResponseRecord, errorText) == 12);
static_assert(offsetof(ResponseRecord, errorFlag) == 16);
static_assert(offsetof(ResponseRecord, flags) == 17);
static_assert(offsetof(ResponseRecord, formatCode) == 18);
static_assert(offsetof(ResponseRecord, statusCode) == 22);
static_assert(offsetof(ResponseRecord, text) == 26);
static_assert(offsetof(ResponseRecord, headers) == 30);
static_assert(offsetof(ResponseRecord, headerCount) == 34);
static_assert(offsetof(ResponseRecord, bodyRead) == 38);
static_assert(offsetof(ResponseRecord, bodyRelease) == 42);
static_assert(offsetof(ResponseRecord, bodySize) == 46);
static_assert(offsetof(ResponseRecord, bodySource) == 54);
static_assert(offsetof(ResponseRecord, release) == 58);
#endif

}  // namespace zun
