// Native-to-value conversion of registered records: each registered field
// becomes the structure member of its name, holding the member's value by its
// native type. Only unregistered records (or enumerations) fail.
#pragma once

#include "binding/static_type.h"

namespace zun {

class BindingContext;
class BindingProperty;
class BindingResult;
struct BindingField;
struct BindingTypeInfo;

// Converts the record registered under `identity` into `output`. False, with
// `output` left alone, when the type is not registered or the conversion
// failed (the message is dropped).
[[nodiscard]] bool ConvertToValue(const BindingContext& context, BindingProperty& output,
                                  const void* record, const StaticTypeId& identity);

template <typename Record>
[[nodiscard]] bool ConvertToValue(const BindingContext& context, BindingProperty& output,
                                  const Record& record) {
  return ConvertToValue(context, output, static_cast<const void*>(&record),
                        StaticType::Get<Record>());
}

// Makes `result`'s value a structure of the record's fields.
void FromStruct(BindingResult& result, const void* record, const BindingTypeInfo* typeInfo,
                const BindingContext& context);

// The conversions below write into `out`, a value anywhere, and record a
// failure in `status` only. `out` may lie inside `status`'s own value, which
// a failure releases: after `status` has failed, `out` must not be touched.
void FromStructInto(BindingResult& status, BindingProperty& out, const void* record,
                    const BindingTypeInfo* typeInfo, const BindingContext& context);

void ConvertMemberToValue(BindingResult& status, BindingProperty& out, const void* member,
                          const BindingField& field, const BindingContext& context);

}  // namespace zun
