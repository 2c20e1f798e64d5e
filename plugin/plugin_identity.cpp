// Forming the plugin's full name from its short name and type.
#include "plugin/plugin_identity.h"

#include "diagnostics/format_text.h"
#include "diagnostics/log_groups.h"
#include "diagnostics/log_message.h"
#include "plugin/plugin_messages.h"

namespace zun {

std::string GetFullNameFromShortNameAndType(const std::string& shortName, const std::string& type) {
  const char* prefix = "zvk-xx-";
  if (type == kBackendPluginType.type) {
    prefix = "zvk-be-";
  } else if (type == kFrontendPluginType.type) {
    prefix = "zvk-fe-";
  } else {
    const std::string message = FormatText(messages::kUnknownPluginType, shortName, type);
    LogMessage(LogLevel::Error, log_groups::DBG, messages::kPluginManagerLine, message.c_str());
  }
  return prefix + shortName;
}

PluginIdentity MakePluginIdentity(const std::string& shortName, const PluginTypeRecord& typeRecord) {
  PluginIdentity identity;
  identity.shortName = shortName;
  identity.fullName = GetFullNameFromShortNameAndType(shortName, typeRecord.type);
  identity.type = typeRecord.type;
  identity.typeDetail = typeRecord.typeDetail;
  return identity;
}

}  // namespace zun
