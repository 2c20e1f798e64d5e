// Records that describe an API in structured form (functions, arguments,
// types, members, enumerators, events) and their registration. The framework
// registers them; it produces no values of them itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "binding/static_type.h"

namespace zun {

class BindingContext;

struct BindingHelpProvider {
  enum HelpFormat : int32_t {
    Full = 1,
    Epytext = 2,
  };

  struct FullTypeIdentifier {
    std::string type;
    std::string elementType;
  };

  struct FullArgumentHelp {
    std::string name;
    std::string description;
    FullTypeIdentifier type;
    bool optional = false;
  };

  struct FullFunctionHelp {
    std::string name;
    std::string nameSpace;
    std::vector<FullArgumentHelp> arguments;
    FullTypeIdentifier returns;
    std::string description;
    std::string help;
    bool threadSafe = false;
    std::string async;  // name of the asynchronous result type, if any
    std::vector<std::string> tags;
  };

  struct FullEnumValueHelp {
    std::string name;
    std::string description;
    int32_t value = 0;
  };

  struct FullFieldHelp {
    std::string name;
    std::string description;
    uint32_t offset = 0;
    FullTypeIdentifier type;
    bool optional = false;
  };

  struct FullTypeHelp {
    std::string name;
    std::string nameSpace;
    uint32_t size = 0;
    std::string description;
    std::vector<std::string> tags;
    std::vector<FullFieldHelp> fields;
    std::vector<FullEnumValueHelp> values;
  };

  struct FullEventHelp {
    std::string name;
    std::string nameSpace;
    FullTypeIdentifier type;
    std::string description;
    std::vector<std::string> tags;
  };

  struct FullApiHelp {
    std::vector<FullFunctionHelp> functions;
    std::vector<FullTypeHelp> types;
    std::vector<FullEventHelp> events;
  };
};

// Registers "BindingHelpFormat" and the eight help records, in that order.
void RegisterHelpTypes(BindingContext& context);

template <>
struct StaticTypeName<BindingHelpProvider::HelpFormat>
    : StaticTypeSpelledAs<spelling::kHelpFormat> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullTypeIdentifier>
    : StaticTypeSpelledAs<spelling::kFullTypeIdentifier> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullArgumentHelp>
    : StaticTypeSpelledAs<spelling::kFullArgumentHelp> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullFunctionHelp>
    : StaticTypeSpelledAs<spelling::kFullFunctionHelp> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullEnumValueHelp>
    : StaticTypeSpelledAs<spelling::kFullEnumValueHelp> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullFieldHelp>
    : StaticTypeSpelledAs<spelling::kFullFieldHelp> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullTypeHelp>
    : StaticTypeSpelledAs<spelling::kFullTypeHelp> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullEventHelp>
    : StaticTypeSpelledAs<spelling::kFullEventHelp> {};
template <>
struct StaticTypeName<BindingHelpProvider::FullApiHelp>
    : StaticTypeSpelledAs<spelling::kFullApiHelp> {};

}  // namespace zun
