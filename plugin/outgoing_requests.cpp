// PluginBase: requests to other services through the core, telemetry, and
// the text form of a request's outcome.
#include <cstring>

#include "binding/binding_property.h"
#include "binding/binding_result.h"
#include "diagnostics/format_text.h"
#include "plugin/flat_value_conversion.h"
#include "plugin/incoming_request.h"
#include "plugin/plugin_base.h"
#include "plugin/plugin_messages.h"
#include "plugin/request_method.h"
#include "plugin/response_record.h"

namespace zun {

namespace {

// A structure with one string member per parameter.
BindingResult ParametersToValue(const RequestParameters& parameters) {
  BindingProperty value;
  value.MakeStructure();
  for (const auto& [name, text] : parameters) value.Member(name).SetString(text);
  return BindingResult(std::move(value));
}

}  // namespace

std::string ToText(const RequestError& error) {
  return FormatText(messages::kRequestErrorText, error.message, error.status);
}

std::string ToText(const std::optional<RequestError>& error) {
  return error.has_value() ? ToText(*error) : std::string(messages::kRequestSuccess);
}

std::optional<RequestError> PluginBase::SendPluginRequest(uint32_t method, const std::string& path,
                                                          const RequestParameters& parameters) {
  ResponseRecord response;
  std::memset(&response, 0, sizeof(response));
  const char* methodName = RequestMethodName(method);
  BindingResult value = ParametersToValue(parameters);
  if (!value.Ok()) {
    const RequestError conversion{0, std::string(value.ErrorMessage())};
    return RequestError{400, FormatText(messages::kRequestNotSent, methodName, path, conversion)};
  }
  DirectArgument argument{nullptr, EmptyFlatValue()};
  (void)ValueToFlat(argument.value, value.Value(), bindingContext_);

  IncomingRequest request;
  std::memset(&request, 0, sizeof(request));
  request.method = RequestMethodCode(method);
  request.path = path.c_str();
  request.directArguments = &argument;
  request.directArgumentCount = 1;
  request.requestContext = coreContext_;
  SendRequest(&response, &request);

  std::optional<RequestError> result;
  if (const char* errorText = response.errorText; errorText != nullptr) {
    result = RequestError{response.statusCode, FormatText(messages::kErrorResponse, methodName, path, errorText)};
  }
  ReleaseFlatValue(argument.value);
  if (auto release = response.release; release != nullptr) release(&response);
  return result;
}

std::optional<RequestError> PluginBase::PostRequest(const std::string& path, const RequestParameters& parameters) {
  return SendPluginRequest(kRequestMethodPost, path, parameters);
}

std::future<std::optional<RequestError>> PluginTelemetrySink::SendTelemetryEvent(
    const std::string& eventName, const RequestParameters& parameters) {
  std::promise<std::optional<RequestError>> promise;
  promise.set_value(plugin_.PostRequest(messages::kTelemetryPathPrefix + eventName, parameters));
  return promise.get_future();
}

}  // namespace zun
