// Where the plugin sends telemetry events; the plugin owns one, created at
// initialisation.
#pragma once

#include <future>
#include <optional>
#include <string>

#include "plugin/request_error.h"

namespace zun {

class PluginBase;

class TelemetrySink {
 public:
  TelemetrySink() = default;
  TelemetrySink(const TelemetrySink&) = delete;
  TelemetrySink& operator=(const TelemetrySink&) = delete;
  virtual ~TelemetrySink() = default;

  // Posts the event; the future is ready when the call returns.
  [[nodiscard]] virtual std::future<std::optional<RequestError>> SendTelemetryEvent(
      const std::string& eventName, const RequestParameters& parameters) = 0;
};

// Posts to "/telemetry/v1/events/<name>" through the plugin.
class PluginTelemetrySink final : public TelemetrySink {
 public:
  explicit PluginTelemetrySink(PluginBase& plugin) : plugin_(plugin) {}
  [[nodiscard]] std::future<std::optional<RequestError>> SendTelemetryEvent(
      const std::string& eventName, const RequestParameters& parameters) override;

 private:
  PluginBase& plugin_;
};

}  // namespace zun
