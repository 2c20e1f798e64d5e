// Value-to-native conversion of registered records: walks a record's
// registered fields, takes the input member of each field's name and writes
// it, converted, at the field's offset.
//
// The status starts ok; the first failure records its message and every
// later step does nothing, so that message is the one reported. Members the
// input does not mention (or holds as Empty) keep their native value.
#pragma once

#include <string_view>

#include "binding/static_type.h"

namespace zun {

class BindingContext;
class BindingProperty;
class BindingResult;
struct BindingField;
struct BindingTypeInfo;

// Fails with the required message when `input` is Empty, else ToStruct.
void ConvertToNative(BindingResult& status, void* target, const BindingProperty& input,
                     std::string_view path, const BindingTypeInfo* typeInfo,
                     const BindingContext& context);

// The same for the record registered under `identity` (null typeInfo when
// none is: the unregistered-structure message).
void ConvertToNative(BindingResult& status, void* target, const BindingProperty& input,
                     std::string_view path, const StaticTypeId& identity,
                     const BindingContext& context);

template <typename Record>
void ConvertToNative(BindingResult& status, Record& target, const BindingProperty& input,
                     std::string_view path, const BindingContext& context) {
  ConvertToNative(status, static_cast<void*>(&target), input, path, StaticType::Get<Record>(),
                  context);
}

// Fills the record at `target` from the structure `input`, field by field in
// registration order.
void ToStruct(BindingResult& status, void* target, const BindingProperty& input,
              std::string_view path, const BindingTypeInfo* typeInfo,
              const BindingContext& context);

// Converts `input` (never Empty) into the member at `member` by the field's
// type; optional members and containers go through the field's converter.
void ConvertMemberToNative(BindingResult& status, void* member, const BindingProperty& input,
                           const BindingField& field, const BindingContext& context);

}  // namespace zun
