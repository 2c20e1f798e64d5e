// Out-of-line pieces of the member rules: the failure of a member type
// without rules, enumeration bytes, and the default in-place conversion of a
// field converter.
#include "binding/binding_member_rules.h"

#include <cstring>

#include "binding/binding_type_info.h"
#include "binding/conversion_messages.h"

namespace zun {

namespace {

template <typename Integer>
int32_t ReadAs(const void* member) {
  Integer value;
  std::memcpy(&value, member, sizeof value);
  return static_cast<int32_t>(value);
}

template <typename Integer>
void WriteAs(void* member, int32_t value) {
  const auto narrowed = static_cast<Integer>(value);
  std::memcpy(member, &narrowed, sizeof narrowed);
}

}  // namespace

void FailMemberConversion(BindingResult& status, std::string_view path) {
  if (!status.Ok()) {
    return;  // the first failure is the one reported
  }
  status.SetError(kMessageNoMemberConversion, path);
}

int32_t ReadEnumBytes(const void* member, uint32_t size) {
  switch (size) {
    case 1:
      return ReadAs<int8_t>(member);
    case 2:
      return ReadAs<int16_t>(member);
    case 4:
      return ReadAs<int32_t>(member);
    case 8:
      return ReadAs<int64_t>(member);  // the low 32 bits
    default:
      return 0;
  }
}

void WriteEnumBytes(void* member, uint32_t size, int32_t value) {
  switch (size) {
    case 1:
      WriteAs<int8_t>(member, value);
      break;
    case 2:
      WriteAs<int16_t>(member, value);
      break;
    case 4:
      WriteAs<int32_t>(member, value);
      break;
    case 8:
      WriteAs<int64_t>(member, value);
      break;
    default:
      break;  // no enumeration has another size
  }
}

void EnumToValue(BindingResult& status, BindingProperty& out, int32_t value,
                 const BindingTypeInfo* typeInfo) {
  if (typeInfo == nullptr) {
    status.SetError(conversion_messages::kValueUnregistered);
    return;
  }
  out.SetEnum(value, typeInfo->identity);
}

void BindingFieldConverter::ToValueInto(BindingResult& status, BindingProperty& out,
                                        const void* member, const BindingTypeInfo* typeInfo,
                                        const BindingContext& context) const {
  BindingResult own;
  ToValue(own, member, typeInfo, context);
  if (!own.Ok()) {
    status.SetError(own.ErrorMessage());
    return;
  }
  out = std::move(own.Value());
}

}  // namespace zun
