// The builtin vocabulary as a freshly initialised registry holds it: names,
// descriptions, tags, fields in order with their native layout, the event
// "OnCallback", and the same registry after a second initialisation.
#include "builtins/builtin_vocabulary.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "binding/binding_context.h"
#include "builtins/async_types.h"
#include "builtins/help_types.h"

namespace zun {
namespace {

using Code = BindingNativeType;
using Help = BindingHelpProvider;
using Tags = std::vector<std::string>;

struct FieldRow {
  const char* name;
  size_t offset;
  Code nativeType;
  Code elementType;
  const char* typeName;  // name of the referenced registered type, or ""
  const char* description;
};

struct TypeRow {
  const char* name;
  const StaticTypeId& identity;
  size_t size;
  const char* description;
  Tags tags;
  std::vector<FieldRow> fields;
};

std::vector<TypeRow> ExpectedRecords() {
  using Identifier = Help::FullTypeIdentifier;
  using Argument = Help::FullArgumentHelp;
  using Function = Help::FullFunctionHelp;
  using EnumValue = Help::FullEnumValueHelp;
  using Field = Help::FullFieldHelp;
  using Type = Help::FullTypeHelp;
  using Event = Help::FullEventHelp;
  using Api = Help::FullApiHelp;
  const Tags help = {"$builtin", "help"};
  const Tags builtin = {"$builtin"};
  const Tags async = {"$builtin", "async"};
  const char* const kIdentifier = "BindingFullTypeIdentifier";
  return {
      {"BindingFullTypeIdentifier", StaticType::Get<Identifier>(), sizeof(Identifier),
       "Describes the type of a value.", help,
       {{"type", offsetof(Identifier, type), Code::String, Code::None, "", ""},
        {"elementType", offsetof(Identifier, elementType), Code::String, Code::None, "", ""}}},
      {"BindingFullArgumentHelp", StaticType::Get<Argument>(), sizeof(Argument),
       "Describes a function parameter.", help,
       {{"name", offsetof(Argument, name), Code::String, Code::None, "", ""},
        {"description", offsetof(Argument, description), Code::String, Code::None, "", ""},
        {"type", offsetof(Argument, type), Code::Struct, Code::None, kIdentifier, ""},
        {"optional", offsetof(Argument, optional), Code::Bool, Code::None, "", ""}}},
      {"BindingFullFunctionHelp", StaticType::Get<Function>(), sizeof(Function),
       "Describes a function.", help,
       {{"name", offsetof(Function, name), Code::String, Code::None, "", ""},
        {"nameSpace", offsetof(Function, nameSpace), Code::String, Code::None, "", ""},
        {"arguments", offsetof(Function, arguments), Code::Vector, Code::Struct,
         "BindingFullArgumentHelp", ""},
        {"returns", offsetof(Function, returns), Code::Struct, Code::None, kIdentifier, ""},
        {"description", offsetof(Function, description), Code::String, Code::None, "", ""},
        {"help", offsetof(Function, help), Code::String, Code::None, "", ""},
        {"threadSafe", offsetof(Function, threadSafe), Code::Bool, Code::None, "", ""},
        {"async", offsetof(Function, async), Code::String, Code::None, "", ""},
        {"tags", offsetof(Function, tags), Code::Vector, Code::String, "", ""}}},
      {"BindingFullEnumValueHelp", StaticType::Get<EnumValue>(), sizeof(EnumValue),
       "Describes an enumerator.", help,
       {{"name", offsetof(EnumValue, name), Code::String, Code::None, "", ""},
        {"description", offsetof(EnumValue, description), Code::String, Code::None, "", ""},
        {"value", offsetof(EnumValue, value), Code::Int32, Code::None, "", ""}}},
      {"BindingFullFieldHelp", StaticType::Get<Field>(), sizeof(Field),
       "Describes a member of a struct.", help,
       {{"name", offsetof(Field, name), Code::String, Code::None, "", ""},
        {"description", offsetof(Field, description), Code::String, Code::None, "", ""},
        {"offset", offsetof(Field, offset), Code::UInt32, Code::None, "", ""},
        {"type", offsetof(Field, type), Code::Struct, Code::None, kIdentifier, ""},
        {"optional", offsetof(Field, optional), Code::Bool, Code::None, "", ""}}},
      {"BindingFullTypeHelp", StaticType::Get<Type>(), sizeof(Type),
       "Describes a struct or enum type.", help,
       {{"name", offsetof(Type, name), Code::String, Code::None, "", ""},
        {"nameSpace", offsetof(Type, nameSpace), Code::String, Code::None, "", ""},
        {"size", offsetof(Type, size), Code::UInt32, Code::None, "", ""},
        {"description", offsetof(Type, description), Code::String, Code::None, "", ""},
        {"tags", offsetof(Type, tags), Code::Vector, Code::String, "", ""},
        {"fields", offsetof(Type, fields), Code::Vector, Code::Struct, "BindingFullFieldHelp",
         ""},
        {"values", offsetof(Type, values), Code::Vector, Code::Struct,
         "BindingFullEnumValueHelp", ""}}},
      {"BindingFullEventHelp", StaticType::Get<Event>(), sizeof(Event), "Describes an event.",
       help,
       {{"name", offsetof(Event, name), Code::String, Code::None, "", ""},
        {"nameSpace", offsetof(Event, nameSpace), Code::String, Code::None, "", ""},
        {"type", offsetof(Event, type), Code::Struct, Code::None, kIdentifier, ""},
        {"description", offsetof(Event, description), Code::String, Code::None, "", ""},
        {"tags", offsetof(Event, tags), Code::Vector, Code::String, "", ""}}},
      {"BindingFullApiHelp", StaticType::Get<Api>(), sizeof(Api),
       "Describes the exposed native API.", help,
       {{"functions", offsetof(Api, functions), Code::Vector, Code::Struct,
         "BindingFullFunctionHelp", ""},
        {"types", offsetof(Api, types), Code::Vector, Code::Struct, "BindingFullTypeHelp", ""},
        {"events", offsetof(Api, events), Code::Vector, Code::Struct, "BindingFullEventHelp",
         ""}}},
      {"BindingGenericEvent", StaticType::Get<BindingGenericEvent>(), sizeof(BindingGenericEvent),
       "Represents generic data for an event.", builtin,
       {{"data", offsetof(BindingGenericEvent, data), Code::Object, Code::None, "",
         "Event data"}}},
      {"BindingCallbackEvent", StaticType::Get<BindingCallbackEvent>(),
       sizeof(BindingCallbackEvent), "Represents the parameters of a call to a provided callback.",
       builtin,
       {{"id", offsetof(BindingCallbackEvent, id), Code::UInt32, Code::None, "",
         "ID of the callback being invoked"},
        {"parameters", offsetof(BindingCallbackEvent, parameters), Code::Vector, Code::Object, "",
         "Callback parameters"}}},
      {"BindingGenericAsyncEvent", StaticType::Get<BindingGenericAsyncEvent>(),
       sizeof(BindingGenericAsyncEvent), "Represents generic data for an asynchronous event.",
       async,
       {{"asyncToken", offsetof(BindingGenericAsyncEvent, asyncToken), Code::UInt32, Code::None,
         "", "Asynchronous operation token"},
        {"data", offsetof(BindingGenericAsyncEvent, data), Code::Object, Code::None, "",
         "Event data"}}},
      {"BindingAsyncFailureEvent", StaticType::Get<BindingAsyncFailureEvent>(),
       sizeof(BindingAsyncFailureEvent), "Represents a failed asynchronous operation.", async,
       {{"asyncToken", offsetof(BindingAsyncFailureEvent, asyncToken), Code::UInt32, Code::None,
         "", "Asynchronous operation token"},
        {"error", offsetof(BindingAsyncFailureEvent, error), Code::String, Code::None, "",
         "Error message"}}},
      {"BindingAsyncCancelEvent", StaticType::Get<BindingAsyncCancelEvent>(),
       sizeof(BindingAsyncCancelEvent), "Represents a cancelled asynchronous operation.", async,
       {{"asyncToken", offsetof(BindingAsyncCancelEvent, asyncToken), Code::UInt32, Code::None,
         "", "Asynchronous operation token"}}},
  };
}

struct EnumeratorRow {
  const char* name;
  int32_t value;
  const char* description;
};

// Checks the whole registry against the expected vocabulary: every record,
// both enumerations, the event, and nothing else.
void ExpectBuiltinVocabulary(const BindingContext& context) {
  const std::vector<TypeRow> records = ExpectedRecords();
  for (const TypeRow& row : records) {
    SCOPED_TRACE(row.name);
    const BindingTypeInfo* type = context.FindType(row.name);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(context.FindTypeByHash(row.identity.hash), type);
    EXPECT_EQ(type->identity, &row.identity);
    EXPECT_FALSE(type->isEnum);
    EXPECT_EQ(type->size, row.size);
    EXPECT_EQ(type->description, row.description);
    EXPECT_EQ(type->tags, row.tags);
    EXPECT_EQ(type->nameSpace, "");
    ASSERT_EQ(type->fields.size(), row.fields.size());
    for (size_t index = 0; index < row.fields.size(); ++index) {
      const FieldRow& expected = row.fields[index];
      const BindingField& field = type->fields[index];
      SCOPED_TRACE(expected.name);
      EXPECT_EQ(field.name, expected.name);
      EXPECT_EQ(field.offset, expected.offset);
      EXPECT_EQ(field.type.nativeType, expected.nativeType);
      EXPECT_EQ(field.type.elementType, expected.elementType);
      const std::string typeName = field.type.typeInfo == nullptr ? "" : field.type.typeInfo->name;
      EXPECT_EQ(typeName, expected.typeName);
      EXPECT_EQ(field.description, expected.description);
      EXPECT_EQ(field.flags, 0u);
      EXPECT_FALSE(field.optional);
      EXPECT_FALSE(field.publishedType.IsSet());
    }
  }

  struct EnumRow {
    const char* name;
    const StaticTypeId& identity;
    const char* description;
    Tags tags;
    std::vector<EnumeratorRow> enumerators;  // in name order
  };
  const EnumRow enums[] = {
      {"BindingHelpFormat", StaticType::Get<Help::HelpFormat>(),
       "Help format for binding functions and types.", {"$builtin", "help"},
       {{"Epytext", 2, "Python epytext format"}, {"Full", 1, "Native help format"}}},
      {"BindingAsyncState", StaticType::Get<BindingAsyncState::Type>(),
       "Possible states of an asynchronous operation.", {"$builtin", "async"},
       {{"Cancelled", 3, "The operation was cancelled"},
        {"Cancelling", 2, "A request to cancel the operation has been made"},
        {"Failed", 5, "The operation encountered an error"},
        {"None", 0, "Invalid state"},
        {"Running", 1, "The operation is in flight"},
        {"Succeeded", 4, "The operation completed successfully"}}},
  };
  for (const EnumRow& row : enums) {
    SCOPED_TRACE(row.name);
    const BindingTypeInfo* type = context.FindType(row.name);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(context.FindType(row.identity), type);
    EXPECT_TRUE(type->isEnum);
    EXPECT_EQ(type->size, 4u);
    EXPECT_EQ(type->description, row.description);
    EXPECT_EQ(type->tags, row.tags);
    EXPECT_TRUE(type->fields.empty());
    ASSERT_EQ(type->enumValues.size(), row.enumerators.size());
    auto entry = type->enumValues.begin();
    for (const EnumeratorRow& enumerator : row.enumerators) {
      EXPECT_EQ(entry->first, enumerator.name);
      EXPECT_EQ(entry->second.name, enumerator.name);
      EXPECT_EQ(entry->second.value, enumerator.value);
      EXPECT_EQ(entry->second.description, enumerator.description);
      EXPECT_EQ(entry->second.owner, type);
      ++entry;
    }
  }

  EXPECT_EQ(context.SnapshotTypes().size(), records.size() + std::size(enums));
  const auto events = context.SnapshotEvents();
  ASSERT_EQ(events.size(), 1u);
  const BindingEvent* callback = context.FindEvent("OnCallback");
  ASSERT_NE(callback, nullptr);
  EXPECT_EQ(callback->payloadType, context.FindType("BindingCallbackEvent"));
  EXPECT_EQ(callback->description, "Fired when a callback is invoked.");
  EXPECT_EQ(callback->tags, Tags{"$builtin"});
  EXPECT_TRUE(context.SnapshotFunctions().empty());
}

TEST(BuiltinVocabularyTest, FirstInitialisationRegistersTheWholeVocabulary) {
  BindingContext context;
  EXPECT_FALSE(context.initialised());
  RegisterBuiltins(context);
  EXPECT_TRUE(context.initialised());
  ExpectBuiltinVocabulary(context);
}

TEST(BuiltinVocabularyTest, SecondInitialisationStartsFromACleanRegistry) {
  BindingContext context;
  RegisterBuiltins(context);
  // A plugin's own entries, and a builtin type changed behind the builders'
  // back, are gone after the second initialisation.
  (void)context.RegisterType<int>("PluginOwn");
  (void)context.RegisterEvent<BindingGenericEvent>("OnPluginOwn");
  auto function = std::make_unique<BindingFunction>();
  function->name = "pluginFunction";
  (void)context.RegisterFunction(std::move(function));
  const BindingTypeInfo* before = context.FindType("BindingFullTypeHelp");

  RegisterBuiltins(context);

  EXPECT_TRUE(context.initialised());
  EXPECT_EQ(context.FindType("PluginOwn"), nullptr);
  EXPECT_EQ(context.FindEvent("OnPluginOwn"), nullptr);
  EXPECT_EQ(context.FindFunction("pluginFunction"), nullptr);
  ASSERT_NE(before, nullptr);
  ExpectBuiltinVocabulary(context);
}

TEST(BuiltinVocabularyTest, LaterRegistrationsUnderBuiltinNamesAreIgnored) {
  BindingContext context;
  RegisterBuiltins(context);
  const BindingTypeInfo* typeHelp = context.FindType("BindingFullTypeHelp");
  const BindingTypeBuilder own = context.RegisterType<int>("BindingFullTypeHelp");
  EXPECT_TRUE(own.skipped());
  BindingTypeBuilder state = context.RegisterType<BindingAsyncState::Type>("BindingAsyncState");
  state.Value("Running", 7).Description("other").Tag("plugin");
  BindingEventBuilder onCallback = context.RegisterEvent<BindingGenericEvent>("OnCallback");
  onCallback.Description("other").Tag("plugin");

  EXPECT_EQ(context.FindType("BindingFullTypeHelp"), typeHelp);
  EXPECT_EQ(context.FindType<Help::FullTypeHelp>(), typeHelp);
  ExpectBuiltinVocabulary(context);
}

TEST(BuiltinVocabularyTest, BuiltinsCanBeRegisteredIntoAContextWithEntriesAlready) {
  // A context that already holds a type named like a builtin keeps it, and
  // the vocabulary around it is registered as usual.
  BindingContext context;
  (void)context.RegisterType<int>("BindingGenericEvent").Description("plugin's own");
  RegisterBuiltins(context);
  const BindingTypeInfo* generic = context.FindType("BindingGenericEvent");
  ASSERT_NE(generic, nullptr);
  EXPECT_EQ(generic->description, "plugin's own");
  EXPECT_TRUE(generic->fields.empty());
  EXPECT_NE(context.FindType("BindingCallbackEvent"), nullptr);
  EXPECT_NE(context.FindEvent("OnCallback"), nullptr);
}

}  // namespace
}  // namespace zun
