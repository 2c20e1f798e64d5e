// Texts the plugin host boundary writes to the log, to reports, to the debug
// trace hook and into error results.
#pragma once

namespace zun::messages {

// Load.
inline constexpr const char* kPluginManagerLine = "            Plugin Manager| %s";
inline constexpr const char* kUnknownPluginType =
    "GetFullNameFromShortNameAndType(\"%1\", \"%2\") called with an unknown type";
inline constexpr const char* kIncompatibleCore =
    "%1 which supports plugin API %2 is not compatible with core's plugin API %3";
inline constexpr const char* kIncompatibleCoreAssertion = "ALE-EECF0606";

// Flat values.
inline constexpr const char* kFlatIncompatibleKind =
    "Couldn't assign value to '%1' of type object because the input is of an incompatible type '%2'.";
inline constexpr const char* kFlatNullEntries =
    "Couldn't assign value to '%1' because the input %2 has %3 entries at a null address.";
inline constexpr const char* kFlatTooManyEntries =
    "Couldn't assign value to '%1' because the input %2 claims more entries (%3) than memory can hold.";
inline constexpr const char* kFlatTooDeep =
    "Couldn't assign value to '%1' because the input is nested deeper than %2 levels.";
inline constexpr const char* kFlatUnnamedField =
    "Couldn't assign value to '%1' because a field of the input structure has no name.";

// Log target.
inline constexpr const char* kPluginLogTargetName = "PluginLogTarget";

// Core events (debug trace hook).
inline constexpr const char* kTraceSubscribing = "Subscribing to event: %s";
inline constexpr const char* kTraceUnsubscribing = "Unsubscribing to event: %s";
inline constexpr const char* kTraceUnbalancedUnsubscribe = "Unsubscribing without a subscription: %s";
inline constexpr const char* kTraceConvertPayload = "Couldn't convert payload %s for event %s: %s";
inline constexpr const char* kTraceHandlingEvent = "Handling event %s";

// Service proxy.
inline constexpr const char* kServiceProxyMethodKey = "%1.%2";
inline constexpr const char* kNoAsyncHandler = "Could not find registered handler for async service proxy event %s";
inline constexpr const char* kFulfilledRequest = "Fulfilled service proxy request: %s";

// Outgoing requests and telemetry.
inline constexpr const char* kRequestSuccess = "Success";
inline constexpr const char* kRequestErrorText = "%1 (%2)";
inline constexpr const char* kRequestNotSent = "Request not sent: Error converting parameters for %1 %2: %3";
inline constexpr const char* kErrorResponse = "Error response for %1 %2: %3";
inline constexpr const char* kTelemetryPathPrefix = "/telemetry/v1/events/";
inline constexpr const char* kUserAgent = "OrvoClient/%1 (%2)";

}  // namespace zun::messages
