// Type names of the native type codes.
#include "binding/binding_native_type.h"

namespace zun {

namespace {

constexpr const char* kNativeTypeNames[] = {
    "",      "bool",   "int8",   "uint8",  "int16",  "uint16", "int32",
    "uint32", "int64", "uint64", "float",  "double", "string", "object",
    "blob",  "vector", "enum",   "struct", "callback", "map",
};

}  // namespace

const char* BindingNativeTypeName(BindingNativeType code) {
  const auto index = static_cast<uint32_t>(code);
  if (index >= sizeof kNativeTypeNames / sizeof kNativeTypeNames[0]) {
    return "";
  }
  return kNativeTypeNames[index];
}

}  // namespace zun
