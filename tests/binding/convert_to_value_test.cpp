// Native-to-value conversion: one table of (member, native value, value
// text), then member order, omission of empty members and unregistered
// records.
#include "binding/convert_to_value.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_result.h"
#include "tests/binding/convert_sample.h"

namespace zun {
namespace {

using namespace conversion_test;

struct Ordered {
  int32_t b = 0;
  int32_t a = 0;
};

struct Omissions {
  int32_t number = 0;
  bool flag = false;
  std::string text;
  std::vector<std::string> texts;
  BindingProperty object;
  double real = 0;
};

struct Orphans {
  std::vector<Unlisted> list;
  std::unordered_map<std::string, Unlisted> map;
  Phase state = Phase::Idle;
};

}  // namespace

template <> struct StaticTypeName<Ordered> {
  static std::string Spell() { return "struct Orvo::Test::Ordered"; }
};
template <> struct StaticTypeName<Omissions> {
  static std::string Spell() { return "struct Orvo::Test::Omissions"; }
};
template <> struct StaticTypeName<Orphans> {
  static std::string Spell() { return "struct Orvo::Test::Orphans"; }
};

namespace {

constexpr char kUnregistered[] =
    "Couldn't convert native value because it's an unregistered structure.";

class ConvertToValueTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterSample(context); }

  std::string Id(const StaticTypeId& identity) const { return identity.id; }

  BindingContext context;
};

struct Row {
  const char* member;
  std::function<void(Sample&)> set;
  std::string expected;  // Show of the member's value
};

TEST_F(ConvertToValueTest, EveryMemberTypeByTable) {
  const std::string phase = Id(StaticType::Get<Phase>());
  const std::vector<Row> rows = {
      {"flag", [](Sample& s) { s.flag = true; }, "true"},
      {"i8", [](Sample& s) { s.i8 = -128; }, "signed -128"},
      {"u8", [](Sample& s) { s.u8 = 255; }, "unsigned 255"},
      {"i16", [](Sample& s) { s.i16 = -32768; }, "signed -32768"},
      {"u16", [](Sample& s) { s.u16 = 65535; }, "unsigned 65535"},
      {"i32", [](Sample& s) { s.i32 = -5; }, "signed -5"},
      {"u32", [](Sample& s) { s.u32 = 4294967295u; }, "unsigned 4294967295"},
      {"i64", [](Sample& s) { s.i64 = std::numeric_limits<int64_t>::min(); },
       "signed -9223372036854775808"},
      {"u64", [](Sample& s) { s.u64 = std::numeric_limits<uint64_t>::max(); },
       "unsigned 18446744073709551615"},
      {"f32", [](Sample& s) { s.f32 = 0.1f; }, "float 0.10000000149011612"},
      {"f64", [](Sample& s) { s.f64 = 0.1; }, "float 0.10000000000000001"},
      {"text", [](Sample& s) { s.text = std::string("ab\0cd", 5); }, "string ab"},
      {"text", [](Sample&) {}, "string "},
      {"object", [](Sample&) {}, "empty"},
      {"object", [](Sample& s) { s.object = Struct({{"z", List({Bool(false)})}}); },
       "{z:[false]}"},
      {"bytes", [](Sample& s) { s.bytes = {0x68, 0x69}; }, "blob 6869"},
      {"texts", [](Sample& s) { s.texts = {"a", "", "c"}; }, "[string a,string ,string c]"},
      {"objects", [](Sample& s) { s.objects = {Signed(1), {}}; }, "[signed 1,empty]"},
      {"inners", [](Sample& s) { s.inners = {{1, "x"}, {}}; },
       "[{count:signed 1,label:string x},{count:signed 0,label:string }]"},
      {"flags", [](Sample& s) { s.flags = {true, false}; }, "[true,false]"},
      {"shorts", [](Sample& s) { s.shorts = {-1, 2}; }, "[signed -1,signed 2]"},
      {"states", [](Sample& s) { s.states = {Phase::Done}; }, "[enum 4" + phase + "]"},
      {"state", [](Sample& s) { s.state = Phase::Cancelled; }, "enum 3" + phase},
      {"tiny", [](Sample& s) { s.tiny = Tiny::All; },
       "enum -1" + Id(StaticType::Get<Tiny>())},
      {"inner", [](Sample& s) { s.inner = {7, "in"}; }, "{count:signed 7,label:string in}"},
      {"counts", [](Sample& s) { s.counts = {{"b", 2}, {"a", 1}}; }, "{a:signed 1,b:signed 2}"},
      {"innerMap", [](Sample& s) { s.innerMap = {{std::string("k\0x", 3), {1, ""}}}; },
       "{k:{count:signed 1,label:string }}"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.member) + " -> " + row.expected);
    Sample sample;
    row.set(sample);
    BindingProperty output;
    ASSERT_TRUE(ConvertToValue(context, output, sample));
    EXPECT_EQ(output.Size(), context.FindType("Sample")->fields.size());
    EXPECT_EQ(Show(output.Member(row.member)), row.expected);
  }
}

