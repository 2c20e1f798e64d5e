// Every builtin record, filled in every member, goes native to value to
// native and comes back equal; the list of records checked here must be the
// list of records the builtin vocabulary registers.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "binding/binding_context.h"
#include "binding/binding_result.h"
#include "binding/convert_to_native.h"
#include "binding/convert_to_value.h"
#include "binding/leaf_conversions.h"
#include "builtins/async_types.h"
#include "builtins/builtin_vocabulary.h"
#include "builtins/help_types.h"
#include "tests/binding/convert_sample.h"

namespace zun {

using Help = BindingHelpProvider;

// Equality of the builtin records, member by member; values compare by their
// canonical text.
bool operator==(const Help::FullTypeIdentifier& a, const Help::FullTypeIdentifier& b) {
  return std::tie(a.type, a.elementType) == std::tie(b.type, b.elementType);
}
bool operator==(const Help::FullArgumentHelp& a, const Help::FullArgumentHelp& b) {
  return std::tie(a.name, a.description, a.type, a.optional) ==
         std::tie(b.name, b.description, b.type, b.optional);
}
bool operator==(const Help::FullFunctionHelp& a, const Help::FullFunctionHelp& b) {
  return std::tie(a.name, a.nameSpace, a.arguments, a.returns, a.description, a.help,
                  a.threadSafe, a.async, a.tags) ==
         std::tie(b.name, b.nameSpace, b.arguments, b.returns, b.description, b.help,
                  b.threadSafe, b.async, b.tags);
}
bool operator==(const Help::FullEnumValueHelp& a, const Help::FullEnumValueHelp& b) {
  return std::tie(a.name, a.description, a.value) == std::tie(b.name, b.description, b.value);
}
bool operator==(const Help::FullFieldHelp& a, const Help::FullFieldHelp& b) {
  return std::tie(a.name, a.description, a.offset, a.type, a.optional) ==
         std::tie(b.name, b.description, b.offset, b.type, b.optional);
}
bool operator==(const Help::FullTypeHelp& a, const Help::FullTypeHelp& b) {
  return std::tie(a.name, a.nameSpace, a.size, a.description, a.tags, a.fields, a.values) ==
         std::tie(b.name, b.nameSpace, b.size, b.description, b.tags, b.fields, b.values);
}
bool operator==(const Help::FullEventHelp& a, const Help::FullEventHelp& b) {
  return std::tie(a.name, a.nameSpace, a.type, a.description, a.tags) ==
         std::tie(b.name, b.nameSpace, b.type, b.description, b.tags);
}
bool operator==(const Help::FullApiHelp& a, const Help::FullApiHelp& b) {
  return std::tie(a.functions, a.types, a.events) == std::tie(b.functions, b.types, b.events);
}

namespace {

using conversion_test::Show;

bool operator==(const BindingGenericEvent& a, const BindingGenericEvent& b) {
  return Show(a.data) == Show(b.data);
}
bool operator==(const BindingCallbackEvent& a, const BindingCallbackEvent& b) {
  if (a.id != b.id || a.parameters.size() != b.parameters.size()) return false;
  for (size_t index = 0; index < a.parameters.size(); ++index) {
    if (Show(a.parameters[index]) != Show(b.parameters[index])) return false;
  }
  return true;
}
bool operator==(const BindingGenericAsyncEvent& a, const BindingGenericAsyncEvent& b) {
  return a.asyncToken == b.asyncToken && Show(a.data) == Show(b.data);
}
bool operator==(const BindingAsyncFailureEvent& a, const BindingAsyncFailureEvent& b) {
  return a.asyncToken == b.asyncToken && a.error == b.error;
}
bool operator==(const BindingAsyncCancelEvent& a, const BindingAsyncCancelEvent& b) {
  return a.asyncToken == b.asyncToken;
}

Help::FullTypeIdentifier Identifier(const char* type, const char* element = "") {
  return {type, element};
}

Help::FullFunctionHelp Function() {
  return {"Get", "ns", {{"id", "the id", Identifier("uint32"), true}, {"x", "", {}, false}},
          Identifier("vector", "string"), "gets", "help text", true, "BindingAsyncState",
          {"$builtin", "t2"}};
}

Help::FullTypeHelp Type() {
  return {"Rec", "ns", 24, "a record", {"tag"},
          {{"member", "m", 4, Identifier("struct", "Rec"), true}},
          {{"One", "first", 1}, {"Minus", "", -1}}};
}

Help::FullEventHelp Event() { return {"OnThing", "ns", Identifier("Rec"), "fired", {"a", "b"}}; }

BindingProperty Tree() {
  using namespace conversion_test;
  return Struct({{"k", List({Signed(-1), Unsigned(2), Float(0.5), Text("t"), Blob({7}),
                             Bool(true), {}})}});
}

class BuiltinRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterBuiltins(context); }

