// Registration of the framework's own vocabulary, and its native layout on
// the 32-bit target (strings 24 bytes, a value 16 with 8-byte alignment).
#include "plugin/framework_types.h"

#include <cstddef>

#include "binding/binding_context.h"

namespace zun {

#if defined(__i386__)
static_assert(sizeof(Client::PluginManagerState) == 4);
static_assert(sizeof(Client::PluginResourceEventType) == 4);
static_assert(offsetof(Client::PluginResourceEvent, eventType) == 24);
static_assert(offsetof(Client::PluginResourceEvent, data) == 32);
static_assert(sizeof(Client::AppModule::PluginServiceProxyResponse) == 144);
#endif

namespace {

using namespace framework_names;
using Client::AppModule::PluginLcdsEvent;
using Client::AppModule::PluginLcdsResponse;
using Client::AppModule::PluginServiceProxyResponse;

void RegisterEnumerations(BindingContext& context) {
  context.RegisterType<Client::PluginManagerState>(kPluginManagerState)
      .Tag(kTag)
      .Value("NotReady", Client::NotReady)
      .Value("PluginsInitialized", Client::PluginsInitialized);
}

void RegisterResourceTypes(BindingContext& context) {
  context.RegisterType<Client::PluginManagerResource>(kPluginManagerResource)
      .Tag(kTag)
      .Field("state", &Client::PluginManagerResource::state);
  context.RegisterType<Client::PluginResourceEventType>(kPluginResourceEventType)
      .Tag(kTag)
      .Value("Create", Client::Create)
      .Value("Update", Client::Update)
      .Value("Delete", Client::Delete);
  context.RegisterType<Client::PluginResourceEvent>(kPluginResourceEvent)
      .Tag(kTag)
      .Field("uri", &Client::PluginResourceEvent::uri)
      .Field("eventType", &Client::PluginResourceEvent::eventType)
      .Field("data", &Client::PluginResourceEvent::data);
}

void RegisterAppModuleTypes(BindingContext& context) {
  context.RegisterType<PluginLcdsEvent>(kPluginLcdsEvent)
      .Tag(kTag)
      .Field("clientId", &PluginLcdsEvent::clientId)
      .Field("subtopic", &PluginLcdsEvent::subtopic)
      .Field("typeName", &PluginLcdsEvent::typeName)
      .Field("body", &PluginLcdsEvent::body);
  context.RegisterType<PluginLcdsResponse>(kPluginLcdsResponse)
      .Tag(kTag)
      .Field("typeName", &PluginLcdsResponse::typeName)
      .Field("body", &PluginLcdsResponse::body);
  context.RegisterType<PluginServiceProxyResponse>(kPluginServiceProxyResponse)
      .Tag(kTag)
      .Field("uuid", &PluginServiceProxyResponse::uuid)
      .Field("serviceName", &PluginServiceProxyResponse::serviceName)
      .Field("methodName", &PluginServiceProxyResponse::methodName)
      .Field("payload", &PluginServiceProxyResponse::payload)
      .Field("status", &PluginServiceProxyResponse::status)
      .Field("error", &PluginServiceProxyResponse::error);
}

void RegisterEvents(BindingContext& context) {
  context.RegisterEvent<Client::PluginResourceEvent>(kOnJsonApiEvent)
      .Description(kOnJsonApiEventDescription)
      .Tag(kTag);
  context.RegisterEvent<PluginLcdsEvent>(kOnLcdsEvent).Description(kOnLcdsEventDescription).Tag(kTag);
  context.RegisterEvent<PluginServiceProxyResponse>(kOnServiceProxyUuidEvent)
      .Description(kOnServiceProxyUuidEventDescription)
      .Tag(kTag);
  context.RegisterEvent<PluginServiceProxyResponse>(kOnServiceProxyMethodEvent)
      .Description(kOnServiceProxyMethodEventDescription)
      .Tag(kTag);
  context.RegisterEvent<PluginServiceProxyResponse>(kOnServiceProxyAsyncEvent)
      .Description(kOnServiceProxyAsyncEventDescription)
      .Tag(kTag);
}

}  // namespace

void RegisterFrameworkTypes(BindingContext& context) {
  RegisterEnumerations(context);
  RegisterResourceTypes(context);
  RegisterAppModuleTypes(context);
  RegisterEvents(context);
}

}  // namespace zun
