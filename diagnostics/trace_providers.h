// The library's event-tracing providers: registered with the system tracing
// service while the library loads, unregistered when it unloads. A tracing
// controller turns their events on and off through TraceEnableCallback.
// Without the tracing service every operation here does nothing.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/event_tracing.h"

namespace zun {

struct TraceEventInfo {
  uint8_t level;
  uint64_t keyword;
};

inline constexpr size_t kMaxTraceEventsPerProvider = 32;  // one word of enable bits

// One provider's identity, handle and the enable state the service last
// announced. The service's thread writes the state without a lock; readers
// test single bits.
class TraceProvider {
 public:
  TraceProvider(const platform::TraceGuid& guid, const TraceEventInfo* events, size_t eventCount);
  TraceProvider(const TraceProvider&) = delete;
  TraceProvider& operator=(const TraceProvider&) = delete;

  [[nodiscard]] const platform::TraceGuid& Guid() const { return guid_; }
  [[nodiscard]] platform::TraceRegistrationHandle Handle() const { return handle_; }
  [[nodiscard]] platform::TraceRegistrationHandle* HandleSlot() { return &handle_; }
  [[nodiscard]] size_t EventCount() const { return eventCount_; }

  [[nodiscard]] bool IsEnabled() const { return enabled_.load(std::memory_order_relaxed); }
  [[nodiscard]] uint8_t Level() const { return level_.load(std::memory_order_relaxed); }
  [[nodiscard]] uint64_t MatchAnyKeyword() const { return matchAny_.load(std::memory_order_relaxed); }
  [[nodiscard]] uint64_t MatchAllKeyword() const { return matchAll_.load(std::memory_order_relaxed); }
  [[nodiscard]] bool IsEventEnabled(size_t event) const;

  // What the service announces: enable (1), disable (0); other codes are ignored.
  void ApplyControl(uint32_t controlCode, uint8_t level, uint64_t matchAny, uint64_t matchAll);

 private:
  [[nodiscard]] bool EventPasses(const TraceEventInfo& event) const;

  platform::TraceGuid guid_;
  const TraceEventInfo* events_;
  size_t eventCount_;
  platform::TraceRegistrationHandle handle_ = 0;
  std::atomic<bool> enabled_{false};
  std::atomic<uint8_t> level_{0};
  std::atomic<uint64_t> matchAny_{0};
  std::atomic<uint64_t> matchAll_{0};
  std::atomic<uint32_t> enableBits_{0};
};

// The callback registered for every provider; `context` is its TraceProvider.
void TraceEnableCallback(const platform::TraceGuid* source, uint32_t controlCode, uint8_t level,
                         uint64_t matchAnyKeyword, uint64_t matchAllKeyword, void* filterData,
                         void* context);

inline constexpr size_t kTraceProviderCount = 4;
inline constexpr size_t kThreadNameProvider = 1;  // the second provider
inline constexpr size_t kThreadNameEvent = 0;
inline constexpr const char* kMainThreadName = "Main thread";

// The thread-name event: a 4-byte thread identifier and the name with its
// NUL ("NULL" when no name is given). Nothing happens without a write entry.
void WriteThreadNameEvent(const platform::EventTracingEntryPoints& service,
                          platform::TraceRegistrationHandle handle, uint32_t threadId, const char* name);

// The four providers over one tracing service.
class TraceProviderSet {
 public:
  explicit TraceProviderSet(const platform::EventTracingEntryPoints& service);
  TraceProviderSet(const TraceProviderSet&) = delete;
  TraceProviderSet& operator=(const TraceProviderSet&) = delete;
  ~TraceProviderSet();

  // Registers each provider whose handle is 0, in order; then, when the
  // controller has already enabled the thread-name event, names the calling
  // thread "Main thread".
  void RegisterAll();
  // Unregisters each provider with a handle and sets the handle to 0.
  void UnregisterAll();

  void WriteThreadName(uint32_t threadId, const char* name);

  [[nodiscard]] TraceProvider& Provider(size_t index) { return *providers_[index]; }

 private:
  platform::EventTracingEntryPoints service_;
  TraceProvider provider1_;
  TraceProvider provider2_;
  TraceProvider provider3_;
  TraceProvider provider4_;
  TraceProvider* providers_[kTraceProviderCount];
};

// The set registered while the library loads and unregistered when it unloads.
[[nodiscard]] TraceProviderSet& ProcessTraceProviders();
void RegisterTraceProviders();

}  // namespace zun
