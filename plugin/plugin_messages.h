// Texts the plugin host boundary writes to the log and to reports.
#pragma once

namespace zun::messages {

inline constexpr const char* kPluginManagerLine = "            Plugin Manager| %s";
inline constexpr const char* kUnknownPluginType =
    "GetFullNameFromShortNameAndType(\"%1\", \"%2\") called with an unknown type";
inline constexpr const char* kIncompatibleCore =
    "%1 which supports plugin API %2 is not compatible with core's plugin API %3";
inline constexpr const char* kIncompatibleCoreAssertion = "ALE-EECF0606";

}  // namespace zun::messages
