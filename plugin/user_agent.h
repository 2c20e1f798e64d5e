// The user agent text the plugin forms at initialisation.
#pragma once

#include <string>

#include "plugin/plugin_api_version.h"

namespace zun {

// "OrvoClient/<core's plugin API version> (<short name>)".
[[nodiscard]] std::string FormUserAgent(const PluginApiVersion& coreVersion, const std::string& shortName);

}  // namespace zun
