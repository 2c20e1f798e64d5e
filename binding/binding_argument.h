// One argument of a registered function.
#pragma once

#include <string>

#include "binding/binding_type_ref.h"

namespace zun {

struct BindingArgument {
  std::string name;
  std::string description;
  bool optional = false;
  BindingTypeRef type;
  // What the API description shows instead of `type` when set.
  BindingTypeRef publishedType;
};

}  // namespace zun
