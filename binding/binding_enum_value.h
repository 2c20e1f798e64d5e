// One enumerator of a registered enumeration.
#pragma once

#include <cstdint>
#include <string>

namespace zun {

struct BindingTypeInfo;

struct BindingEnumValue {
  int32_t value = 0;
  std::string name;
  std::string description;
  const BindingTypeInfo* owner = nullptr;
};

}  // namespace zun
