// PluginBase: subscriptions, core event delivery, resource dispatch and Stop.
#include "plugin/plugin_base.h"

#include <utility>

#include "binding/binding_property.h"
#include "plugin/debug_trace.h"
#include "plugin/event_names.h"
#include "plugin/flat_value_conversion.h"
#include "plugin/path_pattern.h"
#include "plugin/plugin_messages.h"

namespace zun {

namespace {
constexpr const char* kResultPath = "<result>";
}  // namespace

PluginBase::PluginBase() = default;

PluginBase::~PluginBase() {
  ClearServiceProxyTables();
  std::lock_guard<std::mutex> guard(tableLock_);
  coreEventHandlers_.clear();
  exactResourceHandlers_.clear();
  patternResourceHandlers_.clear();
}

void PluginBase::Subscribe(const std::string& path) {
  const std::string name = EventNameForPath(path);
  std::lock_guard<std::recursive_mutex> guard(subscriptionLock_);
  if (++subscriptionCounts_[name] != 1) return;
  DebugTrace(messages::kTraceSubscribing, name.c_str());
  auto handler = std::make_shared<TypedCoreEventHandler<Client::PluginResourceEvent>>(
      framework_names::kPluginResourceEvent,
      [this](const Client::PluginResourceEvent& event) { DispatchResourceEvent(event); });
  RegisterCoreEvent(name, std::move(handler), kResourceEventFlag, &PluginBase::DeliverResourceEvent);
}

void PluginBase::Unsubscribe(const std::string& path) {
  const std::string name = EventNameForPath(path);
  std::lock_guard<std::recursive_mutex> guard(subscriptionLock_);
  int32_t& count = subscriptionCounts_[name];
  if (count <= 0) {
    DebugTrace(messages::kTraceUnbalancedUnsubscribe, name.c_str());
    return;
  }
  if (--count != 0) return;
  UnregisterCoreEvent(name);
  DebugTrace(messages::kTraceUnsubscribing, name.c_str());
}

void PluginBase::Stop() {
  std::lock_guard<std::recursive_mutex> guard(subscriptionLock_);
  for (const std::string& name : RegisteredCoreEvents()) UnsubscribeEvent(name.c_str(), coreContext_);
  {
    std::lock_guard<std::mutex> tables(tableLock_);
    coreEventHandlers_.clear();
  }
  ClearServiceProxyTables();
  std::lock_guard<std::mutex> tables(tableLock_);
  exactResourceHandlers_.clear();
  patternResourceHandlers_.clear();
}

void PluginBase::RegisterCoreEvent(const std::string& name, std::shared_ptr<const CoreEventHandler> handler,
                                   uint32_t flag, CoreEventDelivery deliver) {
  std::lock_guard<std::recursive_mutex> guard(subscriptionLock_);
  {
    std::lock_guard<std::mutex> tables(tableLock_);
    coreEventHandlers_[name] = std::move(handler);
  }
  SubscribeEvent(name.c_str(), coreContext_, deliver, this, flag);
}

void PluginBase::UnregisterCoreEvent(const std::string& name) {
  std::lock_guard<std::recursive_mutex> guard(subscriptionLock_);
  UnsubscribeEvent(name.c_str(), coreContext_);
  std::lock_guard<std::mutex> tables(tableLock_);
  coreEventHandlers_.erase(name);
}

void PluginBase::DeliverResourceEvent(CoreEvent* event) {
  if (event == nullptr || event->deliveryContext == nullptr) return;
  static_cast<PluginBase*>(event->deliveryContext)->DeliverCoreEvent(*event, framework_names::kPluginResourceEvent);
}

void PluginBase::DeliverServiceProxyEvent(CoreEvent* event) {
  if (event == nullptr || event->deliveryContext == nullptr) return;
  static_cast<PluginBase*>(event->deliveryContext)
      ->DeliverCoreEvent(*event, framework_names::kPluginServiceProxyResponse);
}

PluginBase::HandlerPointer PluginBase::FindCoreEventHandler(const char* name) const {
  std::lock_guard<std::mutex> tables(tableLock_);
  const auto found = coreEventHandlers_.find(name);
  return found == coreEventHandlers_.end() ? nullptr : found->second;
}

void PluginBase::DeliverCoreEvent(const CoreEvent& event, const char* payloadTypeName) {
  const char* eventName = event.eventName;
  if (eventName == nullptr || bindingContext_ == nullptr) return;
  // The handler is copied out, so it survives an unsubscription on another
  // thread while it runs, and it may itself subscribe.
  const HandlerPointer handler = FindCoreEventHandler(eventName);
  if (handler == nullptr) return;
  BindingProperty payload;
  FlatStatus status{EmptyFlatValue(), nullptr, 0};
  if (!FlatToValue(status, payload, event.payload, kResultPath)) {
    DebugTrace(messages::kTraceConvertPayload, payloadTypeName, eventName, status.errorText);
    ReleaseFlatStatus(status);
    return;
  }
  std::string error;
  if (!handler->Handle(payload, *bindingContext_, eventName, error)) {
    DebugTrace(messages::kTraceConvertPayload, handler->PayloadTypeName(), eventName, error.c_str());
  }
}

void PluginBase::DispatchResourceEvent(const Client::PluginResourceEvent& event) {
  const std::string path = event.uri.starts_with('/') ? event.uri : "/" + event.uri;
  ResourceHandlerPointer exact;
  std::vector<ResourceHandlerPointer> matching;
  {
    std::lock_guard<std::mutex> tables(tableLock_);
    const auto found = exactResourceHandlers_.find(path);
    if (found != exactResourceHandlers_.end()) exact = found->second;
    for (const auto& [pattern, handler] : patternResourceHandlers_) {
      if (MatchPathPattern(pattern, path)) matching.push_back(handler);
    }
  }
  if (exact != nullptr) (*exact)(event);
  for (const ResourceHandlerPointer& handler : matching) (*handler)(event);
}

void PluginBase::SetResourceHandler(const std::string& path, ResourceHandler handler) {
  auto stored = std::make_shared<const ResourceHandler>(std::move(handler));
  std::lock_guard<std::mutex> tables(tableLock_);
  exactResourceHandlers_[path] = std::move(stored);
}

void PluginBase::SetResourcePatternHandler(const std::string& pattern, ResourceHandler handler) {
  auto stored = std::make_shared<const ResourceHandler>(std::move(handler));
  std::lock_guard<std::mutex> tables(tableLock_);
  patternResourceHandlers_[pattern] = std::move(stored);
}

bool PluginBase::RemoveResourceHandler(const std::string& path) {
  std::lock_guard<std::mutex> tables(tableLock_);
  return exactResourceHandlers_.erase(path) != 0;
}

bool PluginBase::RemoveResourcePatternHandler(const std::string& pattern) {
  std::lock_guard<std::mutex> tables(tableLock_);
  return patternResourceHandlers_.erase(pattern) != 0;
}

int32_t PluginBase::SubscriptionCount(const std::string& eventName) const {
  std::lock_guard<std::recursive_mutex> guard(subscriptionLock_);
  const auto found = subscriptionCounts_.find(eventName);
  return found == subscriptionCounts_.end() ? 0 : found->second;
}

std::vector<std::string> PluginBase::RegisteredCoreEvents() const {
  std::lock_guard<std::mutex> tables(tableLock_);
  std::vector<std::string> names;
  names.reserve(coreEventHandlers_.size());
  for (const auto& entry : coreEventHandlers_) names.push_back(entry.first);
  return names;
}

void PluginBase::StartCoreServices(uintptr_t coreContext, std::string userAgent) {
  coreContext_ = coreContext;
  userAgent_ = std::move(userAgent);
  telemetry_ = std::make_unique<PluginTelemetrySink>(*this);
  StartServiceProxy();
}

}  // namespace zun
