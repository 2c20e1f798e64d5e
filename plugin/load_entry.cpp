// load_zun_parties: the module's only export and the whole load handshake.
#include <new>

#include "diagnostics/assertion.h"
#include "diagnostics/format_text.h"
#include "diagnostics/framework_allocator.h"
#include "diagnostics/log_groups.h"
#include "diagnostics/log_message.h"
#include "plugin/backend_plugin.h"
#include "plugin/framework_types.h"
#include "plugin/plugin_handshake.h"
#include "plugin/plugin_messages.h"

namespace zun {

namespace {

constexpr const char* kShortName = "zun-parties";

PluginApiVersion CoreVersionOf(const PluginHandshake& handshake) {
  return PluginApiVersion{handshake.apiVersionMajor, handshake.apiVersionMinor, handshake.apiVersionPatch, {}, {}};
}

void ClearOutFields(PluginHandshake& handshake) {
  handshake.callbacks = nullptr;
  handshake.plugin = nullptr;
  handshake.name = nullptr;
  handshake.apiDescription = nullptr;
}

// An incompatible core gets a report and a handshake with null out-fields;
// the plugin object is freed and the host process keeps running.
void RefuseCore(BackendPlugin* plugin, const PluginApiVersion& ours, const PluginApiVersion& core,
                PluginHandshake& handshake) {
  ReportAssertion(messages::kIncompatibleCoreAssertion, nullptr, nullptr, 0, nullptr);
  const std::string message = FormatText(messages::kIncompatibleCore, kShortName, ours, core);
  LogMessage(LogLevel::Error, log_groups::DBG, messages::kPluginManagerLine, message.c_str());
  FrameworkDelete(plugin);
  ClearOutFields(handshake);
}

void WriteHandshake(const BackendPlugin& plugin, const PluginApiVersion& ours, PluginHandshake& handshake) {
  handshake.apiVersionMajor = ours.major;
  handshake.apiVersionMinor = ours.minor;
  handshake.apiVersionPatch = ours.patch;
  handshake.callbacks = plugin.Callbacks();
  handshake.plugin = const_cast<BackendPlugin*>(&plugin);
  handshake.name = plugin.Identity().shortName.c_str();
  handshake.apiDescription = plugin.Description();
}

}  // namespace

void LoadPlugin(PluginHandshake& handshake) {
  BackendPlugin* plugin = FrameworkNew<BackendPlugin>();
  if (plugin == nullptr) {
    ClearOutFields(handshake);
    return;
  }
  const PluginApiVersion ours = FrameworkPluginApiVersion();
  const PluginApiVersion core = CoreVersionOf(handshake);
  if (!IsCompatible(ours, core)) {
    RefuseCore(plugin, ours, core, handshake);
    return;
  }
  plugin->SetCoreVersion(core);
  plugin->SetIdentity(MakePluginIdentity(kShortName, kBackendPluginType));
  // The framework's own types and events come first, then the plugin's API;
  // the description is built last, from everything registered.
  RegisterFrameworkTypes(plugin->Context());
  plugin->RegisterApi();
  plugin->SetDescription(ApiDescription{});
  WriteHandshake(*plugin, ours, handshake);
}

}  // namespace zun

extern "C" void load_zun_parties(zun::PluginHandshake* handshake) {
  if (handshake == nullptr) return;
  zun::LoadPlugin(*handshake);
}
