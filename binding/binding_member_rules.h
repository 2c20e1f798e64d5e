// Conversion rules per exact native member type, used by the converters that
// registered fields own. Until a member type has rules of its own, its
// converter reports that no conversion is available, so a converter never
// claims success without having converted anything.
#pragma once

#include <string_view>

#include "binding/binding_field_converter.h"

namespace zun {

inline constexpr char kMessageNoMemberConversion[] = "No conversion is available for '%1'.";

// Records kMessageNoMemberConversion (with `path`) in `status`, unless it has
// already failed.
void FailMemberConversion(BindingResult& status, std::string_view path);

template <typename Member>
struct BindingMemberRules {
  static void ToNative(BindingResult& status, Member& /*member*/, const BindingProperty& /*input*/,
                       std::string_view path, const BindingTypeInfo* /*typeInfo*/,
                       const BindingContext& /*context*/) {
    FailMemberConversion(status, path);
  }

  static void ToValue(BindingResult& result, const Member& /*member*/,
                      const BindingTypeInfo* /*typeInfo*/, const BindingContext& /*context*/) {
    FailMemberConversion(result, "");
  }
};

}  // namespace zun
