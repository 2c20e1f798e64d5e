// Registration of the help types, and their native layout on the 32-bit
// target (strings 24 bytes, vectors 12, 4-byte alignment).
#include "builtins/help_types.h"

#include <cstddef>

#include "binding/binding_context.h"
#include "builtins/builtin_texts.h"

namespace zun {

#if defined(__i386__)
using Help = BindingHelpProvider;
static_assert(sizeof(Help::HelpFormat) == 4);
static_assert(sizeof(Help::FullTypeIdentifier) == 48);
static_assert(offsetof(Help::FullTypeIdentifier, elementType) == 24);
static_assert(sizeof(Help::FullArgumentHelp) == 100);
static_assert(offsetof(Help::FullArgumentHelp, description) == 24);
static_assert(offsetof(Help::FullArgumentHelp, type) == 48);
static_assert(offsetof(Help::FullArgumentHelp, optional) == 96);
static_assert(sizeof(Help::FullFunctionHelp) == 196);
static_assert(offsetof(Help::FullFunctionHelp, nameSpace) == 24);
static_assert(offsetof(Help::FullFunctionHelp, arguments) == 48);
static_assert(offsetof(Help::FullFunctionHelp, returns) == 60);
static_assert(offsetof(Help::FullFunctionHelp, description) == 108);
static_assert(offsetof(Help::FullFunctionHelp, help) == 132);
static_assert(offsetof(Help::FullFunctionHelp, threadSafe) == 156);
static_assert(offsetof(Help::FullFunctionHelp, async) == 160);
static_assert(offsetof(Help::FullFunctionHelp, tags) == 184);
static_assert(sizeof(Help::FullEnumValueHelp) == 52);
static_assert(offsetof(Help::FullEnumValueHelp, value) == 48);
static_assert(sizeof(Help::FullFieldHelp) == 104);
static_assert(offsetof(Help::FullFieldHelp, offset) == 48);
static_assert(offsetof(Help::FullFieldHelp, type) == 52);
static_assert(offsetof(Help::FullFieldHelp, optional) == 100);
static_assert(sizeof(Help::FullTypeHelp) == 112);
static_assert(offsetof(Help::FullTypeHelp, size) == 48);
static_assert(offsetof(Help::FullTypeHelp, description) == 52);
static_assert(offsetof(Help::FullTypeHelp, tags) == 76);
static_assert(offsetof(Help::FullTypeHelp, fields) == 88);
static_assert(offsetof(Help::FullTypeHelp, values) == 100);
static_assert(sizeof(Help::FullEventHelp) == 132);
static_assert(offsetof(Help::FullEventHelp, type) == 48);
static_assert(offsetof(Help::FullEventHelp, description) == 96);
static_assert(offsetof(Help::FullEventHelp, tags) == 120);
static_assert(sizeof(Help::FullApiHelp) == 36);
static_assert(offsetof(Help::FullApiHelp, types) == 12);
static_assert(offsetof(Help::FullApiHelp, events) == 24);
#endif

namespace {

using namespace builtin_texts;
using Help = BindingHelpProvider;

// Each new help type gets its description and the tags "$builtin", "help";
// an existing one is left as it is (the builder skips).
BindingTypeBuilder HelpType(BindingTypeBuilder builder, const char* description) {
  builder.Description(description).Tags({kTagBuiltin, kTagHelp});
  return builder;
}

void RegisterHelpFormat(BindingContext& context) {
  HelpType(context.RegisterType<Help::HelpFormat>(kHelpFormatName), kHelpFormatDescription)
      .Value(kHelpFormatFull, Help::Full, kHelpFormatFullDescription)
      .Value(kHelpFormatEpytext, Help::Epytext, kHelpFormatEpytextDescription);
}

void RegisterIdentifierAndArguments(BindingContext& context) {
  using Identifier = Help::FullTypeIdentifier;
  HelpType(context.RegisterType<Identifier>(kFullTypeIdentifierName),
           kFullTypeIdentifierDescription)
      .Field("type", &Identifier::type)
      .Field("elementType", &Identifier::elementType);

  using Argument = Help::FullArgumentHelp;
  HelpType(context.RegisterType<Argument>(kFullArgumentHelpName), kFullArgumentHelpDescription)
      .Field("name", &Argument::name)
      .Field("description", &Argument::description)
      .Field("type", &Argument::type)
      .Field("optional", &Argument::optional);
}

void RegisterFunctionHelp(BindingContext& context) {
  using Function = Help::FullFunctionHelp;
  HelpType(context.RegisterType<Function>(kFullFunctionHelpName), kFullFunctionHelpDescription)
      .Field("name", &Function::name)
      .Field("nameSpace", &Function::nameSpace)
      .Field("arguments", &Function::arguments)
      .Field("returns", &Function::returns)
      .Field("description", &Function::description)
      .Field("help", &Function::help)
      .Field("threadSafe", &Function::threadSafe)
      .Field("async", &Function::async)
      .Field("tags", &Function::tags);
}

void RegisterTypeHelp(BindingContext& context) {
  using EnumValue = Help::FullEnumValueHelp;
  HelpType(context.RegisterType<EnumValue>(kFullEnumValueHelpName),
           kFullEnumValueHelpDescription)
      .Field("name", &EnumValue::name)
      .Field("description", &EnumValue::description)
      .Field("value", &EnumValue::value);

  using Field = Help::FullFieldHelp;
  HelpType(context.RegisterType<Field>(kFullFieldHelpName), kFullFieldHelpDescription)
      .Field("name", &Field::name)
      .Field("description", &Field::description)
      .Field("offset", &Field::offset)
      .Field("type", &Field::type)
      .Field("optional", &Field::optional);

  using Type = Help::FullTypeHelp;
  HelpType(context.RegisterType<Type>(kFullTypeHelpName), kFullTypeHelpDescription)
      .Field("name", &Type::name)
      .Field("nameSpace", &Type::nameSpace)
      .Field("size", &Type::size)
      .Field("description", &Type::description)
      .Field("tags", &Type::tags)
      .Field("fields", &Type::fields)
      .Field("values", &Type::values);
}

void RegisterEventAndApiHelp(BindingContext& context) {
  using Event = Help::FullEventHelp;
  HelpType(context.RegisterType<Event>(kFullEventHelpName), kFullEventHelpDescription)
      .Field("name", &Event::name)
      .Field("nameSpace", &Event::nameSpace)
      .Field("type", &Event::type)
      .Field("description", &Event::description)
      .Field("tags", &Event::tags);

  using Api = Help::FullApiHelp;
  HelpType(context.RegisterType<Api>(kFullApiHelpName), kFullApiHelpDescription)
      .Field("functions", &Api::functions)
      .Field("types", &Api::types)
      .Field("events", &Api::events);
}

}  // namespace

void RegisterHelpTypes(BindingContext& context) {
  RegisterHelpFormat(context);
  RegisterIdentifierAndArguments(context);
  RegisterFunctionHelp(context);
  RegisterTypeHelp(context);
  RegisterEventAndApiHelp(context);
}

}  // namespace zun
