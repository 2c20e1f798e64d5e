// How the native types that take part in binding are spelled in their
// identity texts. The spellings name the platform's own namespace, which is
// not the C++ namespace of this code: they are data, kept here in one place.
#pragma once

namespace zun::spelling {

// Built-in types. `long long` is spelled by its 64-bit keyword on every
// target, so that int64_t has one identity whatever it aliases.
inline constexpr char kBool[] = "bool";
inline constexpr char kChar[] = "char";
inline constexpr char kSignedChar[] = "signed char";
inline constexpr char kUnsignedChar[] = "unsigned char";
inline constexpr char kShort[] = "short";
inline constexpr char kUnsignedShort[] = "unsigned short";
inline constexpr char kInt[] = "int";
inline constexpr char kUnsignedInt[] = "unsigned int";
inline constexpr char kLong[] = "long";
inline constexpr char kUnsignedLong[] = "unsigned long";
inline constexpr char kInt64[] = "__int64";
inline constexpr char kUnsignedInt64[] = "unsigned __int64";
inline constexpr char kFloat[] = "float";
inline constexpr char kDouble[] = "double";
inline constexpr char kVoid[] = "void";

inline constexpr char kString[] =
    "class std::basic_string<char,struct std::char_traits<char>,class std::allocator<char> >";

// Binding runtime.
inline constexpr char kBindingProperty[] = "class Orvo::BindingProperty";

// Builtin vocabulary.
inline constexpr char kBindingGenericEvent[] = "struct Orvo::BindingGenericEvent";
inline constexpr char kBindingCallbackEvent[] = "struct Orvo::BindingCallbackEvent";
inline constexpr char kBindingGenericAsyncEvent[] = "struct Orvo::BindingGenericAsyncEvent";
inline constexpr char kBindingAsyncFailureEvent[] = "struct Orvo::BindingAsyncFailureEvent";
inline constexpr char kBindingAsyncCancelEvent[] = "struct Orvo::BindingAsyncCancelEvent";
inline constexpr char kBindingAsyncStateType[] = "enum Orvo::BindingAsyncState::Type";
inline constexpr char kHelpFormat[] = "enum Orvo::BindingHelpProvider::HelpFormat";
inline constexpr char kFullApiHelp[] = "struct Orvo::BindingHelpProvider::FullApiHelp";
inline constexpr char kFullArgumentHelp[] = "struct Orvo::BindingHelpProvider::FullArgumentHelp";
inline constexpr char kFullEnumValueHelp[] = "struct Orvo::BindingHelpProvider::FullEnumValueHelp";
inline constexpr char kFullEventHelp[] = "struct Orvo::BindingHelpProvider::FullEventHelp";
inline constexpr char kFullFieldHelp[] = "struct Orvo::BindingHelpProvider::FullFieldHelp";
inline constexpr char kFullFunctionHelp[] = "struct Orvo::BindingHelpProvider::FullFunctionHelp";
inline constexpr char kFullTypeHelp[] = "struct Orvo::BindingHelpProvider::FullTypeHelp";
inline constexpr char kFullTypeIdentifier[] =
    "struct Orvo::BindingHelpProvider::FullTypeIdentifier";

// Remoting.
inline constexpr char kRemotingRequest[] = "struct Orvo::RemotingRequest";
inline constexpr char kHttpBaseTransportRequest[] = "struct Orvo::HttpBaseTransport::Request";

// Plugin host boundary.
inline constexpr char kResource[] = "struct Orvo::Resource";
inline constexpr char kPluginManagerResource[] = "struct Orvo::Client::PluginManagerResource";
inline constexpr char kPluginResourceEvent[] = "struct Orvo::Client::PluginResourceEvent";
inline constexpr char kPluginLcdsEvent[] = "struct Orvo::Client::AppModule::PluginLcdsEvent";
inline constexpr char kPluginLcdsResponse[] = "struct Orvo::Client::AppModule::PluginLcdsResponse";
inline constexpr char kPluginServiceProxyResponse[] =
    "struct Orvo::Client::AppModule::PluginServiceProxyResponse";
inline constexpr char kPluginManagerState[] = "enum Orvo::Client::PluginManagerState";
inline constexpr char kPluginResourceEventType[] = "enum Orvo::Client::PluginResourceEventType";

}  // namespace zun::spelling
