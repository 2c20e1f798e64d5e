// Steps of a type registration.
#include "binding/binding_type_builder.h"

#include <algorithm>
#include <string_view>

#include "binding/binding_context.h"
#include "binding/interned_string.h"
#include "binding/binding_type_info.h"

namespace zun {

BindingTypeRef BindingTypeBuilder::MakeTypeRef(BindingNativeType nativeType,
                                               BindingNativeType elementType,
                                               const StaticTypeId* referenced) const {
  BindingTypeRef ref;
  ref.nativeType = nativeType;
  ref.elementType = elementType;
  ref.typeInfo = referenced == nullptr ? nullptr : context_->FindType(*referenced);
  return ref;
}

void BindingTypeBuilder::AppendField(BindingField field) {
  field.owner = type_;
  const std::string_view name = MemberNameOf(field);
  const BindingTypeInfo::FieldByName entry{OrderPrefix(name), static_cast<uint32_t>(name.size()),
                                           static_cast<uint32_t>(type_->fields.size())};
  auto& order = type_->fieldsInNameOrder;
  const auto at = std::upper_bound(order.begin(), order.end(), name,
                                   [this](std::string_view key, const BindingTypeInfo::FieldByName& other) {
                                     return key < MemberNameOf(type_->fields[other.index]);
                                   });
  order.insert(at, entry);
  type_->fields.push_back(std::move(field));
}

BindingTypeBuilder& BindingTypeBuilder::Value(std::string_view name, int32_t value,
                                              std::string_view description) {
  if (skip_) {
    return *this;
  }
  auto found = type_->enumValues.find(name);
  if (found == type_->enumValues.end()) {
    found = type_->enumValues.emplace(std::string(name), BindingEnumValue{}).first;
    found->second.name = name;
  }
  found->second.value = value;
  found->second.description = description;
  found->second.owner = type_;
  return *this;
}

BindingTypeBuilder& BindingTypeBuilder::Description(std::string_view text) {
  if (!skip_) {
    type_->description = text;
  }
  return *this;
}

BindingTypeBuilder& BindingTypeBuilder::Tag(std::string_view text) {
  if (!skip_ && !text.empty()) {
    type_->tags.emplace_back(text);
  }
  return *this;
}

BindingTypeBuilder& BindingTypeBuilder::Tags(std::initializer_list<std::string_view> texts) {
  for (const std::string_view text : texts) {
    Tag(text);
  }
  return *this;
}

}  // namespace zun
