// One member of a registered record: where it sits in the native record,
// its type, and the converter for its exact native type.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "binding/binding_field_converter.h"
#include "binding/binding_type_ref.h"
#include "binding/static_type.h"

namespace zun {

struct BindingFieldFlags {
  static constexpr uint32_t None = 0;
  // Left out of native-to-value output when its value is empty.
  static constexpr uint32_t OmitWhenEmpty = 1u << 0;
  // Value-to-native input must carry the member.
  static constexpr uint32_t Required = 1u << 1;
};

struct BindingField {
  std::string name;  // also the member name in values
  std::string description;
  const StaticTypeId* identity = nullptr;  // of the member's native type
  uint32_t offset = 0;                     // byte offset in the native record
  BindingTypeRef type;                     // what conversions follow
  // What the API description shows instead of `type` when set.
  BindingTypeRef publishedType;
  uint32_t flags = BindingFieldFlags::None;
  std::unique_ptr<BindingFieldConverter> converter;
  const BindingTypeInfo* owner = nullptr;
  // When set, conversions of this member go through `converter` instead of
  // the rules for its native type.
  bool optional = false;

  [[nodiscard]] bool HasFlag(uint32_t flag) const { return (flags & flag) != 0; }
};

// The member name a field matches in values: its name up to a NUL, as every
// member name is.
[[nodiscard]] inline std::string_view MemberNameOf(const BindingField& field) {
  const std::string_view name = field.name;
  return name.substr(0, name.find('\0'));
}

}  // namespace zun
