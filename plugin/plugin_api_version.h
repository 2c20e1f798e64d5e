// The plugin API version triple, its text form and the compatibility rule.
#pragma once

#include <cstdint>
#include <string>

namespace zun {

struct PluginApiVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t patch = 0;
  std::string preRelease;
  std::string build;
};

// The version of the plugin API this framework speaks.
[[nodiscard]] PluginApiVersion FrameworkPluginApiVersion();

// "major.minor.patch", then "-preRelease" and "+build" when they are set.
// Also how a version renders as an argument of a positional message.
[[nodiscard]] std::string ToText(const PluginApiVersion& version);

// A core accepts the plugin when the majors are equal and the core's
// minor.patch is not older than the plugin's.
[[nodiscard]] bool IsCompatible(const PluginApiVersion& plugin, const PluginApiVersion& core);

}  // namespace zun
