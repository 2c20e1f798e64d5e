// Value-to-native conversion of records and the member dispatch by native
// type code. Scalars are written through memcpy at the member's width, so a
// member of any integer type of that width takes them; containers go through
// the field's converter, which knows their exact C++ type.
#include "binding/convert_to_native.h"

#include <cstring>
#include <limits>
#include <string>

#include "binding/binding_context.h"
#include "binding/binding_field.h"
#include "binding/binding_member_rules.h"
#include "binding/binding_property.h"
#include "binding/binding_result.h"
#include "binding/binding_type_info.h"
#include "binding/conversion_messages.h"
#include "binding/leaf_conversions.h"

namespace zun {

namespace {

namespace msg = conversion_messages;

template <typename Native, typename Converted>
void Store(const BindingResult& status, void* member, Converted value) {
  if (status.Ok()) {
    const auto native = static_cast<Native>(value);
    std::memcpy(member, &native, sizeof native);
  }
}

template <typename Native>
void SignedMember(BindingResult& status, void* member, const BindingProperty& input,
                  std::string_view path, BindingNativeType code) {
  using Limits = std::numeric_limits<Native>;
  const int64_t value =
      ToSigned(status, input, path, Limits::min(), Limits::max(), BindingNativeTypeName(code));
  Store<Native>(status, member, value);
}

template <typename Native>
void UnsignedMember(BindingResult& status, void* member, const BindingProperty& input,
                    std::string_view path, BindingNativeType code) {
  const uint64_t value = ToUnsigned(status, input, path, std::numeric_limits<Native>::max(),
                                    BindingNativeTypeName(code));
  Store<Native>(status, member, value);
}

template <typename Native>
void RealMember(BindingResult& status, void* member, const BindingProperty& input,
                std::string_view path, BindingNativeType code) {
  constexpr double kMax = std::numeric_limits<Native>::max();
  const double value = ToReal(status, input, path, -kMax, kMax, BindingNativeTypeName(code));
  Store<Native>(status, member, value);
}

void ThroughConverter(BindingResult& status, void* member, const BindingProperty& input,
                      const BindingField& field, const BindingContext& context) {
  if (field.converter == nullptr) {
    FailMemberConversion(status, field.name);
    return;
  }
  field.converter->ToNative(status, member, input, field.name, field.type.typeInfo, context);
}

// Most records have few fields; larger ones look their members up one by one.
constexpr size_t kMostJoinedFields = 64;

// Pairs each field of `typeInfo` with the member of the same name in one pass
// over both name orders: matched[i] is the member of field i, or null. False
// when a per-field lookup is the better way (many fields, or a structure
// with far more members than the record has fields).
bool MatchMembersByName(const BindingProperty& input, const BindingTypeInfo& typeInfo,
                        const BindingProperty** matched) {
  const size_t fieldCount = typeInfo.fields.size();
  if (fieldCount > kMostJoinedFields || typeInfo.fieldsInNameOrder.size() != fieldCount ||
      input.Size() > 2 * fieldCount + 8) {
    return false;
  }
  const auto members = input.Members();
  auto member = members.begin();
  for (const BindingTypeInfo::FieldByName& field : typeInfo.fieldsInNameOrder) {
    const BindingMemberKey key(std::string_view(typeInfo.fields[field.index].name.data(), field.length), field.prefix);
    int order = -1;
    for (; member != members.end(); ++member) {
      const BindingMember& stored = member.Stored();
      order = CompareMemberName(stored.prefix, *stored.name, key);
      if (order >= 0) break;
    }
    matched[field.index] = order == 0 ? member.Stored().value : nullptr;
  }
  return true;
}

}  // namespace

void ConvertToNative(BindingResult& status, void* target, const BindingProperty& input,
                     std::string_view path, const BindingTypeInfo* typeInfo,
                     const BindingContext& context) {
  if (!status.Ok()) {
    return;
  }
  if (input.Kind() == BindingKind::Empty) {
    status.SetError(msg::kRequired, path);
    return;
  }
  ToStruct(status, target, input, path, typeInfo, context);
}

void ConvertToNative(BindingResult& status, void* target, const BindingProperty& input,
                     std::string_view path, const StaticTypeId& identity,
                     const BindingContext& context) {
  ConvertToNative(status, target, input, path, context.FindType(identity), context);
}

void ToStruct(BindingResult& status, void* target, const BindingProperty& input,
              std::string_view path, const BindingTypeInfo* typeInfo,
              const BindingContext& context) {
  if (!status.Ok()) {
    return;
  }
  if (typeInfo == nullptr) {
    status.SetError(msg::kStructUnregistered, path);
    return;
  }
  if (input.Kind() != BindingKind::Structure) {
    status.SetError(msg::kStructNotStructure, path, typeInfo->name);
    return;
  }
  char* const base = static_cast<char*>(target);
  const BindingProperty* matched[kMostJoinedFields];
  const bool joined = MatchMembersByName(input, *typeInfo, matched);
  for (size_t i = 0; i < typeInfo->fields.size(); ++i) {
    if (!status.Ok()) {
      return;
    }
    const BindingField& field = typeInfo->fields[i];
    const BindingProperty* member = joined ? matched[i] : input.FindMember(field.name);
    if (member != nullptr && member->Kind() != BindingKind::Empty) {
      ConvertMemberToNative(status, base + field.offset, *member, field, context);
    } else if (field.HasFlag(BindingFieldFlags::Required)) {
      status.SetError(msg::kStructMissingRequired, path, typeInfo->name, field.name);
    }
  }
}

void ConvertMemberToNative(BindingResult& status, void* member, const BindingProperty& input,
                           const BindingField& field, const BindingContext& context) {
  if (!status.Ok()) {
    return;
  }
  if (field.optional) {
    ThroughConverter(status, member, input, field, context);
    return;
  }
  const std::string_view path = field.name;
  const BindingNativeType code = field.type.nativeType;
  switch (code) {
    case BindingNativeType::Bool: {
      const bool flag = ToBool(status, input, path);
      Store<bool>(status, member, flag);
      break;
    }
    case BindingNativeType::Int8:
      SignedMember<int8_t>(status, member, input, path, code);
      break;
    case BindingNativeType::UInt8:
      UnsignedMember<uint8_t>(status, member, input, path, code);
      break;
    case BindingNativeType::Int16:
      SignedMember<int16_t>(status, member, input, path, code);
      break;
    case BindingNativeType::UInt16:
      UnsignedMember<uint16_t>(status, member, input, path, code);
      break;
    case BindingNativeType::Int32:
      SignedMember<int32_t>(status, member, input, path, code);
      break;
    case BindingNativeType::UInt32:
      UnsignedMember<uint32_t>(status, member, input, path, code);
      break;
    case BindingNativeType::Int64:
      SignedMember<int64_t>(status, member, input, path, code);
      break;
    case BindingNativeType::UInt64:
      UnsignedMember<uint64_t>(status, member, input, path, code);
      break;
    case BindingNativeType::Float:
      RealMember<float>(status, member, input, path, code);
      break;
    case BindingNativeType::Double:
      RealMember<double>(status, member, input, path, code);
      break;
    case BindingNativeType::String: {
      std::string text = ToText(status, input, path, context);
      if (status.Ok()) {
        *static_cast<std::string*>(member) = std::move(text);
      }
      break;
    }
    case BindingNativeType::Object: {
      auto& object = *static_cast<BindingProperty*>(member);
      object.Reset();
      object = input;
      break;
    }
    case BindingNativeType::Enum: {
      const int32_t value = ToEnum(status, input, path, field.type.typeInfo);
      if (status.Ok()) {
        WriteEnumBytes(member, field.type.typeInfo->size, value);
      }
      break;
    }
    case BindingNativeType::Struct:
      ToStruct(status, member, input, path, field.type.typeInfo, context);
      break;
    default:
      // Byte arrays, vectors, maps, callbacks and codes of no known type.
      ThroughConverter(status, member, input, field, context);
      break;
  }
}

}  // namespace zun
