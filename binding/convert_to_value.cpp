// Native-to-value conversion of records and the member dispatch by native
// type code. Members are built in place inside the result's tree; only
// members that may be left out, and members converted by a field converter
// of another kind, go through a result of their own first.
#include "binding/convert_to_value.h"

#include <cstring>
#include <string>

#include "binding/binding_context.h"
#include "binding/binding_field.h"
#include "binding/binding_member_rules.h"
#include "binding/binding_property.h"
#include "binding/binding_result.h"
#include "binding/binding_type_info.h"
#include "binding/conversion_messages.h"

namespace zun {

namespace {

template <typename Native>
Native Load(const void* member) {
  Native value;
  std::memcpy(&value, member, sizeof value);
  return value;
}

void ThroughConverter(BindingResult& status, BindingProperty& out, const void* member,
                      const BindingField& field, const BindingContext& context) {
  if (field.converter == nullptr) {
    FailMemberConversion(status, field.name);
    return;
  }
  field.converter->ToValueInto(status, out, member, field.type.typeInfo, context);
}

// A member that is left out when empty: converted on its own first, since
// values cannot be removed from a structure.
void OmissibleMemberToValue(BindingResult& status, BindingProperty& record,
                            const void* member, const BindingField& field,
                            const BindingContext& context) {
  BindingResult own;
  ConvertMemberToValue(own, own.Value(), member, field, context);
  if (!own.Ok()) {
    status.SetError(own.ErrorMessage());
    return;
  }
  if (!own.Value().IsEmptyValue()) {
    record.Member(std::string_view(field.name)) = std::move(own.Value());
  }
}

}  // namespace

bool ConvertToValue(const BindingContext& context, BindingProperty& output, const void* record,
                    const StaticTypeId& identity) {
  const BindingTypeInfo* typeInfo = context.FindType(identity);
  if (typeInfo == nullptr) {
    return false;
  }
  BindingResult result;
  FromStruct(result, record, typeInfo, context);
  if (!result.Ok()) {
    return false;
  }
  output = std::move(result.Value());
  return true;
}

void FromStruct(BindingResult& result, const void* record, const BindingTypeInfo* typeInfo,
                const BindingContext& context) {
  FromStructInto(result, result.Value(), record, typeInfo, context);
}

void FromStructInto(BindingResult& status, BindingProperty& out, const void* record,
                    const BindingTypeInfo* typeInfo, const BindingContext& context) {
  if (!status.Ok()) {
    return;
  }
  if (typeInfo == nullptr) {
    status.SetError(conversion_messages::kValueUnregistered);
    return;
  }
  out.MakeStructure();
  const char* const base = static_cast<const char*>(record);
  for (const BindingField& field : typeInfo->fields) {
    const char* const member = base + field.offset;
    if (field.HasFlag(BindingFieldFlags::OmitWhenEmpty)) {
      OmissibleMemberToValue(status, out, member, field, context);
    } else {
      ConvertMemberToValue(status, out.Member(std::string_view(field.name)), member, field,
                           context);
    }
    if (!status.Ok()) {
      return;  // `out` may have gone with the failed result's value
    }
  }
}

void ConvertMemberToValue(BindingResult& status, BindingProperty& out, const void* member,
                          const BindingField& field, const BindingContext& context) {
  if (field.optional) {
    ThroughConverter(status, out, member, field, context);
    return;
  }
  switch (field.type.nativeType) {
    case BindingNativeType::Bool:
      out.SetBool(Load<bool>(member));
      break;
    case BindingNativeType::Int8:
      out.SetSigned(int64_t{Load<int8_t>(member)});
      break;
    case BindingNativeType::UInt8:
      out.SetUnsigned(uint64_t{Load<uint8_t>(member)});
      break;
    case BindingNativeType::Int16:
      out.SetSigned(int64_t{Load<int16_t>(member)});
      break;
    case BindingNativeType::UInt16:
      out.SetUnsigned(uint64_t{Load<uint16_t>(member)});
      break;
    case BindingNativeType::Int32:
      out.SetSigned(int64_t{Load<int32_t>(member)});
      break;
    case BindingNativeType::UInt32:
      out.SetUnsigned(uint64_t{Load<uint32_t>(member)});
      break;
    case BindingNativeType::Int64:
      out.SetSigned(Load<int64_t>(member));
      break;
    case BindingNativeType::UInt64:
      out.SetUnsigned(Load<uint64_t>(member));
      break;
    case BindingNativeType::Float:
      out.SetFloat(double{Load<float>(member)});
      break;
    case BindingNativeType::Double:
      out.SetFloat(Load<double>(member));
      break;
    case BindingNativeType::String:
      out.SetString(std::string_view(*static_cast<const std::string*>(member)));
      break;
    case BindingNativeType::Object:
      out = *static_cast<const BindingProperty*>(member);
      break;
    case BindingNativeType::Enum: {
      const BindingTypeInfo* typeInfo = field.type.typeInfo;
      EnumToValue(status, out, typeInfo == nullptr ? 0 : ReadEnumBytes(member, typeInfo->size),
                  typeInfo);
      break;
    }
    case BindingNativeType::Struct:
      FromStructInto(status, out, member, field.type.typeInfo, context);
      break;
    default:
      // Byte arrays, vectors, maps, callbacks and codes of no known type.
      ThroughConverter(status, out, member, field, context);
      break;
  }
}

}  // namespace zun
