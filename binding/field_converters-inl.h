// The bodies of the per-type member rules: which scalar rule, range and type
// name a C++ member type takes, and the vector and map rules over element
// rules. Included from binding_member_rules.h only.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "binding/binding_member_type.h"
#include "binding/binding_native_type.h"
#include "binding/conversion_messages.h"
#include "binding/convert_to_native.h"
#include "binding/convert_to_value.h"
#include "binding/leaf_conversions.h"

namespace zun {
namespace member_rules_detail {

template <typename Number>
const char* NumberTypeName() {
  return BindingNativeTypeName(NativeTypeOf<Number>());
}

template <typename Element>
void VectorToNative(BindingResult& status, std::vector<Element>& member,
                    const BindingProperty& input, std::string_view path,
                    const BindingTypeInfo* typeInfo, const BindingContext& context) {
  member.clear();
  if (!status.Ok()) {
    return;
  }
  if (input.Kind() != BindingKind::Collection) {
    if (std::is_same_v<Element, bool> && input.Kind() == BindingKind::Empty) {
      status.SetError(conversion_messages::kRequired, path);
    } else {
      status.SetError(conversion_messages::kVectorNotCollection, path);
    }
    return;
  }
  const std::span<const BindingProperty> elements = input.Elements();
  member.resize(elements.size());
  for (size_t index = 0; index < elements.size() && status.Ok(); ++index) {
    if (elements[index].Kind() == BindingKind::Empty) {
      continue;  // keeps the default element
    }
    if constexpr (std::is_same_v<Element, bool>) {
      const bool flag = ToBool(status, elements[index], path);
      member[index] = flag;
    } else {
      BindingMemberRules<Element>::ToNative(status, member[index], elements[index], path,
                                            typeInfo, context);
    }
  }
}

template <typename Element>
void MapToNative(BindingResult& status, std::unordered_map<std::string, Element>& member,
                 const BindingProperty& input, std::string_view path,
                 const BindingTypeInfo* typeInfo, const BindingContext& context) {
  member.clear();
  if (!status.Ok()) {
    return;
  }
  if (input.Kind() != BindingKind::Structure) {
    status.SetError(conversion_messages::kMapNotStructure, path);
    return;
  }
  member.reserve(input.Size());
  for (const auto [name, value] : input.Members()) {
    if (value.Kind() == BindingKind::Empty) {
      continue;
    }
    Element& element = member[std::string(name)];
    BindingMemberRules<Element>::ToNative(status, element, value, path, typeInfo, context);
    if (!status.Ok()) {
      return;
    }
  }
}

template <typename Element>
void VectorToValue(BindingResult& status, BindingProperty& out,
                   const std::vector<Element>& member, const BindingTypeInfo* typeInfo,
                   const BindingContext& context) {
  out.MakeCollection();
  out.Reserve(member.size());
  for (size_t index = 0; index < member.size(); ++index) {
    if constexpr (std::is_same_v<Element, bool>) {
      out.Element(index).SetBool(member[index]);
    } else {
      MemberToValueInto(status, out.Element(index), member[index], typeInfo, context);
      if (!status.Ok()) {
        return;  // `out` went with the failed result's value
      }
    }
  }
}

template <typename Element>
void MapToValue(BindingResult& status, BindingProperty& out,
                const std::unordered_map<std::string, Element>& member,
                const BindingTypeInfo* typeInfo, const BindingContext& context) {
  out.MakeStructure();
  for (const auto& [key, element] : member) {
    MemberToValueInto(status, out.Member(std::string_view(key)), element, typeInfo, context);
    if (!status.Ok()) {
      return;
    }
  }
}

template <typename T>
struct IsStdVector : std::false_type {};
template <typename E>
struct IsStdVector<std::vector<E>> : std::true_type {};

template <typename T>
struct IsStringMap : std::false_type {};
template <typename E>
struct IsStringMap<std::unordered_map<std::string, E>> : std::true_type {};

}  // namespace member_rules_detail

template <typename Member>
void BindingMemberRules<Member>::ToNative(BindingResult& status, Member& member,
                                          const BindingProperty& input, std::string_view path,
                                          const BindingTypeInfo* typeInfo,
                                          const BindingContext& context) {
  using namespace member_rules_detail;
  using Limits = std::numeric_limits<Member>;
  constexpr BindingNativeType kCode = NativeTypeOf<Member>();
  if (!status.Ok()) {
    return;
  }
  if constexpr (kCode == BindingNativeType::Bool) {
    const bool flag = ToBool(status, input, path);
    if (status.Ok()) member = flag;
  } else if constexpr (kCode == BindingNativeType::Enum) {
    const int32_t value = ToEnum(status, input, path, typeInfo);
    if (status.Ok()) WriteEnumBytes(&member, sizeof(Member), value);
  } else if constexpr (std::is_integral_v<Member> && std::is_signed_v<Member>) {
    const int64_t value = ToSigned(status, input, path, Limits::min(), Limits::max(),
                                   NumberTypeName<Member>());
    if (status.Ok()) member = static_cast<Member>(value);
  } else if constexpr (std::is_integral_v<Member>) {
    const uint64_t value = ToUnsigned(status, input, path, Limits::max(), NumberTypeName<Member>());
    if (status.Ok()) member = static_cast<Member>(value);
  } else if constexpr (std::is_floating_point_v<Member>) {
    const double value = ToReal(status, input, path, -Limits::max(), Limits::max(),
                                NumberTypeName<Member>());
    if (status.Ok()) member = static_cast<Member>(value);
  } else if constexpr (kCode == BindingNativeType::String) {
    std::string text = ToText(status, input, path, context);
    if (status.Ok()) member = std::move(text);
  } else if constexpr (kCode == BindingNativeType::Object) {
    member.Reset();
    member = input;
  } else if constexpr (kCode == BindingNativeType::ByteArray) {
    std::vector<uint8_t> bytes = ToBlob(status, input, path);
    if (status.Ok()) member = std::move(bytes);
  } else if constexpr (IsStdVector<Member>::value) {
    VectorToNative(status, member, input, path, typeInfo, context);
  } else if constexpr (IsStringMap<Member>::value) {
    MapToNative(status, member, input, path, typeInfo, context);
  } else if constexpr (kCode == BindingNativeType::Struct) {
    ToStruct(status, &member, input, path, typeInfo, context);
  } else {
    FailMemberConversion(status, path);
  }
}

template <typename Member>
void BindingMemberRules<Member>::ToValueInto(BindingResult& status, BindingProperty& out,
                                             const Member& member,
                                             const BindingTypeInfo* typeInfo,
                                             const BindingContext& context) {
  using namespace member_rules_detail;
  constexpr BindingNativeType kCode = NativeTypeOf<Member>();
  if constexpr (kCode == BindingNativeType::Bool) {
    out.SetBool(member);
  } else if constexpr (kCode == BindingNativeType::Enum) {
    EnumToValue(status, out, ReadEnumBytes(&member, sizeof(Member)), typeInfo);
  } else if constexpr (std::is_integral_v<Member> && std::is_signed_v<Member>) {
    out.SetSigned(static_cast<int64_t>(member));
  } else if constexpr (std::is_integral_v<Member>) {
    out.SetUnsigned(static_cast<uint64_t>(member));
  } else if constexpr (std::is_floating_point_v<Member>) {
    out.SetFloat(static_cast<double>(member));
  } else if constexpr (kCode == BindingNativeType::String) {
    out.SetString(std::string_view(member));
  } else if constexpr (kCode == BindingNativeType::Object) {
    out = member;
  } else if constexpr (kCode == BindingNativeType::ByteArray) {
    out.SetBlob(std::span<const uint8_t>(member));
  } else if constexpr (IsStdVector<Member>::value) {
    VectorToValue(status, out, member, typeInfo, context);
  } else if constexpr (IsStringMap<Member>::value) {
    MapToValue(status, out, member, typeInfo, context);
  } else if constexpr (kCode == BindingNativeType::Struct) {
    FromStructInto(status, out, &member, typeInfo, context);
  } else {
    FailMemberConversion(status, "");
  }
}

template <typename Member>
void MemberToValueInto(BindingResult& status, BindingProperty& out, const Member& member,
                       const BindingTypeInfo* typeInfo, const BindingContext& context) {
  using Rules = BindingMemberRules<Member>;
  if constexpr (requires { Rules::ToValueInto(status, out, member, typeInfo, context); }) {
    Rules::ToValueInto(status, out, member, typeInfo, context);
  } else {
    BindingResult own;
    Rules::ToValue(own, member, typeInfo, context);
    if (!own.Ok()) {
      status.SetError(own.ErrorMessage());
      return;
    }
    out = std::move(own.Value());
  }
}

}  // namespace zun
