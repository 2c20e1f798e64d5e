// The plugin object the core sees: versions, names, the callback table and
// the API description, created by the load and destroyed by Unload.
#pragma once

#include <memory>

#include "binding/binding_context.h"
#include "plugin/api_description.h"
#include "plugin/plugin_api_version.h"
#include "plugin/plugin_callbacks.h"
#include "plugin/plugin_identity.h"

namespace zun {

class BackendPlugin {
 public:
  BackendPlugin();
  virtual ~BackendPlugin();
  BackendPlugin(const BackendPlugin&) = delete;
  BackendPlugin& operator=(const BackendPlugin&) = delete;

  // Ends every core subscription and empties the plugin's tables.
  virtual void Stop();
  // Registers the plugin's own functions, types and events; none here.
  virtual void RegisterApi();
  virtual bool OnInitialized();

  void SetCoreVersion(const PluginApiVersion& version) { coreVersion_ = version; }
  [[nodiscard]] const PluginApiVersion& CoreVersion() const { return coreVersion_; }
  void SetIdentity(PluginIdentity identity) { identity_ = std::move(identity); }
  [[nodiscard]] const PluginIdentity& Identity() const { return identity_; }
  [[nodiscard]] const PluginCallbacks* Callbacks() const { return &callbacks_; }
  [[nodiscard]] const ApiDescription* Description() const { return &apiDescription_; }
  void SetDescription(const ApiDescription& description) { apiDescription_ = description; }

  uint8_t Initialize(CoreInterface* core);

  [[nodiscard]] BindingContext& Context() { return *context_; }

 private:
  // Created with the object and destroyed first, with everything registered.
  std::unique_ptr<BindingContext> context_;
  PluginApiVersion coreVersion_;
  PluginIdentity identity_;
  CoreInterface* core_ = nullptr;
  PluginCallbacks callbacks_;
  ApiDescription apiDescription_;
};

}  // namespace zun