TEST_F(ConvertToValueTest, MembersFollowNameOrderNotRegistrationOrder) {
  (void)context.RegisterType<Ordered>("Ordered").Field("b", &Ordered::b).Field("a", &Ordered::a);
  BindingProperty output;
  ASSERT_TRUE(ConvertToValue(context, output, Ordered{2, 1}));
  EXPECT_EQ(Show(output), "{a:signed 1,b:signed 2}");
}

TEST_F(ConvertToValueTest, OmitWhenEmptyLeavesOutEmptyMembersOnly) {
  constexpr uint32_t kOmit = BindingFieldFlags::OmitWhenEmpty;
  (void)context.RegisterType<Omissions>("Omissions")
      .Field("number", &Omissions::number, "", kOmit)
      .Field("flag", &Omissions::flag, "", kOmit)
      .Field("text", &Omissions::text, "", kOmit)
      .Field("texts", &Omissions::texts, "", kOmit)
      .Field("object", &Omissions::object, "", kOmit)
      .Field("real", &Omissions::real, "", kOmit);
  BindingProperty output;
  ASSERT_TRUE(ConvertToValue(context, output, Omissions{}));
  EXPECT_EQ(Show(output), "{}");

  Omissions filled;
  filled.number = 3;
  filled.flag = true;
  filled.text = "t";
  filled.texts = {""};
  filled.object = Text("o");
  filled.real = 0.5;
  ASSERT_TRUE(ConvertToValue(context, output, filled));
  EXPECT_EQ(Show(output),
            "{flag:true,number:signed 3,object:string o,real:float 0.5,text:string t,"
            "texts:[string ]}");
}

TEST_F(ConvertToValueTest, UnregisteredRecordsFailAndLeaveTheOutputAlone) {
  // Neither Unlisted nor Phase is registered in this context.
  BindingContext bare;
  (void)bare.RegisterType<Orphans>("Orphans")
      .Field("list", &Orphans::list)
      .Field("map", &Orphans::map)
      .Field("state", &Orphans::state);
  const BindingTypeInfo* orphans = bare.FindType("Orphans");
  ASSERT_NE(orphans, nullptr);
  ASSERT_EQ(orphans->fields[2].type.typeInfo, nullptr);

  const std::vector<std::function<void(Orphans&)>> fillers = {
      [](Orphans& o) { o.list = {Unlisted{}}; },
      [](Orphans& o) { o.map = {{"k", Unlisted{}}}; },
      [](Orphans&) {},  // the enumeration member has no identity to carry
  };
  for (const auto& fill : fillers) {
    Orphans record;
    fill(record);
    BindingResult result;
    FromStruct(result, &record, orphans, bare);
    EXPECT_EQ(result.ErrorMessage(), kUnregistered);

    BindingProperty output = Text("untouched");
    EXPECT_FALSE(ConvertToValue(bare, output, record));
    EXPECT_EQ(Show(output), "string untouched");
  }

  BindingProperty output = Text("untouched");
  EXPECT_FALSE(ConvertToValue(context, output, Unlisted{}));
  EXPECT_EQ(Show(output), "string untouched");
  BindingResult none;
  FromStruct(none, &output, nullptr, context);
  EXPECT_EQ(none.ErrorMessage(), kUnregistered);
}

TEST_F(ConvertToValueTest, EmptyContainersOfUnregisteredRecordsConvert) {
  BindingContext bare;
  (void)bare.RegisterType<Orphans>("Orphans")
      .Field("list", &Orphans::list)
      .Field("map", &Orphans::map);
  BindingProperty output;
  ASSERT_TRUE(ConvertToValue(bare, output, Orphans{}));
  EXPECT_EQ(Show(output), "{list:[],map:{}}");
}

TEST_F(ConvertToValueTest, NestedFailureIsCarriedUpUnchanged) {
  Holder holder;
  BindingProperty output;
  EXPECT_FALSE(ConvertToValue(context, output, holder));
  BindingResult result;
  FromStruct(result, &holder, context.FindType("Holder"), context);
  EXPECT_FALSE(result.Ok());
  EXPECT_EQ(Show(result.Value()), std::string("{error:string ") + kUnregistered + "}");
}

// Answers with a mark of its own, to show who converted.
class MarkingConverter final : public BindingFieldConverter {
 public:
  void ToNative(BindingResult& /*status*/, void* /*member*/, const BindingProperty& /*input*/,
                std::string_view /*path*/, const BindingTypeInfo* /*typeInfo*/,
                const BindingContext& /*context*/) const override {}
  void ToValue(BindingResult& result, const void* /*member*/, const BindingTypeInfo* /*typeInfo*/,
               const BindingContext& /*context*/) const override {
    result.Value().SetString("marked");
  }
};

TEST_F(ConvertToValueTest, OptionalMembersGoThroughTheirConverter) {
  BindingTypeBuilder builder =
      context.RegisterType<Ordered>("Ordered").Field("b", &Ordered::b).Field("a", &Ordered::a);
  BindingField& a = builder.type().fields.back();
  a.optional = true;
  a.converter = std::make_unique<MarkingConverter>();
  BindingProperty output;
  ASSERT_TRUE(ConvertToValue(context, output, Ordered{2, 1}));
  EXPECT_EQ(Show(output), "{a:string marked,b:signed 2}");
}

}  // namespace
}  // namespace zun
