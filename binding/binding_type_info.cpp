// Lookups inside one registered type.
#include "binding/binding_type_info.h"

#include <algorithm>

namespace zun {

const BindingField* BindingTypeInfo::FindField(std::string_view fieldName) const {
  for (const BindingField& field : fields) {
    if (field.name == fieldName) {
      return &field;
    }
  }
  return nullptr;
}

const BindingEnumValue* BindingTypeInfo::FindEnumValue(std::string_view valueName) const {
  const auto found = enumValues.find(valueName);
  return found == enumValues.end() ? nullptr : &found->second;
}

const BindingEnumValue* BindingTypeInfo::FindEnumValue(int32_t value) const {
  for (const auto& [valueName, enumValue] : enumValues) {
    if (enumValue.value == value) {
      return &enumValue;
    }
  }
  return nullptr;
}

bool BindingTypeInfo::HasTag(std::string_view tag) const {
  return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

}  // namespace zun