  // Native to value to native; every registered field must show as a member.
  template <typename Record>
  void RoundTrip(const char* name, const Record& original) {
    SCOPED_TRACE(name);
    checked.insert(name);
    const BindingTypeInfo* type = context.FindType<Record>();
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->name, name);
    BindingProperty value;
    ASSERT_TRUE(ConvertToValue(context, value, original));
    EXPECT_EQ(value.Size(), type->fields.size()) << Show(value);

    Record back{};
    BindingResult status;
    ConvertToNative(status, back, value, "<result>", context);
    ASSERT_TRUE(status.Ok()) << status.ErrorMessage();
    EXPECT_TRUE(back == original) << Show(value);
  }

  BindingContext context;
  std::set<std::string> checked;
};

TEST_F(BuiltinRoundTripTest, EveryBuiltinRecordComesBackEqual) {
  RoundTrip("BindingFullTypeIdentifier", Identifier("vector", "Rec"));
  RoundTrip("BindingFullArgumentHelp",
            Help::FullArgumentHelp{"a", "arg", Identifier("enum", "X"), true});
  RoundTrip("BindingFullFunctionHelp", Function());
  RoundTrip("BindingFullEnumValueHelp", Help::FullEnumValueHelp{"V", "value", -7});
  RoundTrip("BindingFullFieldHelp",
            Help::FullFieldHelp{"f", "field", 8, Identifier("map", "int32"), true});
  RoundTrip("BindingFullTypeHelp", Type());
  RoundTrip("BindingFullEventHelp", Event());
  RoundTrip("BindingFullApiHelp", Help::FullApiHelp{{Function(), Function()}, {Type()},
                                                        {Event()}});
  RoundTrip("BindingGenericEvent", BindingGenericEvent{Tree()});
  RoundTrip("BindingCallbackEvent", BindingCallbackEvent{42, {Tree(), BindingProperty()}});
  RoundTrip("BindingGenericAsyncEvent", BindingGenericAsyncEvent{7, Tree()});
  RoundTrip("BindingAsyncFailureEvent", BindingAsyncFailureEvent{9, "it failed"});
  RoundTrip("BindingAsyncCancelEvent", BindingAsyncCancelEvent{11});

  std::set<std::string> records;
  for (const auto& [name, type] : context.SnapshotTypes()) {
    if (!type->isEnum) records.insert(name);
  }
  EXPECT_EQ(checked, records);
}

TEST_F(BuiltinRoundTripTest, AsyncStatesByNameNumberAndEnumValue) {
  using conversion_test::Text;
  const BindingTypeInfo* state = context.FindType<BindingAsyncState::Type>();
  ASSERT_NE(state, nullptr);
  BindingResult status;
  EXPECT_EQ(ToEnum(status, Text("Running"), "state", state), BindingAsyncState::Running);
  EXPECT_EQ(ToEnum(status, Text("1"), "state", state), BindingAsyncState::Running);
  EXPECT_TRUE(status.Ok());
  EXPECT_EQ(ToEnum(status, Text("Runnin"), "state", state), 0);
  EXPECT_EQ(status.ErrorMessage(),
            "Runnin is not a valid BindingAsyncState enumeration value for 'state'.");

  BindingProperty cancelled;
  cancelled.SetEnum(BindingAsyncState::Cancelled, &StaticType::Get<BindingAsyncState::Type>());
  status.ResetToOk();
  EXPECT_EQ(ToText(status, cancelled, "text", context), "Cancelled");
}

}  // namespace
}  // namespace zun
