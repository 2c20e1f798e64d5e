// Names, descriptions and tags of the builtin vocabulary, as every registry
// shows them.
#pragma once

namespace zun::builtin_texts {

inline constexpr char kTagBuiltin[] = "$builtin";
inline constexpr char kTagHelp[] = "help";
inline constexpr char kTagAsync[] = "async";

// Help types.
inline constexpr char kHelpFormatName[] = "BindingHelpFormat";
inline constexpr char kHelpFormatDescription[] = "Help format for binding functions and types.";
inline constexpr char kHelpFormatFull[] = "Full";
inline constexpr char kHelpFormatFullDescription[] = "Native help format";
inline constexpr char kHelpFormatEpytext[] = "Epytext";
inline constexpr char kHelpFormatEpytextDescription[] = "Python epytext format";

inline constexpr char kFullTypeIdentifierName[] = "BindingFullTypeIdentifier";
inline constexpr char kFullTypeIdentifierDescription[] = "Describes the type of a value.";
inline constexpr char kFullArgumentHelpName[] = "BindingFullArgumentHelp";
inline constexpr char kFullArgumentHelpDescription[] = "Describes a function parameter.";
inline constexpr char kFullFunctionHelpName[] = "BindingFullFunctionHelp";
inline constexpr char kFullFunctionHelpDescription[] = "Describes a function.";
inline constexpr char kFullEnumValueHelpName[] = "BindingFullEnumValueHelp";
inline constexpr char kFullEnumValueHelpDescription[] = "Describes an enumerator.";
inline constexpr char kFullFieldHelpName[] = "BindingFullFieldHelp";
inline constexpr char kFullFieldHelpDescription[] = "Describes a member of a struct.";
inline constexpr char kFullTypeHelpName[] = "BindingFullTypeHelp";
inline constexpr char kFullTypeHelpDescription[] = "Describes a struct or enum type.";
inline constexpr char kFullEventHelpName[] = "BindingFullEventHelp";
inline constexpr char kFullEventHelpDescription[] = "Describes an event.";
inline constexpr char kFullApiHelpName[] = "BindingFullApiHelp";
inline constexpr char kFullApiHelpDescription[] = "Describes the exposed native API.";

// Asynchronous operations and callbacks.
inline constexpr char kAsyncStateName[] = "BindingAsyncState";
inline constexpr char kAsyncStateDescription[] = "Possible states of an asynchronous operation.";
inline constexpr char kAsyncStateNone[] = "None";
inline constexpr char kAsyncStateNoneDescription[] = "Invalid state";
inline constexpr char kAsyncStateRunning[] = "Running";
inline constexpr char kAsyncStateRunningDescription[] = "The operation is in flight";
inline constexpr char kAsyncStateCancelling[] = "Cancelling";
inline constexpr char kAsyncStateCancellingDescription[] =
    "A request to cancel the operation has been made";
inline constexpr char kAsyncStateCancelled[] = "Cancelled";
inline constexpr char kAsyncStateCancelledDescription[] = "The operation was cancelled";
inline constexpr char kAsyncStateSucceeded[] = "Succeeded";
inline constexpr char kAsyncStateSucceededDescription[] = "The operation completed successfully";
inline constexpr char kAsyncStateFailed[] = "Failed";
inline constexpr char kAsyncStateFailedDescription[] = "The operation encountered an error";

inline constexpr char kGenericEventName[] = "BindingGenericEvent";
inline constexpr char kGenericEventDescription[] = "Represents generic data for an event.";
inline constexpr char kCallbackEventName[] = "BindingCallbackEvent";
inline constexpr char kCallbackEventDescription[] =
    "Represents the parameters of a call to a provided callback.";
inline constexpr char kGenericAsyncEventName[] = "BindingGenericAsyncEvent";
inline constexpr char kGenericAsyncEventDescription[] =
    "Represents generic data for an asynchronous event.";
inline constexpr char kAsyncFailureEventName[] = "BindingAsyncFailureEvent";
inline constexpr char kAsyncFailureEventDescription[] =
    "Represents a failed asynchronous operation.";
inline constexpr char kAsyncCancelEventName[] = "BindingAsyncCancelEvent";
inline constexpr char kAsyncCancelEventDescription[] =
    "Represents a cancelled asynchronous operation.";

inline constexpr char kEventDataDescription[] = "Event data";
inline constexpr char kCallbackIdDescription[] = "ID of the callback being invoked";
inline constexpr char kCallbackParametersDescription[] = "Callback parameters";
inline constexpr char kAsyncTokenDescription[] = "Asynchronous operation token";
inline constexpr char kErrorMessageDescription[] = "Error message";

inline constexpr char kOnCallbackName[] = "OnCallback";
inline constexpr char kOnCallbackDescription[] = "Fired when a callback is invoked.";

}  // namespace zun::builtin_texts
