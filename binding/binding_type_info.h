// A registered record or enumeration: name, description, tags, native size
// and identity, and its fields or enumerators.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_enum_value.h"
#include "binding/binding_field.h"
#include "binding/static_type.h"

namespace zun {

class BindingContext;

// Entries are created by BindingContext::RegisterType and owned by the
// context; their address is stable while they are registered.
struct BindingTypeInfo {
  BindingTypeInfo() = default;
  BindingTypeInfo(const BindingTypeInfo&) = delete;
  BindingTypeInfo& operator=(const BindingTypeInfo&) = delete;

  uint32_t size = 0;  // native size in bytes; 1, 2, 4 or 8 for an enumeration
  bool isEnum = false;
  std::string name;
  uint32_t hash = 0;  // hash of `identity`
  const StaticTypeId* identity = nullptr;
  std::string nameSpace;  // no registration sets it; carried to the API description
  std::string description;
  std::vector<std::string> tags;  // in the order added
  // Records only, in registration order: the order of conversion and of the
  // API description.
  std::vector<BindingField> fields;
  // The fields ordered by member name (MemberNameOf, unsigned byte order),
  // kept by the registration builder: conversions pair fields with the
  // members of a structure in one pass.
  struct FieldByName {
    uint64_t prefix;  // OrderPrefix of the member name
    uint32_t length;  // of the member name
    uint32_t index;   // into `fields`
  };
  std::vector<FieldByName> fieldsInNameOrder;
  // Enumerations only, ordered by name (byte order).
  std::map<std::string, BindingEnumValue, std::less<>> enumValues;
  BindingContext* context = nullptr;

  [[nodiscard]] const BindingField* FindField(std::string_view fieldName) const;
  [[nodiscard]] const BindingEnumValue* FindEnumValue(std::string_view valueName) const;
  // The first enumerator in name order that has this value, or null.
  [[nodiscard]] const BindingEnumValue* FindEnumValue(int32_t value) const;
  [[nodiscard]] bool HasTag(std::string_view tag) const;
};

}  // namespace zun
