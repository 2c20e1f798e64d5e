// The flat value form of the core boundary: FlatValue, FlatField and
// FlatStatus, byte-packed so that both sides read the same bytes.
//
// Ownership: kinds 6, 8, 9 and 10 own what they point at, and a FlatField
// with ownsName = 1 owns its name; all of it is framework memory, so either
// side may release a value the other produced (ReleaseFlatValue).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zun {

enum class FlatKind : uint32_t {
  Empty = 0,
  Bool = 1,
  Signed = 2,
  Unsigned = 3,
  Float = 4,
  BorrowedString = 5,
  OwnedString = 6,
  BorrowedBlob = 7,
  OwnedBlob = 8,
  Collection = 9,
  Structure = 10,
};

struct FlatValue;
struct FlatField;

#pragma pack(push, 1)
// A text, byte run or array: its address and its length or count.
struct FlatSpan {
  const void* data;
  uint32_t count;
};

union FlatPayload {
  uint8_t boolean;
  int64_t signedValue;
  uint64_t unsignedValue;
  double floatValue;
  FlatSpan span;
};

struct FlatValue {
  uint32_t kind;
  FlatPayload payload;
};

struct FlatField {
  const char* name;
  FlatValue value;
  uint8_t ownsName;  // 1 when the name belongs to the field
};

// A flat value with an error report; a response record begins with one.
struct FlatStatus {
  FlatValue value;
  char* errorText;  // framework memory; null while there is no error
  uint8_t errorFlag;
};
#pragma pack(pop)

#if defined(__i386__)
static_assert(sizeof(FlatValue) == 12);
static_assert(offsetof(FlatValue, payload) == 4);
static_assert(sizeof(FlatField) == 17);
static_assert(offsetof(FlatField, value) == 4);
static_assert(offsetof(FlatField, ownsName) == 16);
static_assert(sizeof(FlatStatus) == 17);
static_assert(offsetof(FlatStatus, errorText) == 12);
static_assert(offsetof(FlatStatus, errorFlag) == 16);
#else
static_assert(sizeof(FlatValue) == 4 + sizeof(void*) + 4);
#endif

// An all-zero value: kind 0 with a zero payload.
[[nodiscard]] inline FlatValue EmptyFlatValue() {
  FlatValue value;
  std::memset(&value, 0, sizeof(value));
  return value;
}

}  // namespace zun
