// Entering, finding, snapshotting and removing registry entries.
#include "binding/binding_context.h"

#include <utility>
#include <vector>

namespace zun {

namespace {

template <typename Map>
[[nodiscard]] auto FindEntry(const Map& map, std::string_view name)
    -> decltype(map.begin()->second.get()) {
  const auto found = map.find(name);
  return found == map.end() ? nullptr : found->second.get();
}

template <typename Entry, typename Map>
[[nodiscard]] BindingContext::Snapshot<Entry> CopyNames(const Map& map) {
  BindingContext::Snapshot<Entry> snapshot;
  snapshot.reserve(map.size());
  for (const auto& [name, entry] : map) {
    snapshot.emplace(name, entry.get());
  }
  return snapshot;
}

template <typename Entry>
[[nodiscard]] std::vector<std::string> NamesOf(const BindingContext::Snapshot<Entry>& snapshot) {
  std::vector<std::string> names;
  names.reserve(snapshot.size());
  for (const auto& [name, entry] : snapshot) {
    names.push_back(name);
  }
  return names;
}

}  // namespace

BindingContext::~BindingContext() { RemoveAll(); }

BindingTypeBuilder BindingContext::EnterType(std::string_view name, const StaticTypeId& identity,
                                             uint32_t size, bool isEnum) {
  auto type = std::make_unique<BindingTypeInfo>();
  type->size = size;
  type->isEnum = isEnum;
  type->name = name;
  type->identity = &identity;
  type->hash = identity.hash;
  type->context = this;

  std::lock_guard<std::mutex> guard(lock_);
  const auto [slot, created] = typesByName_.try_emplace(type->name);
  if (!created) {
    return BindingTypeBuilder(*this, *slot->second, /*skip=*/true);
  }
  slot->second = std::move(type);
  BindingTypeInfo& entered = *slot->second;
  if (!StaticType::IsVoid(identity)) {
    // The latest registration of a native type is the one found by identity.
    typesByHash_[entered.hash] = &entered;
  }
  return BindingTypeBuilder(*this, entered, /*skip=*/false);
}

BindingEventBuilder BindingContext::EnterEvent(std::string_view name,
                                               const StaticTypeId& payloadIdentity) {
  auto event = std::make_unique<BindingEvent>();
  event->name = name;
  event->payloadType = FindType(payloadIdentity);

  std::lock_guard<std::mutex> guard(lock_);
  const auto [slot, created] = events_.try_emplace(event->name);
  if (created) {
    slot->second = std::move(event);
  }
  return BindingEventBuilder(*slot->second, /*skip=*/!created);
}

const BindingFunction* BindingContext::RegisterFunction(std::unique_ptr<BindingFunction> function) {
  if (function == nullptr) {
    return nullptr;
  }
  function->context = this;
  std::lock_guard<std::mutex> guard(lock_);
  const auto [slot, created] = functions_.try_emplace(function->name);
  if (!created) {
    return nullptr;
  }
  slot->second = std::move(function);
  return slot->second.get();
}

const BindingTypeInfo* BindingContext::FindType(const StaticTypeId& identity) const {
  return FindTypeByHash(identity.hash);
}

const BindingTypeInfo* BindingContext::FindTypeByHash(uint32_t hash) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = typesByHash_.find(hash);
  return found == typesByHash_.end() ? nullptr : found->second;
}

const BindingTypeInfo* BindingContext::FindType(std::string_view name) const {
  std::lock_guard<std::mutex> guard(lock_);
  return FindEntry(typesByName_, name);
}

const BindingEvent* BindingContext::FindEvent(std::string_view name) const {
  std::lock_guard<std::mutex> guard(lock_);
  return FindEntry(events_, name);
}

const BindingFunction* BindingContext::FindFunction(std::string_view name) const {
  std::lock_guard<std::mutex> guard(lock_);
  return FindEntry(functions_, name);
}

BindingContext::Snapshot<BindingTypeInfo> BindingContext::SnapshotTypes() const {
  std::lock_guard<std::mutex> guard(lock_);
  return CopyNames<BindingTypeInfo>(typesByName_);
}

BindingContext::Snapshot<BindingEvent> BindingContext::SnapshotEvents() const {
  std::lock_guard<std::mutex> guard(lock_);
  return CopyNames<BindingEvent>(events_);
}

BindingContext::Snapshot<BindingFunction> BindingContext::SnapshotFunctions() const {
  std::lock_guard<std::mutex> guard(lock_);
  return CopyNames<BindingFunction>(functions_);
}

bool BindingContext::RemoveType(std::string_view name) {
  std::unique_ptr<BindingTypeInfo> removed;
  {
    std::lock_guard<std::mutex> guard(lock_);
    const auto found = typesByName_.find(name);
    if (found == typesByName_.end()) {
      return false;
    }
    removed = std::move(found->second);
    typesByName_.erase(found);
    // The identity slot may belong to a later registration of the same
    // native type under another name; that one stays findable.
    const auto slot = typesByHash_.find(removed->hash);
    if (slot != typesByHash_.end() && slot->second == removed.get()) {
      typesByHash_.erase(slot);
    }
  }
  return true;  // the type, its fields and their converters die here, unlocked
}

bool BindingContext::RemoveEvent(std::string_view name) {
  std::unique_ptr<BindingEvent> removed;
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = events_.find(name);
  if (found == events_.end()) {
    return false;
  }
  removed = std::move(found->second);
  events_.erase(found);
  return true;
}

bool BindingContext::RemoveFunction(std::string_view name) {
  std::unique_ptr<BindingFunction> removed;
  {
    std::lock_guard<std::mutex> guard(lock_);
    const auto found = functions_.find(name);
    if (found == functions_.end()) {
      return false;
    }
    removed = std::move(found->second);
    functions_.erase(found);
  }
  return true;  // the callable is destroyed outside the lock
}

void BindingContext::RemoveAll() {
  for (const std::string& name : NamesOf(SnapshotEvents())) {
    RemoveEvent(name);
  }
  for (const std::string& name : NamesOf(SnapshotTypes())) {
    RemoveType(name);
  }
  for (const std::string& name : NamesOf(SnapshotFunctions())) {
    RemoveFunction(name);
  }
}

}  // namespace zun
