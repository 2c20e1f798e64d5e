// Codes of the native types of members, arguments and return types, and the
// type names by which messages show them.
#pragma once

#include <cstdint>

namespace zun {

enum class BindingNativeType : uint32_t {
  None = 0,  // no type: an unset published type, or no element type
  Bool = 1,
  Int8 = 2,
  UInt8 = 3,
  Int16 = 4,
  UInt16 = 5,
  Int32 = 6,
  UInt32 = 7,
  Int64 = 8,
  UInt64 = 9,
  Float = 10,
  Double = 11,
  String = 12,
  Object = 13,     // a BindingProperty
  ByteArray = 14,  // a vector of bytes
  Vector = 15,
  Enum = 16,
  Struct = 17,
  Callback = 18,
  Map = 19,  // a hash map from string to the element type
};

// "bool", "int8", ... "map"; "" for 0 and for any code outside 1..19.
[[nodiscard]] const char* BindingNativeTypeName(BindingNativeType code);

}  // namespace zun
