// TestCore: an in-process stand-in for the core. It lends a real
// CoreFunctions table, records every call with its arguments, answers
// SendRequest with scripted responses (framework memory, released through the
// record's release operation) and delivers events whose payloads are flat
// values. PluginSession loads the plugin through load_zun_parties and drives
// it through the callback table.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "plugin/core_interface.h"
#include "plugin/flat_value.h"
#include "plugin/incoming_request.h"
#include "plugin/plugin_callbacks.h"
#include "plugin/plugin_handshake.h"
#include "plugin/response_record.h"

namespace zun {

class BackendPlugin;
class BindingProperty;

namespace testing_core {

// A flat value copied out of the plugin's memory: kind, text, numbers and
// the children of containers, with field names and their ownership.
struct RecordedFlat {
  uint32_t kind = 0;
  std::string text;  // strings and blobs
  int64_t signedValue = 0;
  uint64_t unsignedValue = 0;
  double floatValue = 0;
  bool boolValue = false;
  std::vector<std::string> names;  // structures: the field names in order
  std::vector<uint8_t> ownsNames;
  std::vector<RecordedFlat> children;
};

[[nodiscard]] RecordedFlat RecordFlat(const FlatValue& value);

enum class CallKind { SendRequest, Slot1, Slot2, SubscribeEvent, UnsubscribeEvent, Slot5, Slot6, Slot7, Slot8, Log };

struct CoreCall {
  CallKind kind = CallKind::Log;
  const CoreFunctions* self = nullptr;
  std::string name;  // event name, log text or slot-7 text
  uintptr_t coreContext = 0;
  CoreEventDelivery deliver = nullptr;
  void* deliveryContext = nullptr;
  uint32_t flag = 0;
  int32_t level = 0;
  std::vector<uintptr_t> words;  // slots 1, 2, 5, 7
  double real = 0;
  // SendRequest only.
  uint32_t method = 0;
  std::string path;
  uintptr_t requestContext = 0;
  bool responseWasZeroed = false;
  std::vector<std::optional<std::string>> argumentNames;  // nullopt: unnamed
  std::vector<RecordedFlat> arguments;
};

struct ScriptedResponse {
  uint32_t status = 200;
  std::optional<std::string> errorText;  // set: the request failed
};

class TestCore {
 public:
  static constexpr uintptr_t kDefaultContext = 0xC0DE;
  // What slots 1, 2 and 5 to 8 answer.
  static constexpr uintptr_t kSlotAnswer = 0x5107;

  explicit TestCore(uintptr_t coreContext = kDefaultContext);
  TestCore(const TestCore&) = delete;
  TestCore& operator=(const TestCore&) = delete;

  [[nodiscard]] CoreInterface* Interface() { return &interface_; }
  [[nodiscard]] const CoreFunctions* Functions() const { return &table_.functions; }

  // Calls in order; copies taken under the core's lock.
  [[nodiscard]] std::vector<CoreCall> Calls() const;
  [[nodiscard]] std::vector<CoreCall> Calls(CallKind kind) const;
  [[nodiscard]] std::vector<std::string> LogTexts() const;
  void ClearCalls();

  // Answers for the next SendRequest calls, in order; without one a request
  // succeeds with status 200.
  void ScriptResponse(ScriptedResponse response);
  [[nodiscard]] int ReleasedResponses() const { return releasedResponses_.load(); }

  // Names currently subscribed, and whether one is.
  [[nodiscard]] std::vector<std::string> SubscribedNames() const;
  [[nodiscard]] bool IsSubscribed(const std::string& name) const;

  // Delivers an event to the subscriber of `name` as the core does; false
  // when nobody is subscribed. The payload stays the caller's.
  bool Deliver(const std::string& name, const FlatValue& payload);

 private:
  struct Table {
    CoreFunctions functions;  // first, so the table's address leads back here
    TestCore* owner;
  };
  struct Subscription {
    CoreEventDelivery deliver;
    void* deliveryContext;
  };

  static TestCore& Of(const CoreFunctions* self);
  static void SendRequestEntry(const CoreFunctions* self, ResponseRecord* response, IncomingRequest* request);
  static uintptr_t Slot1Entry(const CoreFunctions* self, uintptr_t first, uintptr_t second);
  static uintptr_t Slot2Entry(const CoreFunctions* self, uintptr_t word);
  static void SubscribeEntry(const CoreFunctions* self, const char* name, uintptr_t coreContext,
                             CoreEventDelivery deliver, void* deliveryContext, uint32_t flag);
  static void UnsubscribeEntry(const CoreFunctions* self, const char* name, uintptr_t coreContext);
  static uintptr_t Slot5Entry(const CoreFunctions* self, uintptr_t first, uintptr_t second, uintptr_t third,
                              double real, uintptr_t fourth);
  static uintptr_t Slot6Entry(const CoreFunctions* self);
  static uintptr_t Slot7Entry(const CoreFunctions* self, const char* text, uintptr_t word);
  static uintptr_t Slot8Entry(const CoreFunctions* self);
  static void LogEntry(const CoreFunctions* self, int32_t level, const char* text);
  static void ReleaseResponse(ResponseRecord* response);

  void Record(CoreCall call);

  Table table_;
  CoreInterface interface_;
  mutable std::mutex lock_;
  std::vector<CoreCall> calls_;
  std::deque<ScriptedResponse> script_;
  std::map<std::string, Subscription> subscriptions_;
  static std::atomic<int> releasedResponses_;
};

// One plugin loaded the way the core loads it.
class PluginSession {
 public:
  // Loads with a core of plugin API 18.0.0.
  PluginSession();
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  [[nodiscard]] bool Loaded() const { return plugin_ != nullptr; }
  [[nodiscard]] uint8_t Initialize(TestCore& core);
  void Unload();
  [[nodiscard]] const PluginCallbacks* Callbacks() const { return callbacks_; }
  [[nodiscard]] void* PluginPointer() const { return plugin_; }
  // The plugin object, for operations that plugin code calls.
  [[nodiscard]] BackendPlugin& Plugin() const;

 private:
  const PluginCallbacks* callbacks_ = nullptr;
  void* plugin_ = nullptr;
};

// A flat value owned by a test, built from a value tree, released on
// destruction.
class OwnedFlat {
 public:
  explicit OwnedFlat(const BindingProperty& value);
  OwnedFlat();
  ~OwnedFlat();
  OwnedFlat(const OwnedFlat&) = delete;
  OwnedFlat& operator=(const OwnedFlat&) = delete;
  [[nodiscard]] FlatValue& Get() { return value_; }

 private:
  FlatValue value_;
};

// A resource event payload {uri, eventType, data}.
[[nodiscard]] BindingProperty ResourceEventValue(const std::string& uri, const char* eventType,
                                                 int64_t data);
// A service-proxy payload with the six members.
[[nodiscard]] BindingProperty ServiceProxyValue(const std::string& uuid, const std::string& serviceName,
                                                const std::string& methodName, const std::string& payload);

}  // namespace testing_core
}  // namespace zun
