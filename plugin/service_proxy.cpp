// PluginBase: the service proxy. Answers are kept until a waiting request
// claims them; unsolicited messages go to the handler of their method.
#include <utility>

#include "diagnostics/format_text.h"
#include "diagnostics/log_groups.h"
#include "diagnostics/log_message.h"
#include "plugin/plugin_base.h"
#include "plugin/plugin_messages.h"

namespace zun {

std::string PluginBase::ServiceProxyMethodKey(const std::string& serviceName, const std::string& methodName) {
  return FormatText(messages::kServiceProxyMethodKey, serviceName, methodName);
}

void PluginBase::StartServiceProxy() {
  using Response = ServiceProxyResponse;
  const auto handlerOf = [this](void (PluginBase::*member)(const Response&)) {
    return std::make_shared<TypedCoreEventHandler<Response>>(
        framework_names::kPluginServiceProxyResponse,
        [this, member](const Response& response) { (this->*member)(response); });
  };
  RegisterCoreEvent(framework_names::kOnServiceProxyUuidEvent, handlerOf(&PluginBase::OnServiceProxyUuid),
                    kServiceProxyEventFlag, &PluginBase::DeliverServiceProxyEvent);
  RegisterCoreEvent(framework_names::kOnServiceProxyMethodEvent, handlerOf(&PluginBase::OnServiceProxyMethod),
                    kServiceProxyEventFlag, &PluginBase::DeliverServiceProxyEvent);
  RegisterCoreEvent(framework_names::kOnServiceProxyAsyncEvent, handlerOf(&PluginBase::OnServiceProxyAsync),
                    kServiceProxyEventFlag, &PluginBase::DeliverServiceProxyEvent);
}

void PluginBase::AddPendingRequest(const std::string& key, ServiceProxyCallback callback, FulfilMode mode) {
  {
    std::lock_guard<std::mutex> guard(serviceProxyLock_);
    pendingRequests_[key] = std::move(callback);
  }
  // The answer may have arrived before the request.
  if (mode == FulfilMode::Now) FulfilPendingRequest();
}

void PluginBase::AddAsyncHandler(const std::string& methodKey, ServiceProxyCallback handler) {
  std::lock_guard<std::mutex> guard(serviceProxyLock_);
  asyncHandlers_[methodKey] = std::move(handler);
}

void PluginBase::StoreReceivedResponse(const std::string& key, const ServiceProxyResponse& response) {
  {
    std::lock_guard<std::mutex> guard(serviceProxyLock_);
    receivedResponses_[key] = response;
  }
  FulfilPendingRequest();
}

void PluginBase::OnServiceProxyUuid(const ServiceProxyResponse& response) {
  StoreReceivedResponse(response.uuid, response);
}

void PluginBase::OnServiceProxyMethod(const ServiceProxyResponse& response) {
  StoreReceivedResponse(ServiceProxyMethodKey(response.serviceName, response.methodName), response);
}

void PluginBase::OnServiceProxyAsync(const ServiceProxyResponse& response) {
  std::lock_guard<std::mutex> guard(serviceProxyLock_);
  const std::string key = ServiceProxyMethodKey(response.serviceName, response.methodName);
  const auto found = asyncHandlers_.find(key);
  if (found != asyncHandlers_.end()) {
    found->second(response);
    return;
  }
  LogMessage(LogLevel::Error, log_groups::DBG, messages::kNoAsyncHandler, key.c_str());
}

bool PluginBase::FulfilPendingRequest() {
  std::lock_guard<std::mutex> guard(serviceProxyLock_);
  for (auto received = receivedResponses_.begin(); received != receivedResponses_.end(); ++received) {
    const auto pending = pendingRequests_.find(received->first);
    if (pending == pendingRequests_.end()) continue;
    const ServiceProxyResponse response = received->second;
    pending->second(response);
    LogMessage(LogLevel::Always, log_groups::DBG, messages::kFulfilledRequest, received->first.c_str());
    pendingRequests_.erase(pending);
    receivedResponses_.erase(received);
    return true;
  }
  return false;
}

void PluginBase::ClearServiceProxyTables() {
  std::lock_guard<std::mutex> guard(serviceProxyLock_);
  pendingRequests_.clear();
  asyncHandlers_.clear();
  receivedResponses_.clear();
}

}  // namespace zun
