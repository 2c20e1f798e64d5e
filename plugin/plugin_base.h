// PluginBase: the framework's plugin class. It owns the core event tables
// (resource handlers, core event handlers, subscription counts), the
// service-proxy tables, the core context, the user agent and the telemetry
// sink, and reaches the core only through its pure virtual slots.
//
// Resource handlers. Plugin code watches resources in two steps:
//
//   plugin.SetResourceHandler("/zun-parties/api/parties/7", onParty);      // exact path
//   plugin.SetResourcePatternHandler("/zun-parties/api/parties/*", onAny); // pattern
//   plugin.Subscribe("/zun-parties/api/parties/7");
//
// Subscribe asks the core for the event that covers the path (see
// EventNameForPath); every delivered resource event then reaches the handler
// of its exact "uri" and every pattern handler whose pattern matches it
// (MatchPathPattern). Handlers are called on the core's delivery thread.
//
// Service proxy. AddPendingRequest waits for an answer by uuid or method key
// (ServiceProxyMethodKey), AddAsyncHandler receives unsolicited messages of a
// method. Both callables run with the service-proxy mutex held and must not
// call back into the service proxy.
//
// Locking. Three locks, never held across a call into plugin code:
// - the subscription lock (recursive) serialises Subscribe, Unsubscribe, the
//   core event registrations and Stop together with their calls into the
//   core, so the core sees SubscribeEvent and UnsubscribeEvent in the order
//   of the counts; a handler may subscribe;
// - the table lock guards the core event handler table and the resource
//   tables only for the map operation; deliveries copy the handler out and
//   call it unlocked;
// - the service-proxy mutex guards the three service-proxy tables.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "plugin/core_event_handler.h"
#include "plugin/core_interface.h"
#include "plugin/framework_types.h"
#include "plugin/request_error.h"
#include "plugin/telemetry_sink.h"

namespace zun {

class BindingContext;
struct IncomingRequest;
struct ResponseRecord;

// Flags passed with SubscribeEvent.
inline constexpr uint32_t kResourceEventFlag = 0;
inline constexpr uint32_t kServiceProxyEventFlag = 1;

class PluginBase {
 public:
  using ResourceHandler = std::function<void(const Client::PluginResourceEvent&)>;
  using ServiceProxyCallback = std::function<void(const Client::AppModule::PluginServiceProxyResponse&)>;

  // Whether adding a pending request runs FulfilPendingRequest at once.
  enum class FulfilMode { Now, Deferred };

  PluginBase();
  PluginBase(const PluginBase&) = delete;
  PluginBase& operator=(const PluginBase&) = delete;

  // Slots 0-3.
  // Counts a subscription to the path's event; the first one subscribes with
  // the core.
  virtual void Subscribe(const std::string& path);
  // Drops a subscription; the last one unsubscribes from the core. A path
  // without subscriptions is ignored, so counts never go below zero.
  virtual void Unsubscribe(const std::string& path);
  virtual ~PluginBase();
  // Unsubscribes every registered core event and empties the handler,
  // service-proxy and resource tables; the counts stay.
  virtual void Stop();

  // Slots 4-12: the core's functions, in the order of its table.
  virtual void SendRequest(ResponseRecord* response, IncomingRequest* request) = 0;
  virtual uintptr_t CallCoreSlot1(uintptr_t first, uintptr_t second) = 0;
  virtual uintptr_t CallCoreSlot2(uintptr_t word) = 0;
  virtual void SubscribeEvent(const char* name, uintptr_t coreContext, CoreEventDelivery deliver,
                              void* deliveryContext, uint32_t flag) = 0;
  virtual void UnsubscribeEvent(const char* name, uintptr_t coreContext) = 0;
  virtual uintptr_t CallCoreSlot5(uintptr_t first, uintptr_t second, uintptr_t third, double real,
                                  uintptr_t fourth) = 0;
  virtual uintptr_t CallCoreSlot6() = 0;
  virtual uintptr_t CallCoreSlot7(const std::string& text, uintptr_t word) = 0;
  virtual uintptr_t CallCoreSlot8() = 0;

