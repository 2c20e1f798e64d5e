// The plugin framework's own records, enumerations and events, registered at
// load before the plugin's own API.
#pragma once

#include <cstdint>
#include <string>

#include "binding/binding_property.h"
#include "binding/static_type.h"

namespace zun {

class BindingContext;

namespace Client {

enum PluginManagerState : int32_t {
  NotReady = 0,
  PluginsInitialized = 1,
};

struct PluginManagerResource {
  PluginManagerState state = NotReady;
};

enum PluginResourceEventType : int32_t {
  Create = 0,
  Update = 1,
  Delete = 2,
};

// A change of the resource at `uri`.
struct PluginResourceEvent {
  std::string uri;
  PluginResourceEventType eventType = Create;
  BindingProperty data;
};

namespace AppModule {

struct PluginLcdsEvent {
  std::string clientId;
  std::string subtopic;
  std::string typeName;
  BindingProperty body;
};

struct PluginLcdsResponse {
  std::string typeName;
  BindingProperty body;
};

// One service-proxy message, all six members texts.
struct PluginServiceProxyResponse {
  std::string uuid;
  std::string serviceName;
  std::string methodName;
  std::string payload;
  std::string status;
  std::string error;
};

}  // namespace AppModule
}  // namespace Client

namespace framework_names {
inline constexpr char kTag[] = "tessivo";
inline constexpr char kPluginManagerState[] = "PluginManagerState";
inline constexpr char kPluginManagerResource[] = "PluginManagerResource";
inline constexpr char kPluginResourceEventType[] = "PluginResourceEventType";
inline constexpr char kPluginResourceEvent[] = "PluginResourceEvent";
inline constexpr char kPluginLcdsEvent[] = "PluginLcdsEvent";
inline constexpr char kPluginLcdsResponse[] = "PluginLcdsResponse";
inline constexpr char kPluginServiceProxyResponse[] = "PluginServiceProxyResponse";

inline constexpr char kOnJsonApiEvent[] = "OnJsonApiEvent";
inline constexpr char kOnLcdsEvent[] = "OnLcdsEvent";
inline constexpr char kOnServiceProxyUuidEvent[] = "OnServiceProxyUuidEvent";
inline constexpr char kOnServiceProxyMethodEvent[] = "OnServiceProxyMethodEvent";
inline constexpr char kOnServiceProxyAsyncEvent[] = "OnServiceProxyAsyncEvent";

inline constexpr char kOnJsonApiEventDescription[] = "Fired when a resource is changed.";
inline constexpr char kOnLcdsEventDescription[] = "Fired when a message is received over the LCDS connection.";
inline constexpr char kOnServiceProxyUuidEventDescription[] =
    "Fired when a uuid-based service proxy message is received.";
inline constexpr char kOnServiceProxyMethodEventDescription[] =
    "Fired when a method-based service proxy message is received.";
inline constexpr char kOnServiceProxyAsyncEventDescription[] =
    "Fired when an async service proxy message is received.";
}  // namespace framework_names

// The seven types, then the five events, all tagged "tessivo".
void RegisterFrameworkTypes(BindingContext& context);

template <> struct StaticTypeName<Client::PluginManagerState>
    : StaticTypeSpelledAs<spelling::kPluginManagerState> {};
template <> struct StaticTypeName<Client::PluginManagerResource>
    : StaticTypeSpelledAs<spelling::kPluginManagerResource> {};
template <> struct StaticTypeName<Client::PluginResourceEventType>
    : StaticTypeSpelledAs<spelling::kPluginResourceEventType> {};
template <> struct StaticTypeName<Client::PluginResourceEvent>
    : StaticTypeSpelledAs<spelling::kPluginResourceEvent> {};
template <> struct StaticTypeName<Client::AppModule::PluginLcdsEvent>
    : StaticTypeSpelledAs<spelling::kPluginLcdsEvent> {};
template <> struct StaticTypeName<Client::AppModule::PluginLcdsResponse>
    : StaticTypeSpelledAs<spelling::kPluginLcdsResponse> {};
template <> struct StaticTypeName<Client::AppModule::PluginServiceProxyResponse>
    : StaticTypeSpelledAs<spelling::kPluginServiceProxyResponse> {};

}  // namespace zun
