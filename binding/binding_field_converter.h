// The per-member converter that every registered field owns: converts the
// member between its exact native type and a BindingProperty. Conversions
// use it for members whose native type the built-in rules cannot handle by
// code alone (vectors and maps of records, callbacks, optional members).
#pragma once

#include <string_view>

namespace zun {

class BindingContext;
class BindingProperty;
class BindingResult;
struct BindingTypeInfo;

class BindingFieldConverter {
 public:
  BindingFieldConverter() = default;
  BindingFieldConverter(const BindingFieldConverter&) = delete;
  BindingFieldConverter& operator=(const BindingFieldConverter&) = delete;
  virtual ~BindingFieldConverter() = default;

  // Writes `input` into the native member at `member`. Does nothing when
  // `status` has already failed; a failure is recorded in `status`, naming
  // the member by `path`. `typeInfo` is the field's registered type, if any.
  virtual void ToNative(BindingResult& status, void* member, const BindingProperty& input,
                        std::string_view path, const BindingTypeInfo* typeInfo,
                        const BindingContext& context) const = 0;

  // Stores the value of the native member at `member` in `result`.
  virtual void ToValue(BindingResult& result, const void* member, const BindingTypeInfo* typeInfo,
                       const BindingContext& context) const = 0;

  // Stores the value of the native member in `out`, a value that may lie
  // inside `status`'s own value, and records a failure in `status` only;
  // after a failure `out` may have been released and is not touched. Lets
  // records and containers be built in place. By default through ToValue
  // into a result of its own, then copied.
  virtual void ToValueInto(BindingResult& status, BindingProperty& out, const void* member,
                           const BindingTypeInfo* typeInfo, const BindingContext& context) const;
};

// The conversion rules of one exact native member type, with
// `static void ToNative(BindingResult&, Member&, const BindingProperty&,
// std::string_view, const BindingTypeInfo*, const BindingContext&)` and
// `static void ToValue(BindingResult&, const Member&, const BindingTypeInfo*,
// const BindingContext&)`; see binding/binding_member_rules.h.
template <typename Member>
struct BindingMemberRules;

// ToValueInto of the rules of Member; see binding/binding_member_rules.h.
template <typename Member>
void MemberToValueInto(BindingResult& status, BindingProperty& out, const Member& member,
                       const BindingTypeInfo* typeInfo, const BindingContext& context);

// The converter that the field adders create for a member of type Member.
template <typename Member>
class BindingMemberConverter final : public BindingFieldConverter {
 public:
  void ToNative(BindingResult& status, void* member, const BindingProperty& input,
                std::string_view path, const BindingTypeInfo* typeInfo,
                const BindingContext& context) const override {
    BindingMemberRules<Member>::ToNative(status, *static_cast<Member*>(member), input, path,
                                         typeInfo, context);
  }

  void ToValue(BindingResult& result, const void* member, const BindingTypeInfo* typeInfo,
               const BindingContext& context) const override {
    BindingMemberRules<Member>::ToValue(result, *static_cast<const Member*>(member), typeInfo,
                                        context);
  }

  void ToValueInto(BindingResult& status, BindingProperty& out, const void* member,
                   const BindingTypeInfo* typeInfo, const BindingContext& context) const override {
    MemberToValueInto(status, out, *static_cast<const Member*>(member), typeInfo, context);
  }
};

}  // namespace zun
