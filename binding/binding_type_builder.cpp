// Steps of a type registration.
#include "binding/binding_type_builder.h"

#include "binding/binding_context.h"
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
