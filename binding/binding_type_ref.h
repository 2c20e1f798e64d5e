// The type of one member, argument or return value: its native code, the
// element code of vectors and maps, and the registered type it refers to.
#pragma once

#include "binding/binding_native_type.h"

namespace zun {

struct BindingTypeInfo;

struct BindingTypeRef {
  BindingNativeType nativeType = BindingNativeType::None;
  // Code of the elements of a Vector or Map; None otherwise.
  BindingNativeType elementType = BindingNativeType::None;
  // The registered record or enumeration for Struct and Enum, and for a
  // Vector or Map of them; null otherwise, or when it was not registered
  // before the member that refers to it.
  const BindingTypeInfo* typeInfo = nullptr;

  [[nodiscard]] bool IsSet() const { return nativeType != BindingNativeType::None; }
};

}  // namespace zun
