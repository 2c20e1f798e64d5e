// Derives the native type code, the element code and the identity to look a
// registered type up by, from the C++ type of a member.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "binding/binding_native_type.h"
#include "binding/static_type.h"

namespace zun {

class BindingProperty;

namespace member_type_detail {

template <typename T>
struct IsVector : std::false_type {};
template <typename E>
struct IsVector<std::vector<E>> : std::true_type {};

template <typename T>
struct IsStringMap : std::false_type {};
template <typename E>
struct IsStringMap<std::unordered_map<std::string, E>> : std::true_type {};

template <typename T>
inline constexpr bool kUnsupported = false;

}  // namespace member_type_detail

template <typename Member>
[[nodiscard]] constexpr BindingNativeType NativeTypeOf() {
  using T = std::remove_cv_t<Member>;
  using member_type_detail::IsStringMap;
  using member_type_detail::IsVector;
  if constexpr (std::is_same_v<T, bool>) {
    return BindingNativeType::Bool;
  } else if constexpr (std::is_enum_v<T>) {
    return BindingNativeType::Enum;
  } else if constexpr (std::is_integral_v<T>) {
    constexpr bool kSigned = std::is_signed_v<T>;
    if constexpr (sizeof(T) == 1) {
      return kSigned ? BindingNativeType::Int8 : BindingNativeType::UInt8;
    } else if constexpr (sizeof(T) == 2) {
      return kSigned ? BindingNativeType::Int16 : BindingNativeType::UInt16;
    } else if constexpr (sizeof(T) == 4) {
      return kSigned ? BindingNativeType::Int32 : BindingNativeType::UInt32;
    } else {
      static_assert(sizeof(T) == 8, "integer members are 8 to 64 bits wide");
      return kSigned ? BindingNativeType::Int64 : BindingNativeType::UInt64;
    }
  } else if constexpr (std::is_same_v<T, float>) {
    return BindingNativeType::Float;
  } else if constexpr (std::is_same_v<T, double>) {
    return BindingNativeType::Double;
  } else if constexpr (std::is_same_v<T, std::string>) {
    return BindingNativeType::String;
  } else if constexpr (std::is_same_v<T, BindingProperty>) {
    return BindingNativeType::Object;
  } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
    return BindingNativeType::ByteArray;
  } else if constexpr (IsVector<T>::value) {
    return BindingNativeType::Vector;
  } else if constexpr (IsStringMap<T>::value) {
    return BindingNativeType::Map;
  } else if constexpr (std::is_class_v<T>) {
    return BindingNativeType::Struct;
  } else {
    static_assert(member_type_detail::kUnsupported<T>, "no binding type for this member");
    return BindingNativeType::None;
  }
}

// The element code of a vector or map member; None for any other member.
template <typename Member>
[[nodiscard]] constexpr BindingNativeType ElementTypeOf() {
  using T = std::remove_cv_t<Member>;
  constexpr BindingNativeType kCode = NativeTypeOf<T>();
  if constexpr (kCode == BindingNativeType::Vector) {
    return NativeTypeOf<typename T::value_type>();
  } else if constexpr (kCode == BindingNativeType::Map) {
    return NativeTypeOf<typename T::mapped_type>();
  } else {
    return BindingNativeType::None;
  }
}

namespace member_type_detail {

template <typename T>
constexpr bool IsRegisteredKind() {
  constexpr BindingNativeType kCode = NativeTypeOf<T>();
  return kCode == BindingNativeType::Struct || kCode == BindingNativeType::Enum;
}

template <typename T>
auto PickElement() {
  if constexpr (IsRegisteredKind<T>()) {
    return std::type_identity<T>{};
  } else {
    return std::type_identity<void>{};
  }
}

template <typename T>
auto PickReferenced() {
  constexpr BindingNativeType kCode = NativeTypeOf<T>();
  if constexpr (kCode == BindingNativeType::Struct || kCode == BindingNativeType::Enum) {
    return std::type_identity<T>{};
  } else if constexpr (kCode == BindingNativeType::Vector) {
    return PickElement<typename T::value_type>();
  } else if constexpr (kCode == BindingNativeType::Map) {
    return PickElement<typename T::mapped_type>();
  } else {
    return std::type_identity<void>{};
  }
}

}  // namespace member_type_detail

// The type whose registration a member refers to: the member's own type for
// Struct and Enum members, the element type for vectors and maps of them,
// void when there is nothing to look up.
template <typename Member>
using ReferencedTypeOf =
    typename decltype(member_type_detail::PickReferenced<std::remove_cv_t<Member>>())::type;

// The identity under which the member's registered type is found, or null.
template <typename Member>
[[nodiscard]] const StaticTypeId* ReferencedIdentityOf() {
  using Referenced = ReferencedTypeOf<Member>;
  if constexpr (std::is_void_v<Referenced>) {
    return nullptr;
  } else {
    return &StaticType::Get<Referenced>();
  }
}

}  // namespace zun
