// PluginLogTarget: the log target that hands every record to the core's Log
// once the plugin is initialised, replacing the console targets.
#pragma once

#include <memory>

#include "diagnostics/log_target.h"
#include "plugin/core_interface.h"

namespace zun {

class PluginLogTarget final : public LogTarget {
 public:
  explicit PluginLogTarget(const CoreFunctions* functions) : functions_(functions) {}
  ~PluginLogTarget() override;

  [[nodiscard]] const char* Name() const override;
  // Forwards the level and the message text (not a rendered line).
  bool Write(const LogRecord& record) override;

 private:
  const CoreFunctions* functions_;
};

// Unless the log manager already has a "PluginLogTarget": detaches the three
// built-in targets, lets every level through except the muted group XTR,
// and makes `slot` a new target over `functions` (destroying the one it
// held), attached at level Okay with the default line format.
void InstallPluginLogTarget(const CoreFunctions* functions, std::unique_ptr<PluginLogTarget>& slot);

}  // namespace zun