  // ---- core events ----
  // Stores the handler under `name` (replacing one there) and subscribes
  // with the core, delivering to `deliver` with this object as context.
  void RegisterCoreEvent(const std::string& name, std::shared_ptr<const CoreEventHandler> handler,
                         uint32_t flag, CoreEventDelivery deliver);
  // Unsubscribes from the core and forgets the handler.
  void UnregisterCoreEvent(const std::string& name);
  // Delivery functions handed to the core.
  static void DeliverResourceEvent(CoreEvent* event);
  static void DeliverServiceProxyEvent(CoreEvent* event);
  // Calls the exact handler of the event's uri ("/" prefixed when missing),
  // then every matching pattern handler in pattern order.
  void DispatchResourceEvent(const Client::PluginResourceEvent& event);

  void SetResourceHandler(const std::string& path, ResourceHandler handler);
  void SetResourcePatternHandler(const std::string& pattern, ResourceHandler handler);
  bool RemoveResourceHandler(const std::string& path);
  bool RemoveResourcePatternHandler(const std::string& pattern);

  // The subscription count of an event name (0 when never used).
  [[nodiscard]] int32_t SubscriptionCount(const std::string& eventName) const;
  // Names that have a core event handler, in name order.
  [[nodiscard]] std::vector<std::string> RegisteredCoreEvents() const;

  // ---- service proxy ----
  // "service.method".
  [[nodiscard]] static std::string ServiceProxyMethodKey(const std::string& serviceName,
                                                         const std::string& methodName);
  void AddPendingRequest(const std::string& key, ServiceProxyCallback callback,
                         FulfilMode mode = FulfilMode::Now);
  void AddAsyncHandler(const std::string& methodKey, ServiceProxyCallback handler);
  void OnServiceProxyUuid(const Client::AppModule::PluginServiceProxyResponse& response);
  void OnServiceProxyMethod(const Client::AppModule::PluginServiceProxyResponse& response);
  void OnServiceProxyAsync(const Client::AppModule::PluginServiceProxyResponse& response);
  // Hands the first received answer (in key order) that a request waits for
  // to that request. Answers whether one was fulfilled.
  bool FulfilPendingRequest();

  // ---- outgoing requests ----
  [[nodiscard]] std::optional<RequestError> SendPluginRequest(uint32_t method, const std::string& path,
                                                              const RequestParameters& parameters);
  [[nodiscard]] std::optional<RequestError> PostRequest(const std::string& path,
                                                        const RequestParameters& parameters);
  // Null until the core services have started.
  [[nodiscard]] TelemetrySink* Telemetry() const { return telemetry_.get(); }

  [[nodiscard]] uintptr_t CoreContext() const { return coreContext_; }
  [[nodiscard]] const std::string& UserAgent() const { return userAgent_; }

 protected:
  void SetBindingContext(BindingContext* context) { bindingContext_ = context; }
  // Stores the context and user agent, creates the telemetry sink and
  // registers the three service-proxy events.
  void StartCoreServices(uintptr_t coreContext, std::string userAgent);
  void StartServiceProxy();

 private:
  using HandlerPointer = std::shared_ptr<const CoreEventHandler>;
  using ResourceHandlerPointer = std::shared_ptr<const ResourceHandler>;
  using ServiceProxyResponse = Client::AppModule::PluginServiceProxyResponse;

  void DeliverCoreEvent(const CoreEvent& event, const char* payloadTypeName);
  [[nodiscard]] HandlerPointer FindCoreEventHandler(const char* name) const;
  void StoreReceivedResponse(const std::string& key, const ServiceProxyResponse& response);
  void ClearServiceProxyTables();

  BindingContext* bindingContext_ = nullptr;
  uintptr_t coreContext_ = 0;
  std::string userAgent_;
  std::unique_ptr<TelemetrySink> telemetry_;

  mutable std::recursive_mutex subscriptionLock_;
  std::map<std::string, int32_t> subscriptionCounts_;

  mutable std::mutex tableLock_;
  std::map<std::string, HandlerPointer, std::less<>> coreEventHandlers_;
  std::map<std::string, ResourceHandlerPointer, std::less<>> exactResourceHandlers_;
  std::map<std::string, ResourceHandlerPointer, std::less<>> patternResourceHandlers_;

  std::mutex serviceProxyLock_;
  std::map<std::string, ServiceProxyCallback> pendingRequests_;
  std::map<std::string, ServiceProxyCallback> asyncHandlers_;
  std::map<std::string, ServiceProxyResponse> receivedResponses_;
};

}  // namespace zun
