// A registered event: its name and the record that it carries.
#pragma once

#include <string>
#include <vector>

namespace zun {

struct BindingTypeInfo;

struct BindingEvent {
  std::string name;
  // The registered payload record; null when the record was not registered
  // before the event.
  const BindingTypeInfo* payloadType = nullptr;
  std::string nameSpace;  // no registration sets it; carried to the API description
  std::string description;
  std::vector<std::string> tags;
};

}  // namespace zun
