// The in-process test core and the plugin session that loads through the
// module's entry.
#include "tests/support/test_core.h"

#include <cstring>
#include <utility>

#include "binding/binding_property.h"
#include "diagnostics/framework_allocator.h"
#include "plugin/backend_plugin.h"
#include "plugin/flat_value_conversion.h"

namespace zun::testing_core {

std::atomic<int> TestCore::releasedResponses_{0};

namespace {
CoreCall MakeCall(CallKind kind, const CoreFunctions* self) {
  CoreCall call;
  call.kind = kind;
  call.self = self;
  return call;
}
}  // namespace

RecordedFlat RecordFlat(const FlatValue& value) {
  RecordedFlat recorded;
  recorded.kind = value.kind;
  const FlatSpan span = value.payload.span;
  switch (static_cast<FlatKind>(value.kind)) {
    case FlatKind::Bool:
      recorded.boolValue = value.payload.boolean != 0;
      break;
    case FlatKind::Signed:
      recorded.signedValue = value.payload.signedValue;
      break;
    case FlatKind::Unsigned:
      recorded.unsignedValue = value.payload.unsignedValue;
      break;
    case FlatKind::Float:
      recorded.floatValue = value.payload.floatValue;
      break;
    case FlatKind::BorrowedString:
    case FlatKind::OwnedString:
    case FlatKind::BorrowedBlob:
    case FlatKind::OwnedBlob:
      if (span.data != nullptr) recorded.text.assign(static_cast<const char*>(span.data), span.count);
      break;
    case FlatKind::Collection:
      for (uint32_t i = 0; i < span.count; ++i) {
        recorded.children.push_back(RecordFlat(static_cast<const FlatValue*>(span.data)[i]));
      }
      break;
    case FlatKind::Structure:
      for (uint32_t i = 0; i < span.count; ++i) {
        const FlatField& field = static_cast<const FlatField*>(span.data)[i];
        const char* name = field.name;
        recorded.names.emplace_back(name == nullptr ? "" : name);
        recorded.ownsNames.push_back(field.ownsName);
        recorded.children.push_back(RecordFlat(field.value));
      }
      break;
    default:
      break;
  }
  return recorded;
}

TestCore::TestCore(uintptr_t coreContext)
    : table_{{SendRequestEntry, Slot1Entry, Slot2Entry, SubscribeEntry, UnsubscribeEntry, Slot5Entry, Slot6Entry,
              Slot7Entry, Slot8Entry, LogEntry},
             this},
      interface_{&table_.functions, coreContext} {}

TestCore& TestCore::Of(const CoreFunctions* self) { return *reinterpret_cast<const Table*>(self)->owner; }

void TestCore::Record(CoreCall call) {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.push_back(std::move(call));
}

std::vector<CoreCall> TestCore::Calls() const {
  std::lock_guard<std::mutex> guard(lock_);
  return calls_;
}

std::vector<CoreCall> TestCore::Calls(CallKind kind) const {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<CoreCall> selected;
  for (const CoreCall& call : calls_) {
    if (call.kind == kind) selected.push_back(call);
  }
  return selected;
}

std::vector<std::string> TestCore::LogTexts() const {
  std::vector<std::string> texts;
  for (const CoreCall& call : Calls(CallKind::Log)) texts.push_back(call.name);
  return texts;
}

void TestCore::ClearCalls() {
  std::lock_guard<std::mutex> guard(lock_);
  calls_.clear();
}

void TestCore::ScriptResponse(ScriptedResponse response) {
  std::lock_guard<std::mutex> guard(lock_);
  script_.push_back(std::move(response));
}

std::vector<std::string> TestCore::SubscribedNames() const {
  std::lock_guard<std::mutex> guard(lock_);
  std::vector<std::string> names;
  for (const auto& entry : subscriptions_) names.push_back(entry.first);
  return names;
}

bool TestCore::IsSubscribed(const std::string& name) const {
  std::lock_guard<std::mutex> guard(lock_);
  return subscriptions_.count(name) != 0;
}

bool TestCore::Deliver(const std::string& name, const FlatValue& payload) {
  Subscription subscription{};
  {
    std::lock_guard<std::mutex> guard(lock_);
    const auto found = subscriptions_.find(name);
    if (found == subscriptions_.end()) return false;
    subscription = found->second;
  }
  CoreEvent event;
  std::memset(&event, 0, sizeof(event));
  event.eventName = name.c_str();
  event.payload = payload;
  event.unread = 0xBAD;
  event.deliveryContext = subscription.deliveryContext;
  subscription.deliver(&event);
  return true;
}

void TestCore::SendRequestEntry(const CoreFunctions* self, ResponseRecord* response, IncomingRequest* request) {
  TestCore& core = Of(self);
  CoreCall call = MakeCall(CallKind::SendRequest, self);
  call.method = request->method;
  call.path = request->path == nullptr ? "" : request->path;
  call.requestContext = request->requestContext;
  const auto* bytes = reinterpret_cast<const unsigned char*>(response);
  call.responseWasZeroed = true;
  for (size_t i = 0; i < sizeof(ResponseRecord); ++i) call.responseWasZeroed &= bytes[i] == 0;
  for (uint32_t i = 0; i < request->directArgumentCount; ++i) {
    const DirectArgument& argument = request->directArguments[i];
    const char* name = argument.name;
    call.argumentNames.push_back(name == nullptr ? std::nullopt : std::optional<std::string>(name));
    call.arguments.push_back(RecordFlat(argument.value));
  }
  ScriptedResponse answer;
  {
    std::lock_guard<std::mutex> guard(core.lock_);
    if (!core.script_.empty()) {
      answer = core.script_.front();
      core.script_.pop_front();
    }
  }
  core.Record(std::move(call));
  response->statusCode = answer.status;
  response->text = "";
  if (answer.errorText.has_value()) {
    response->errorText = FrameworkAllocator::DuplicateText(answer.errorText->c_str());
    response->errorFlag = 1;
  }
  response->release = ReleaseResponse;
}

void TestCore::ReleaseResponse(ResponseRecord* response) {
  ReleaseFlatValue(response->result);
  FrameworkAllocator::Free(response->errorText);
  std::memset(static_cast<void*>(response), 0, sizeof(ResponseRecord));
  releasedResponses_.fetch_add(1);
}

uintptr_t TestCore::Slot1Entry(const CoreFunctions* self, uintptr_t first, uintptr_t second) {
  CoreCall call = MakeCall(CallKind::Slot1, self);
  call.words = {first, second};
  Of(self).Record(std::move(call));
  return kSlotAnswer + 1;
}

uintptr_t TestCore::Slot2Entry(const CoreFunctions* self, uintptr_t word) {
  CoreCall call = MakeCall(CallKind::Slot2, self);
  call.words = {word};
  Of(self).Record(std::move(call));
  return kSlotAnswer + 2;
}

void TestCore::SubscribeEntry(const CoreFunctions* self, const char* name, uintptr_t coreContext,
                              CoreEventDelivery deliver, void* deliveryContext, uint32_t flag) {
  TestCore& core = Of(self);
  CoreCall call = MakeCall(CallKind::SubscribeEvent, self);
  call.name = name;
  call.coreContext = coreContext;
  call.deliver = deliver;
  call.deliveryContext = deliveryContext;
  call.flag = flag;
  {
    std::lock_guard<std::mutex> guard(core.lock_);
    core.subscriptions_[name] = Subscription{deliver, deliveryContext};
  }
  core.Record(std::move(call));
}

void TestCore::UnsubscribeEntry(const CoreFunctions* self, const char* name, uintptr_t coreContext) {
  TestCore& core = Of(self);
  CoreCall call = MakeCall(CallKind::UnsubscribeEvent, self);
  call.name = name;
  call.coreContext = coreContext;
  {
    std::lock_guard<std::mutex> guard(core.lock_);
    core.subscriptions_.erase(name);
  }
  core.Record(std::move(call));
}

uintptr_t TestCore::Slot5Entry(const CoreFunctions* self, uintptr_t first, uintptr_t second, uintptr_t third,
                               double real, uintptr_t fourth) {
  CoreCall call = MakeCall(CallKind::Slot5, self);
  call.words = {first, second, third, fourth};
  call.real = real;
  Of(self).Record(std::move(call));
  return kSlotAnswer + 5;
}

uintptr_t TestCore::Slot6Entry(const CoreFunctions* self) {
  Of(self).Record(MakeCall(CallKind::Slot6, self));
  return kSlotAnswer + 6;
}

uintptr_t TestCore::Slot7Entry(const CoreFunctions* self, const char* text, uintptr_t word) {
  CoreCall call = MakeCall(CallKind::Slot7, self);
  call.name = text;
  call.words = {word};
  Of(self).Record(std::move(call));
  return kSlotAnswer + 7;
}

uintptr_t TestCore::Slot8Entry(const CoreFunctions* self) {
  Of(self).Record(MakeCall(CallKind::Slot8, self));
  return kSlotAnswer + 8;
}

void TestCore::LogEntry(const CoreFunctions* self, int32_t level, const char* text) {
  CoreCall call = MakeCall(CallKind::Log, self);
  call.level = level;
  call.name = text;
  Of(self).Record(std::move(call));
}

PluginSession::PluginSession() {
  PluginHandshake handshake{18, 0, 0, nullptr, nullptr, nullptr, nullptr};
  load_zun_parties(&handshake);
  callbacks_ = handshake.callbacks;
  plugin_ = handshake.plugin;
}

PluginSession::~PluginSession() { Unload(); }

uint8_t PluginSession::Initialize(TestCore& core) { return callbacks_->Initialize(plugin_, core.Interface()); }

void PluginSession::Unload() {
  if (plugin_ == nullptr) return;
  callbacks_->Unload(plugin_);
  plugin_ = nullptr;
}

BackendPlugin& PluginSession::Plugin() const { return *static_cast<BackendPlugin*>(plugin_); }

OwnedFlat::OwnedFlat() : value_(EmptyFlatValue()) {}

OwnedFlat::OwnedFlat(const BindingProperty& value) : value_(EmptyFlatValue()) {
  ValueToFlat(value_, value, nullptr);
}

OwnedFlat::~OwnedFlat() { ReleaseFlatValue(value_); }

BindingProperty ResourceEventValue(const std::string& uri, const char* eventType, int64_t data) {
  BindingProperty value;
  value.Member("uri").SetString(uri);
  value.Member("eventType").SetString(eventType);
  value.Member("data").Member("id").SetSigned(data);
  return value;
}

BindingProperty ServiceProxyValue(const std::string& uuid, const std::string& serviceName,
                                  const std::string& methodName, const std::string& payload) {
  BindingProperty value;
  value.Member("uuid").SetString(uuid);
  value.Member("serviceName").SetString(serviceName);
  value.Member("methodName").SetString(methodName);
  value.Member("payload").SetString(payload);
  value.Member("status").SetString("200");
  value.Member("error").SetString("");
  return value;
}

}  // namespace zun::testing_core
