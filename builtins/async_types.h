// The states of asynchronous operations, and the records with which
// asynchronous operations and callbacks report to clients.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "binding/binding_property.h"
#include "binding/static_type.h"

namespace zun {

class BindingContext;

struct BindingAsyncState {
  enum Type : int32_t {
    None = 0,  // invalid
    Running = 1,
    Cancelling = 2,  // a request to cancel has been made
    Cancelled = 3,
    Succeeded = 4,
    Failed = 5,
  };
};

struct BindingGenericEvent {
  BindingProperty data;
};

struct BindingCallbackEvent {
  uint32_t id = 0;
  std::vector<BindingProperty> parameters;
};

struct BindingGenericAsyncEvent {
  uint32_t asyncToken = 0;
  BindingProperty data;
};

struct BindingAsyncFailureEvent {
  uint32_t asyncToken = 0;
  std::string error;
};

struct BindingAsyncCancelEvent {
  uint32_t asyncToken = 0;
};

// Registers "BindingAsyncState" and the five event records, in that order.
void RegisterAsyncTypes(BindingContext& context);

template <>
struct StaticTypeName<BindingAsyncState::Type>
    : StaticTypeSpelledAs<spelling::kBindingAsyncStateType> {};
template <>
struct StaticTypeName<BindingGenericEvent> : StaticTypeSpelledAs<spelling::kBindingGenericEvent> {};
template <>
struct StaticTypeName<BindingCallbackEvent>
    : StaticTypeSpelledAs<spelling::kBindingCallbackEvent> {};
template <>
struct StaticTypeName<BindingGenericAsyncEvent>
    : StaticTypeSpelledAs<spelling::kBindingGenericAsyncEvent> {};
template <>
struct StaticTypeName<BindingAsyncFailureEvent>
    : StaticTypeSpelledAs<spelling::kBindingAsyncFailureEvent> {};
template <>
struct StaticTypeName<BindingAsyncCancelEvent>
    : StaticTypeSpelledAs<spelling::kBindingAsyncCancelEvent> {};

}  // namespace zun
