// Registration of the asynchronous-operation and callback types, and their
// native layout on the 32-bit target (a BindingProperty is 16 bytes with
// 8-byte alignment, a string 24, a vector 12).
#include "builtins/async_types.h"

#include <cstddef>

#include "binding/binding_context.h"
#include "builtins/builtin_texts.h"

namespace zun {

#if defined(__i386__)
static_assert(sizeof(BindingAsyncState::Type) == 4);
static_assert(sizeof(BindingGenericEvent) == 16);
static_assert(sizeof(BindingCallbackEvent) == 16);
static_assert(offsetof(BindingCallbackEvent, parameters) == 4);
static_assert(sizeof(BindingGenericAsyncEvent) == 24);
static_assert(offsetof(BindingGenericAsyncEvent, data) == 8);
static_assert(sizeof(BindingAsyncFailureEvent) == 28);
static_assert(offsetof(BindingAsyncFailureEvent, error) == 4);
static_assert(sizeof(BindingAsyncCancelEvent) == 4);
#endif

namespace {

using namespace builtin_texts;

void RegisterAsyncState(BindingContext& context) {
  using State = BindingAsyncState;
  context.RegisterType<State::Type>(kAsyncStateName)
      .Description(kAsyncStateDescription)
      .Tags({kTagBuiltin, kTagAsync})
      .Value(kAsyncStateNone, State::None, kAsyncStateNoneDescription)
      .Value(kAsyncStateRunning, State::Running, kAsyncStateRunningDescription)
      .Value(kAsyncStateCancelling, State::Cancelling, kAsyncStateCancellingDescription)
      .Value(kAsyncStateCancelled, State::Cancelled, kAsyncStateCancelledDescription)
      .Value(kAsyncStateSucceeded, State::Succeeded, kAsyncStateSucceededDescription)
      .Value(kAsyncStateFailed, State::Failed, kAsyncStateFailedDescription);
}

void RegisterCallbackRecords(BindingContext& context) {
  context.RegisterType<BindingGenericEvent>(kGenericEventName)
      .Description(kGenericEventDescription)
      .Tag(kTagBuiltin)
      .Field("data", &BindingGenericEvent::data, kEventDataDescription);

  context.RegisterType<BindingCallbackEvent>(kCallbackEventName)
      .Description(kCallbackEventDescription)
      .Tag(kTagBuiltin)
      .Field("id", &BindingCallbackEvent::id, kCallbackIdDescription)
      .Field("parameters", &BindingCallbackEvent::parameters, kCallbackParametersDescription);
}

void RegisterAsyncRecords(BindingContext& context) {
  context.RegisterType<BindingGenericAsyncEvent>(kGenericAsyncEventName)
      .Description(kGenericAsyncEventDescription)
      .Tags({kTagBuiltin, kTagAsync})
      .Field("asyncToken", &BindingGenericAsyncEvent::asyncToken, kAsyncTokenDescription)
      .Field("data", &BindingGenericAsyncEvent::data, kEventDataDescription);

  context.RegisterType<BindingAsyncFailureEvent>(kAsyncFailureEventName)
      .Description(kAsyncFailureEventDescription)
      .Tags({kTagBuiltin, kTagAsync})
      .Field("asyncToken", &BindingAsyncFailureEvent::asyncToken, kAsyncTokenDescription)
      .Field("error", &BindingAsyncFailureEvent::error, kErrorMessageDescription);

  context.RegisterType<BindingAsyncCancelEvent>(kAsyncCancelEventName)
      .Description(kAsyncCancelEventDescription)
      .Tags({kTagBuiltin, kTagAsync})
      .Field("asyncToken", &BindingAsyncCancelEvent::asyncToken, kAsyncTokenDescription);
}

}  // namespace

void RegisterAsyncTypes(BindingContext& context) {
  RegisterAsyncState(context);
  RegisterCallbackRecords(context);
  RegisterAsyncRecords(context);
}

}  // namespace zun
