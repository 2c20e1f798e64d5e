// The log target that forwards to the core, and its installation.
#include "plugin/plugin_log_target.h"

#include "diagnostics/log_manager.h"
#include "plugin/plugin_messages.h"

namespace zun {

PluginLogTarget::~PluginLogTarget() { Detach(); }

const char* PluginLogTarget::Name() const { return messages::kPluginLogTargetName; }

bool PluginLogTarget::Write(const LogRecord& record) {
  if (functions_ != nullptr && functions_->Log != nullptr) {
    functions_->Log(functions_, static_cast<int32_t>(record.level), record.message);
  }
  return true;
}

void InstallPluginLogTarget(const CoreFunctions* functions, std::unique_ptr<PluginLogTarget>& slot) {
  LogManager& manager = LogManager::Instance();
  if (manager.FindTarget(messages::kPluginLogTargetName) != nullptr) return;
  manager.StdErrTarget().Detach();
  manager.StdOutTarget().Detach();
  manager.DebuggerTarget().Detach();
  manager.SetMinimumLevel(LogLevel::Okay);
  manager.SetMutedGroups(log_groups::XTR);
  slot = std::make_unique<PluginLogTarget>(functions);
  LogTargetSettings settings;
  settings.level = manager.MinimumLevel();
  slot->Apply(settings);
}

}  // namespace zun
