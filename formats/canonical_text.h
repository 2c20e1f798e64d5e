// CanonicalText: one line of text that shows a whole value tree, every kind
// distinguishable, no spaces. Tests compare trees through it and `zun-value`
// prints it.
//
//   empty    null                 string      "json \"literal\""
//   bool     true | false         blob        b:<base64 with padding>
//   signed   i:-5                 enum        e:<value>
//   unsigned u:5                  collection  [a,b]
//   float    f:<%.17g> | f:nan | f:inf | f:-inf
//   structure {"name":value,...} in stored (name) order
#pragma once

#include <string>

#include "binding/binding_property.h"

namespace zun {

[[nodiscard]] std::string CanonicalText(const BindingProperty& value);

}  // namespace zun
