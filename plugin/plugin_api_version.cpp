// Plugin API version: text form and compatibility.
#include "plugin/plugin_api_version.h"

#include "diagnostics/format_positional.h"
#include "diagnostics/format_text.h"

namespace zun {

PluginApiVersion FrameworkPluginApiVersion() { return PluginApiVersion{18, 0, 0, {}, {}}; }

std::string ToText(const PluginApiVersion& version) {
  std::string text = FormatText("%1.%2.%3", version.major, version.minor, version.patch);
  if (!version.preRelease.empty()) text += "-" + version.preRelease;
  if (!version.build.empty()) text += "+" + version.build;
  return text;
}

bool IsCompatible(const PluginApiVersion& plugin, const PluginApiVersion& core) {
  if (core.major != plugin.major) return false;
  if (core.minor < plugin.minor) return false;
  if (core.minor == plugin.minor && core.patch < plugin.patch) return false;
  return true;
}

}  // namespace zun
