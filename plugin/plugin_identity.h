// The plugin's names: short name, full platform name and plugin type.
#pragma once

#include <string>

namespace zun {

struct PluginTypeRecord {
  const char* type;
  const char* typeDetail;
};

inline constexpr PluginTypeRecord kBackendPluginType{"backend", ""};
inline constexpr PluginTypeRecord kFrontendPluginType{"frontend", ""};

struct PluginIdentity {
  std::string fullName;
  std::string shortName;
  std::string type;
  std::string typeDetail;
};

// "zvk-be-" + short name for a backend, "zvk-fe-" for a frontend, "zvk-xx-"
// (with an error logged) for any other type.
[[nodiscard]] std::string GetFullNameFromShortNameAndType(const std::string& shortName, const std::string& type);

[[nodiscard]] PluginIdentity MakePluginIdentity(const std::string& shortName, const PluginTypeRecord& typeRecord);

}  // namespace zun
