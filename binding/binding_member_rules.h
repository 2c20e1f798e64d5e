// Conversion rules per exact native member type, used by the converters that
// registered fields own and by the vector and map rules for their elements.
// The rules follow the member's C++ type: bool, integers of 8 to 64 bits,
// float, double, string, BindingProperty, byte vectors, vectors and string
// maps of any of these, registered records and registered enumerations.
// Specialise BindingMemberRules for a member type of your own.
#pragma once

#include <cstdint>
#include <string_view>

#include "binding/binding_field_converter.h"
#include "binding/binding_property.h"
#include "binding/binding_result.h"

namespace zun {

inline constexpr char kMessageNoMemberConversion[] = "No conversion is available for '%1'.";

// Records kMessageNoMemberConversion (with `path`) in `status`, unless it has
// already failed.
void FailMemberConversion(BindingResult& status, std::string_view path);

// An enumeration's native bytes: read as a signed integer of `size` bytes (1,
// 2 or 4; of 8 bytes the low 32 bits; any other size reads 0), written from
// the value truncated or, for 8 bytes, sign-extended.
[[nodiscard]] int32_t ReadEnumBytes(const void* member, uint32_t size);
void WriteEnumBytes(void* member, uint32_t size, int32_t value);

// Stores Enum {value, identity of `typeInfo`}; without a registered type the
// value has no identity to carry and the conversion fails.
void EnumToValue(BindingResult& status, BindingProperty& out, int32_t value,
                 const BindingTypeInfo* typeInfo);

template <typename Member>
struct BindingMemberRules {
  // Converts `input` into `member`; see binding/convert_to_native.h.
  static void ToNative(BindingResult& status, Member& member, const BindingProperty& input,
                       std::string_view path, const BindingTypeInfo* typeInfo,
                       const BindingContext& context);

  // Makes `result`'s value the value of `member`.
  static void ToValue(BindingResult& result, const Member& member,
                      const BindingTypeInfo* typeInfo, const BindingContext& context) {
    ToValueInto(result, result.Value(), member, typeInfo, context);
  }

  // Writes the value of `member` into `out`; a failure goes to `status` only
  // (see FromStructInto in binding/convert_to_value.h).
  static void ToValueInto(BindingResult& status, BindingProperty& out, const Member& member,
                          const BindingTypeInfo* typeInfo, const BindingContext& context);
};

}  // namespace zun

#include "binding/field_converters-inl.h"
