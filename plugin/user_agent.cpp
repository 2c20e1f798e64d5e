// Forming the user agent.
#include "plugin/user_agent.h"

#include "diagnostics/format_text.h"
#include "plugin/plugin_messages.h"

namespace zun {

std::string FormUserAgent(const PluginApiVersion& coreVersion, const std::string& shortName) {
  return FormatText(messages::kUserAgent, coreVersion, shortName);
}

}  // namespace zun
