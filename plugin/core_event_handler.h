// The handler stored under a core event name: it knows the registered record
// its payload converts into, converts it and calls plugin code with it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "binding/binding_result.h"
#include "plugin/debug_trace.h"
#include "plugin/payload_conversion.h"
#include "plugin/plugin_messages.h"

namespace zun {

class CoreEventHandler {
 public:
  CoreEventHandler() = default;
  CoreEventHandler(const CoreEventHandler&) = delete;
  CoreEventHandler& operator=(const CoreEventHandler&) = delete;
  virtual ~CoreEventHandler() = default;

  // The registered name of the payload record.
  [[nodiscard]] virtual const char* PayloadTypeName() const = 0;

  // Converts `payload` and calls the handler with the record. When the
  // conversion fails, nothing is called: the result is false and `error`
  // holds the message.
  [[nodiscard]] virtual bool Handle(const BindingProperty& payload, const BindingContext& context,
                                    const char* eventName, std::string& error) const = 0;
};

template <typename Record>
class TypedCoreEventHandler final : public CoreEventHandler {
 public:
  using Callback = std::function<void(const Record&)>;

  TypedCoreEventHandler(const char* typeName, Callback callback)
      : typeName_(typeName), callback_(std::move(callback)) {}

  [[nodiscard]] const char* PayloadTypeName() const override { return typeName_; }

  [[nodiscard]] bool Handle(const BindingProperty& payload, const BindingContext& context,
                            const char* eventName, std::string& error) const override {
    Record record;
    BindingResult status;
    ConvertPayloadToNative(status, &record, payload, typeName_, context);
    if (!status.Ok()) {
      error = status.ErrorMessage();
      return false;
    }
    DebugTrace(messages::kTraceHandlingEvent, eventName);
    callback_(record);
    return true;
  }

 private:
  const char* typeName_;
  Callback callback_;
};

}  // namespace zun
