// The registry: records, enumerations, events and functions by name, and
// records and enumerations by native identity.
//
// Locking is taken care of in this class: one plain mutex guards the four
// maps and is held only for the map operation itself. Registration steps that
// fill in a type (fields, enumerators, description, tags) run without it:
// registration is done from one thread before the registry is read
// concurrently. Entries are never changed afterwards, so the references that
// lookups return stay valid until the entry is removed or the context dies.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "binding/binding_event.h"
#include "binding/binding_event_builder.h"
#include "binding/binding_function.h"
#include "binding/binding_type_builder.h"
#include "binding/binding_type_info.h"
#include "binding/static_type.h"

namespace zun {

class BindingContext {
 public:
  template <typename Entry>
  using Snapshot = std::unordered_map<std::string, const Entry*>;

  BindingContext() = default;
  BindingContext(const BindingContext&) = delete;
  BindingContext& operator=(const BindingContext&) = delete;
  // Removes every event, type and function.
  virtual ~BindingContext();

  // Registers the record or enumeration T under `name`. When the name is
  // taken, the builder refers to the existing type and skips every step.
  // Registered under the identity of void, a type is found by name only.
  template <typename T>
  [[nodiscard]] BindingTypeBuilder RegisterType(std::string_view name) {
    uint32_t size = 0;
    if constexpr (!std::is_void_v<T>) {
      size = static_cast<uint32_t>(sizeof(T));
    }
    return EnterType(name, StaticType::Get<T>(), size, std::is_enum_v<T>);
  }

  // Registers an event whose payload is the record Payload, which must be
  // registered already (otherwise the event's payloadType stays null). When
  // the name is taken, the builder refers to the existing event and skips.
  template <typename Payload>
  [[nodiscard]] BindingEventBuilder RegisterEvent(std::string_view name) {
    return EnterEvent(name, StaticType::Get<Payload>());
  }

  // Takes ownership of a function and enters it under its name. Returns the
  // entered function, or null when the name is taken: the first function
  // stays and `function` is destroyed.
  [[nodiscard]] const BindingFunction* RegisterFunction(std::unique_ptr<BindingFunction> function);

  [[nodiscard]] const BindingTypeInfo* FindType(const StaticTypeId& identity) const;
  [[nodiscard]] const BindingTypeInfo* FindTypeByHash(uint32_t hash) const;
  [[nodiscard]] const BindingTypeInfo* FindType(std::string_view name) const;
  [[nodiscard]] const BindingEvent* FindEvent(std::string_view name) const;
  [[nodiscard]] const BindingFunction* FindFunction(std::string_view name) const;

  template <typename T>
  [[nodiscard]] const BindingTypeInfo* FindType() const {
    return FindType(StaticType::Get<T>());
  }

  // Copies of the maps from name to entry, to be iterated without the lock.
  [[nodiscard]] Snapshot<BindingTypeInfo> SnapshotTypes() const;
  [[nodiscard]] Snapshot<BindingEvent> SnapshotEvents() const;
  [[nodiscard]] Snapshot<BindingFunction> SnapshotFunctions() const;

  // Each destroys the entry and answers whether there was one. References to
  // the removed entry become invalid: removal belongs to (re)initialisation
  // and teardown, not to the time when the registry is being read.
  bool RemoveType(std::string_view name);
  bool RemoveEvent(std::string_view name);
  bool RemoveFunction(std::string_view name);

  // Removes all events, then all types, then all functions.
  void RemoveAll();

  // Set once the builtin entries are registered.
  [[nodiscard]] bool initialised() const { return initialised_.load(std::memory_order_acquire); }
  void set_initialised(bool value) { initialised_.store(value, std::memory_order_release); }

 private:
  struct NameHash {
    using is_transparent = void;
    [[nodiscard]] size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  template <typename Entry>
  using OwningMap = std::unordered_map<std::string, std::unique_ptr<Entry>, NameHash, std::equal_to<>>;

  [[nodiscard]] BindingTypeBuilder EnterType(std::string_view name, const StaticTypeId& identity,
                                             uint32_t size, bool isEnum);
  [[nodiscard]] BindingEventBuilder EnterEvent(std::string_view name,
                                               const StaticTypeId& payloadIdentity);

  mutable std::mutex lock_;
  OwningMap<BindingFunction> functions_;
  OwningMap<BindingEvent> events_;
  OwningMap<BindingTypeInfo> typesByName_;
  std::unordered_map<uint32_t, BindingTypeInfo*> typesByHash_;
  std::atomic<bool> initialised_{false};
};

}  // namespace zun
