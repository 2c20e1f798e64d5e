// The converters that registered fields own: they reach the rules of the
// member's exact native type at the member's address, and a member type
// without rules reports a failure instead of claiming success.
#include "binding/binding_field_converter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_result.h"

namespace zun {
namespace {

struct Counter {
  int32_t count = 0;
};

struct Gauge {
  int32_t level = 0;
};

struct Panel {
  std::string title;
  Counter counter;
  std::vector<Gauge> gauges;
};

}  // namespace

template <> struct StaticTypeName<Counter> {
  static std::string Spell() { return "struct Orvo::Test::Counter"; }
};
template <> struct StaticTypeName<Gauge> {
  static std::string Spell() { return "struct Orvo::Test::Gauge"; }
};
template <> struct StaticTypeName<Panel> {
  static std::string Spell() { return "struct Orvo::Test::Panel"; }
};

// Rules of this test's own member type: the input's signed value goes into
// the member and back, so a test can see which member a converter reached.
template <>
struct BindingMemberRules<Counter> {
  static void ToNative(BindingResult& status, Counter& member, const BindingProperty& input,
                       std::string_view /*path*/, const BindingTypeInfo* /*typeInfo*/,
                       const BindingContext& /*context*/) {
    if (status.Ok()) {
      member.count = static_cast<int32_t>(input.GetSigned(-1));
    }
  }
  static void ToValue(BindingResult& result, const Counter& member,
                      const BindingTypeInfo* /*typeInfo*/, const BindingContext& /*context*/) {
    result.Value().SetSigned(static_cast<int64_t>(member.count));
  }
};

namespace {

class PanelConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)context.RegisterType<Counter>("Counter").Field("count", &Counter::count);
    (void)context.RegisterType<Panel>("Panel")
        .Field("title", &Panel::title)
        .Field("counter", &Panel::counter)
        .Field("gauges", &Panel::gauges);
    panel = context.FindType("Panel");
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->fields.size(), 3u);
  }

  [[nodiscard]] char* MemberOf(Panel& record, size_t index) const {
    return reinterpret_cast<char*>(&record) + panel->fields[index].offset;
  }

  BindingContext context;
  const BindingTypeInfo* panel = nullptr;
};

TEST_F(PanelConverterTest, ConverterReachesTheRulesOfTheExactMemberType) {
  Panel record;
  BindingProperty input;
  input.SetSigned(int64_t{42});
  BindingResult status;
  const BindingField& counter = panel->fields[1];
  counter.converter->ToNative(status, MemberOf(record, 1), input, counter.name,
                              counter.type.typeInfo, context);
  EXPECT_TRUE(status.Ok());
  EXPECT_EQ(record.counter.count, 42);

  record.counter.count = 7;
  BindingResult result;
  counter.converter->ToValue(result, MemberOf(record, 1), counter.type.typeInfo, context);
  EXPECT_TRUE(result.Ok());
  EXPECT_EQ(result.Value().GetSigned(0), 7);
}

TEST_F(PanelConverterTest, VectorOfAnUnregisteredRecordFailsInBothDirections) {
  Panel record;
  BindingProperty input;
  input.Append().Member("level").SetSigned(int64_t{3});
  const BindingField& gauges = panel->fields[2];
  ASSERT_EQ(gauges.type.typeInfo, nullptr) << "Gauge is never registered";

  BindingResult status;
  gauges.converter->ToNative(status, MemberOf(record, 2), input, gauges.name, nullptr, context);
  EXPECT_FALSE(status.Ok());
  EXPECT_EQ(status.ErrorMessage(),
            "Couldn't assign value to 'gauges' because the input is an unregistered structure or not a structure at "
            "all.");

  record.gauges.resize(1);
  BindingResult result;
  gauges.converter->ToValue(result, MemberOf(record, 2), nullptr, context);
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(result.ErrorMessage(), "Couldn't convert native value because it's an unregistered structure.");
}

TEST_F(PanelConverterTest, AnEarlierFailureStaysTheReportedOne) {
  Panel record;
  BindingProperty input;
  BindingResult status;
  status.SetError("first");
  const BindingField& title = panel->fields[0];
  title.converter->ToNative(status, MemberOf(record, 0), input, title.name, nullptr, context);
  EXPECT_EQ(status.ErrorMessage(), "first");
}

}  // namespace
}  // namespace zun
