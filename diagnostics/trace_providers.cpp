// Provider registration, enable state and the thread-name event.
#include "diagnostics/trace_providers.h"

#include <cstring>

#include "platform/process.h"

namespace zun {

namespace {

using platform::TraceGuid;

constexpr TraceGuid kProvider1Guid = {0x2F9EFE86, 0x4AF7, 0x4F37, {0xA4, 0x0F, 0x94, 0xB9, 0x09, 0xA1, 0x57, 0xD6}};
constexpr TraceGuid kProvider2Guid = {0xEA08C559, 0x95A8, 0x4AA2, {0xAF, 0xA6, 0x18, 0x73, 0x8E, 0xEC, 0x6D, 0x37}};
constexpr TraceGuid kProvider3Guid = {0x10F6728C, 0xEF92, 0x4BF1, {0x83, 0x97, 0x49, 0xE6, 0x93, 0xA6, 0xEB, 0x74}};
constexpr TraceGuid kProvider4Guid = {0x46DD7F96, 0x60CB, 0x416B, {0x80, 0x85, 0xDA, 0x5C, 0xD8, 0xF4, 0x91, 0xDD}};

constexpr TraceEventInfo kProvider1Events[] = {{0, 0x1}};
constexpr TraceEventInfo kProvider2Events[] = {{0, 0x1}};  // the thread-name event
constexpr TraceEventInfo kProvider3Events[] = {{0, 0x0}};
constexpr TraceEventInfo kProvider4Events[] = {{0, 0x1}, {0, 0x2}};

constexpr platform::TraceEventDescriptor kThreadNameDescriptor = {
    /*id=*/103, /*version=*/0, /*channel=*/0, /*level=*/0, /*opcode=*/14, /*task=*/2, /*keyword=*/0x1};

constexpr const char* kNoThreadName = "NULL";

uint64_t AddressOf(const void* bytes) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(bytes)); }

}  // namespace

TraceProvider::TraceProvider(const TraceGuid& guid, const TraceEventInfo* events, size_t eventCount)
    : guid_(guid), events_(events), eventCount_(eventCount < kMaxTraceEventsPerProvider ? eventCount : kMaxTraceEventsPerProvider) {}

bool TraceProvider::IsEventEnabled(size_t event) const {
  if (event >= eventCount_) return false;
  return (enableBits_.load(std::memory_order_relaxed) & (uint32_t{1} << event)) != 0;
}

bool TraceProvider::EventPasses(const TraceEventInfo& event) const {
  const uint8_t level = Level();
  const bool levelPasses = level == 0 || event.level <= level;
  const uint64_t matchAll = MatchAllKeyword();
  const bool keywordPasses = event.keyword == 0 || ((event.keyword & MatchAnyKeyword()) != 0 &&
                                                    (event.keyword & matchAll) == matchAll);
  return levelPasses && keywordPasses;
}

void TraceProvider::ApplyControl(uint32_t controlCode, uint8_t level, uint64_t matchAny, uint64_t matchAll) {
  if (controlCode == platform::kTraceControlEnable) {
    level_.store(level, std::memory_order_relaxed);
    matchAny_.store(matchAny, std::memory_order_relaxed);
    matchAll_.store(matchAll, std::memory_order_relaxed);
    enabled_.store(true, std::memory_order_relaxed);
    uint32_t bits = 0;
    for (size_t i = 0; i < eventCount_; ++i) {
      if (EventPasses(events_[i])) bits |= uint32_t{1} << i;
    }
    enableBits_.store(bits, std::memory_order_relaxed);
  } else if (controlCode == platform::kTraceControlDisable) {
    enabled_.store(false, std::memory_order_relaxed);
    level_.store(0, std::memory_order_relaxed);
    matchAny_.store(0, std::memory_order_relaxed);
    matchAll_.store(0, std::memory_order_relaxed);
    enableBits_.store(0, std::memory_order_relaxed);
  }
}

void TraceEnableCallback(const TraceGuid*, uint32_t controlCode, uint8_t level, uint64_t matchAnyKeyword,
                         uint64_t matchAllKeyword, void*, void* context) {
  if (context == nullptr) return;
  static_cast<TraceProvider*>(context)->ApplyControl(controlCode, level, matchAnyKeyword, matchAllKeyword);
}

void WriteThreadNameEvent(const platform::EventTracingEntryPoints& service,
                          platform::TraceRegistrationHandle handle, uint32_t threadId, const char* name) {
  if (service.event_write == nullptr) return;
  const char* text = name != nullptr ? name : kNoThreadName;
  platform::TraceDataDescriptor data[2] = {};
  data[0].pointer = AddressOf(&threadId);
  data[0].size = sizeof(threadId);
  data[1].pointer = AddressOf(text);
  data[1].size = static_cast<uint32_t>(std::strlen(text) + 1);
  service.event_write(handle, &kThreadNameDescriptor, 2, data);
}

TraceProviderSet::TraceProviderSet(const platform::EventTracingEntryPoints& service)
    : service_(service),
      provider1_(kProvider1Guid, kProvider1Events, std::size(kProvider1Events)),
      provider2_(kProvider2Guid, kProvider2Events, std::size(kProvider2Events)),
      provider3_(kProvider3Guid, kProvider3Events, std::size(kProvider3Events)),
      provider4_(kProvider4Guid, kProvider4Events, std::size(kProvider4Events)),
      providers_{&provider1_, &provider2_, &provider3_, &provider4_} {}

TraceProviderSet::~TraceProviderSet() { UnregisterAll(); }

void TraceProviderSet::RegisterAll() {
  if (service_.event_register == nullptr) return;
  const bool threadNameWasRegistered = Provider(kThreadNameProvider).Handle() != 0;
  for (TraceProvider* provider : providers_) {
    if (provider->Handle() != 0) continue;
    service_.event_register(&provider->Guid(), TraceEnableCallback, provider, provider->HandleSlot());
  }
  // Named once, by the registration that a waiting controller answered.
  if (!threadNameWasRegistered && Provider(kThreadNameProvider).IsEventEnabled(kThreadNameEvent)) {
    WriteThreadName(platform::CurrentThreadId(), kMainThreadName);
  }
}

void TraceProviderSet::UnregisterAll() {
  for (TraceProvider* provider : providers_) {
    if (provider->Handle() == 0) continue;
    if (service_.event_unregister != nullptr) service_.event_unregister(provider->Handle());
    *provider->HandleSlot() = 0;
  }
}

void TraceProviderSet::WriteThreadName(uint32_t threadId, const char* name) {
  WriteThreadNameEvent(service_, Provider(kThreadNameProvider).Handle(), threadId, name);
}

TraceProviderSet& ProcessTraceProviders() {
  static TraceProviderSet providers{platform::LoadEventTracing()};
  return providers;
}

void RegisterTraceProviders() { ProcessTraceProviders().RegisterAll(); }

namespace {

// Registration rides on the library's static initialisation; the providers
// leave the tracing service with its static destruction.
struct LoadTimeRegistration {
  LoadTimeRegistration() { RegisterTraceProviders(); }
  ~LoadTimeRegistration() { ProcessTraceProviders().UnregisterAll(); }
};

LoadTimeRegistration loadTimeRegistration;

}  // namespace

}  // namespace zun
