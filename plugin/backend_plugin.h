// The plugin object the core sees: versions, names, the callback table, the
// API description and, once initialised, the core interface and the log
// target. Created by the load and destroyed by Unload.
#pragma once

#include <memory>

#include "binding/binding_context.h"
#include "plugin/api_description.h"
#include "plugin/plugin_api_version.h"
#include "plugin/plugin_base.h"
#include "plugin/plugin_callbacks.h"
#include "plugin/plugin_identity.h"
#include "plugin/plugin_log_target.h"

namespace zun {

class BackendPlugin : public PluginBase {
 public:
  BackendPlugin();
  ~BackendPlugin() override;

  // Forward to the core's table; before Initialize they do nothing and
  // return 0.
  void SendRequest(ResponseRecord* response, IncomingRequest* request) override;
  uintptr_t CallCoreSlot1(uintptr_t first, uintptr_t second) override;
  uintptr_t CallCoreSlot2(uintptr_t word) override;
  void SubscribeEvent(const char* name, uintptr_t coreContext, CoreEventDelivery deliver, void* deliveryContext,
                      uint32_t flag) override;
  void UnsubscribeEvent(const char* name, uintptr_t coreContext) override;
  uintptr_t CallCoreSlot5(uintptr_t first, uintptr_t second, uintptr_t third, double real,
                          uintptr_t fourth) override;
  uintptr_t CallCoreSlot6() override;
  uintptr_t CallCoreSlot7(const std::string& text, uintptr_t word) override;
  uintptr_t CallCoreSlot8() override;

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

  // Keeps the interface, installs the log target, forms the user agent and
  // starts the core services.
  uint8_t Initialize(CoreInterface* core);

  [[nodiscard]] BindingContext& Context() { return *context_; }

 private:
  [[nodiscard]] const CoreFunctions* Functions() const;

  // Created with the object and destroyed first, with everything registered.
  std::unique_ptr<BindingContext> context_;
  PluginApiVersion coreVersion_;
  PluginIdentity identity_;
  std::unique_ptr<PluginLogTarget> logTarget_;
  CoreInterface* core_ = nullptr;
  PluginCallbacks callbacks_;
  ApiDescription apiDescription_;
};

}  // namespace zun
