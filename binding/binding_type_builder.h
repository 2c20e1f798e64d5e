// The handle through which one record or enumeration is registered: field
// and enumerator adders, description and tags, chainable. A builder for a
// name that was already registered skips every step, so the first
// definition stays whole.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <type_traits>

#include "binding/binding_field.h"
#include "binding/binding_member_rules.h"
#include "binding/binding_member_type.h"
#include "binding/binding_type_ref.h"
#include "binding/static_type.h"

namespace zun {

class BindingContext;
struct BindingTypeInfo;

class BindingTypeBuilder {
 public:
  BindingTypeBuilder(const BindingContext& context, BindingTypeInfo& type, bool skip)
      : context_(&context), type_(&type), skip_(skip) {}

  // The registered type: the new one, or the existing one when skipped.
  [[nodiscard]] BindingTypeInfo& type() const { return *type_; }
  [[nodiscard]] bool skipped() const { return skip_; }

  // Appends a field for a member of native type Member at `offset`. The
  // member's code, element code, identity and converter come from Member; a
  // record or enumeration it refers to must be registered first, or the
  // field's typeInfo stays null. `publishedType` is kept only when set.
  template <typename Member>
  BindingTypeBuilder& FieldAt(std::string_view name, uint32_t offset,
                              std::string_view description = {},
                              uint32_t flags = BindingFieldFlags::None,
                              const BindingTypeRef& publishedType = {});

  // The same, with type and offset taken from a pointer to the member:
  //   builder.Field("uri", &PluginResourceEvent::uri);
  template <typename Record, typename Member>
  BindingTypeBuilder& Field(std::string_view name, Member Record::*member,
                            std::string_view description = {},
                            uint32_t flags = BindingFieldFlags::None,
                            const BindingTypeRef& publishedType = {}) {
    return FieldAt<Member>(name, MemberOffset(member), description, flags, publishedType);
  }

  // Adds an enumerator, or overwrites value and description of the one that
  // has this name.
  BindingTypeBuilder& Value(std::string_view name, int32_t value,
                            std::string_view description = {});

  template <typename Enum>
    requires std::is_enum_v<Enum>
  BindingTypeBuilder& Value(std::string_view name, Enum value, std::string_view description = {}) {
    return Value(name, static_cast<int32_t>(value), description);
  }

  BindingTypeBuilder& Description(std::string_view text);

  // Appends a tag; an empty text adds nothing.
  BindingTypeBuilder& Tag(std::string_view text);
  BindingTypeBuilder& Tags(std::initializer_list<std::string_view> texts);

  // Byte offset of a data member, without needing a constructed record.
  template <typename Record, typename Member>
  [[nodiscard]] static uint32_t MemberOffset(Member Record::*member);

 private:
  [[nodiscard]] BindingTypeRef MakeTypeRef(BindingNativeType nativeType,
                                           BindingNativeType elementType,
                                           const StaticTypeId* referenced) const;
  void AppendField(BindingField field);

  const BindingContext* context_;
  BindingTypeInfo* type_;
  bool skip_;
};

template <typename Member>
BindingTypeBuilder& BindingTypeBuilder::FieldAt(std::string_view name, uint32_t offset,
                                                std::string_view description, uint32_t flags,
                                                const BindingTypeRef& publishedType) {
  if (skip_) {
    return *this;
  }
  BindingField field;
  field.name = name;
  field.description = description;
  field.identity = &StaticType::Get<Member>();
  field.offset = offset;
  field.type = MakeTypeRef(NativeTypeOf<Member>(), ElementTypeOf<Member>(),
                           ReferencedIdentityOf<Member>());
  if (publishedType.IsSet()) {
    field.publishedType = publishedType;
  }
  field.flags = flags;
  field.converter = std::make_unique<BindingMemberConverter<std::remove_cv_t<Member>>>();
  AppendField(std::move(field));
  return *this;
}

template <typename Record, typename Member>
uint32_t BindingTypeBuilder::MemberOffset(Member Record::*member) {
  // The record is never constructed: only the member's address inside the
  // storage is taken.
  union Probe {
    Probe() {}
    ~Probe() {}
    char bytes[sizeof(Record)];
    Record record;
  } probe;
  const char* base = probe.bytes;
  const char* field = reinterpret_cast<const char*>(&(probe.record.*member));
  return static_cast<uint32_t>(field - base);
}

}  // namespace zun
