// The registry: type, event and function registration with the skip rule,
// field derivation, lookups by name and identity, snapshots and removal.
#include "binding/binding_context.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "binding/binding_property.h"

namespace zun {
namespace {

enum class Color : int32_t { Red = 1, Green = 2 };
enum class Tiny : uint8_t { A = 1 };

struct Point {
  int32_t x = 0;
  int32_t y = 0;
};

struct Sample {
  bool flag = false;
  int32_t count = 0;
  uint32_t total = 0;
  std::string label;
  BindingProperty data;
  std::vector<std::string> names;
  std::vector<BindingProperty> values;
  std::vector<Point> points;
  Point origin;
  Color color = Color::Red;
};

struct Unregistered {
  int32_t value = 0;
};

struct Holder {
  Unregistered inner;
  std::vector<Unregistered> inners;
};

}  // namespace

template <> struct StaticTypeName<Color> {
  static std::string Spell() { return "enum Orvo::Test::Color"; }
};
template <> struct StaticTypeName<Tiny> {
  static std::string Spell() { return "enum Orvo::Test::Tiny"; }
};
template <> struct StaticTypeName<Point> {
  static std::string Spell() { return "struct Orvo::Test::Point"; }
};
template <> struct StaticTypeName<Sample> {
  static std::string Spell() { return "struct Orvo::Test::Sample"; }
};
template <> struct StaticTypeName<Unregistered> {
  static std::string Spell() { return "struct Orvo::Test::Unregistered"; }
};
template <> struct StaticTypeName<Holder> {
  static std::string Spell() { return "struct Orvo::Test::Holder"; }
};

namespace {

using Code = BindingNativeType;

TEST(BindingNativeTypeTest, NamesEveryCodeAndNothingElse) {
  const char* const expected[] = {"",       "bool",   "int8",   "uint8",    "int16",
                                  "uint16", "int32",  "uint32", "int64",    "uint64",
                                  "float",  "double", "string", "object",   "blob",
                                  "vector", "enum",   "struct", "callback", "map"};
  for (uint32_t code = 0; code < 20; ++code) {
    SCOPED_TRACE(code);
    EXPECT_STREQ(BindingNativeTypeName(static_cast<Code>(code)), expected[code]);
  }
  EXPECT_STREQ(BindingNativeTypeName(static_cast<Code>(20)), "");
  EXPECT_STREQ(BindingNativeTypeName(static_cast<Code>(0xFFFFFFFFu)), "");
}

// A context with the point record, the color enumeration and the sample
// record registered, in an order where every referenced type comes first.
class RegisteredSampleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    (void)context.RegisterType<Color>("Color").Value("Red", Color::Red).Value("Green", Color::Green);
    (void)context.RegisterType<Point>("Point").Field("x", &Point::x).Field("y", &Point::y);
    (void)context.RegisterType<Sample>("Sample")
        .Description("A sample.")
        .Field("flag", &Sample::flag, "Flag")
        .Field("count", &Sample::count)
        .Field("total", &Sample::total)
        .Field("label", &Sample::label)
        .Field("data", &Sample::data)
        .Field("names", &Sample::names)
        .Field("values", &Sample::values)
        .Field("points", &Sample::points)
        .Field("origin", &Sample::origin)
        .Field("color", &Sample::color);
  }

  BindingContext context;
};

TEST_F(RegisteredSampleTest, RecordCarriesItsNativeLayout) {
  const BindingTypeInfo* sample = context.FindType("Sample");
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->size, sizeof(Sample));
  EXPECT_FALSE(sample->isEnum);
  EXPECT_EQ(sample->name, "Sample");
  EXPECT_EQ(sample->identity, &StaticType::Get<Sample>());
  EXPECT_EQ(sample->hash, StaticType::HashCode<Sample>());
  EXPECT_EQ(sample->nameSpace, "");
  EXPECT_EQ(sample->description, "A sample.");
  EXPECT_EQ(sample->context, &context);
  EXPECT_EQ(context.FindType<Sample>(), sample);
}

TEST_F(RegisteredSampleTest, FieldsDeriveTheirTypesFromTheMembers) {
  const BindingTypeInfo* sample = context.FindType("Sample");
  const BindingTypeInfo* point = context.FindType("Point");
  const BindingTypeInfo* color = context.FindType("Color");
  ASSERT_NE(sample, nullptr);
  struct Row {
    const char* name;
    size_t offset;
    const StaticTypeId* identity;
    Code nativeType;
    Code elementType;
    const BindingTypeInfo* typeInfo;
  };
  const Row rows[] = {
      {"flag", offsetof(Sample, flag), &StaticType::Get<bool>(), Code::Bool, Code::None, nullptr},
      {"count", offsetof(Sample, count), &StaticType::Get<int32_t>(), Code::Int32, Code::None,
       nullptr},
      {"total", offsetof(Sample, total), &StaticType::Get<uint32_t>(), Code::UInt32, Code::None,
       nullptr},
      {"label", offsetof(Sample, label), &StaticType::Get<std::string>(), Code::String,
       Code::None, nullptr},
      {"data", offsetof(Sample, data), &StaticType::Get<BindingProperty>(), Code::Object,
       Code::None, nullptr},
      {"names", offsetof(Sample, names), &StaticType::Get<std::vector<std::string>>(),
       Code::Vector, Code::String, nullptr},
      {"values", offsetof(Sample, values), &StaticType::Get<std::vector<BindingProperty>>(),
       Code::Vector, Code::Object, nullptr},
      {"points", offsetof(Sample, points), &StaticType::Get<std::vector<Point>>(), Code::Vector,
       Code::Struct, point},
      {"origin", offsetof(Sample, origin), &StaticType::Get<Point>(), Code::Struct, Code::None,
       point},
      {"color", offsetof(Sample, color), &StaticType::Get<Color>(), Code::Enum, Code::None,
       color},
  };
  ASSERT_EQ(sample->fields.size(), std::size(rows));
  for (size_t index = 0; index < std::size(rows); ++index) {
    const Row& row = rows[index];
    const BindingField& field = sample->fields[index];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(field.name, row.name);
    EXPECT_EQ(field.offset, row.offset);
    EXPECT_EQ(field.identity, row.identity);
    EXPECT_EQ(field.type.nativeType, row.nativeType);
    EXPECT_EQ(field.type.elementType, row.elementType);
    EXPECT_EQ(field.type.typeInfo, row.typeInfo);
    EXPECT_FALSE(field.publishedType.IsSet());
    EXPECT_EQ(field.flags, BindingFieldFlags::None);
    EXPECT_FALSE(field.optional);
    EXPECT_NE(field.converter, nullptr);
    EXPECT_EQ(field.owner, sample);
  }
  EXPECT_EQ(sample->fields[0].description, "Flag");
  EXPECT_EQ(sample->fields[1].description, "");
  EXPECT_EQ(sample->FindField("origin"), &sample->fields[8]);
  EXPECT_EQ(sample->FindField("missing"), nullptr);
}

TEST(BindingTypeBuilderTest, ScalarWidthsAndContainersGetTheirCodes) {
  struct Wide {
    int8_t i8;
    uint8_t u8;
    int16_t i16;
    uint16_t u16;
    int64_t i64;
    uint64_t u64;
    float f;
    double d;
    std::vector<uint8_t> bytes;
    std::unordered_map<std::string, int32_t> counts;
  };
  EXPECT_EQ(NativeTypeOf<int8_t>(), Code::Int8);
  EXPECT_EQ(NativeTypeOf<uint8_t>(), Code::UInt8);
  EXPECT_EQ(NativeTypeOf<int16_t>(), Code::Int16);
  EXPECT_EQ(NativeTypeOf<uint16_t>(), Code::UInt16);
  EXPECT_EQ(NativeTypeOf<int64_t>(), Code::Int64);
  EXPECT_EQ(NativeTypeOf<uint64_t>(), Code::UInt64);
  EXPECT_EQ(NativeTypeOf<float>(), Code::Float);
  EXPECT_EQ(NativeTypeOf<double>(), Code::Double);
  EXPECT_EQ(NativeTypeOf<std::vector<uint8_t>>(), Code::ByteArray);
  EXPECT_EQ(ElementTypeOf<std::vector<uint8_t>>(), Code::None);
  EXPECT_EQ((NativeTypeOf<std::unordered_map<std::string, int32_t>>()), Code::Map);
  EXPECT_EQ((ElementTypeOf<std::unordered_map<std::string, Point>>()), Code::Struct);
  EXPECT_EQ((std::is_same_v<ReferencedTypeOf<std::unordered_map<std::string, Color>>, Color>),
            true);
  EXPECT_EQ(NativeTypeOf<Tiny>(), Code::Enum);
  EXPECT_EQ(BindingTypeBuilder::MemberOffset(&Wide::counts), offsetof(Wide, counts));
  EXPECT_EQ(BindingTypeBuilder::MemberOffset(&Wide::d), offsetof(Wide, d));
}

TEST(BindingTypeBuilderTest, MembersOfUnregisteredTypesHaveNoTypeInfo) {
  BindingContext context;
  (void)context.RegisterType<Holder>("Holder")
      .Field("inner", &Holder::inner)
      .Field("inners", &Holder::inners);
  const BindingTypeInfo* holder = context.FindType("Holder");
  ASSERT_NE(holder, nullptr);
  ASSERT_EQ(holder->fields.size(), 2u);
  EXPECT_EQ(holder->fields[0].type.nativeType, Code::Struct);
  EXPECT_EQ(holder->fields[0].type.typeInfo, nullptr);
  EXPECT_EQ(holder->fields[1].type.nativeType, Code::Vector);
  EXPECT_EQ(holder->fields[1].type.elementType, Code::Struct);
  EXPECT_EQ(holder->fields[1].type.typeInfo, nullptr);
}

TEST(BindingTypeBuilderTest, PublishedTypeIsKeptOnlyWhenSet) {
  BindingContext context;
  const BindingTypeRef published{Code::String, Code::None, nullptr};
  (void)context.RegisterType<Point>("Point")
      .FieldAt<int32_t>("x", 0, "X", BindingFieldFlags::Required, published)
      .FieldAt<int32_t>("y", 4, "", BindingFieldFlags::OmitWhenEmpty,
                        BindingTypeRef{Code::None, Code::String, nullptr});
  const BindingTypeInfo* point = context.FindType("Point");
  ASSERT_NE(point, nullptr);
  ASSERT_EQ(point->fields.size(), 2u);
  EXPECT_EQ(point->fields[0].publishedType.nativeType, Code::String);
  EXPECT_TRUE(point->fields[0].HasFlag(BindingFieldFlags::Required));
  EXPECT_FALSE(point->fields[0].HasFlag(BindingFieldFlags::OmitWhenEmpty));
  // A published type whose code is 0 is not copied, element code included.
  EXPECT_EQ(point->fields[1].publishedType.elementType, Code::None);
  EXPECT_TRUE(point->fields[1].HasFlag(BindingFieldFlags::OmitWhenEmpty));
}

TEST(BindingTypeBuilderTest, EnumerationsKeepOneEnumeratorPerNameInNameOrder) {
  BindingContext context;
  BindingTypeBuilder builder = context.RegisterType<Tiny>("Tiny");
  builder.Value("Running", 1, "first").Value("Create", 0).Value("Running", 7, "second");
  const BindingTypeInfo* tiny = context.FindType("Tiny");
  ASSERT_NE(tiny, nullptr);
  EXPECT_TRUE(tiny->isEnum);
  EXPECT_EQ(tiny->size, 1u);
  ASSERT_EQ(tiny->enumValues.size(), 2u);
  const BindingEnumValue* running = tiny->FindEnumValue("Running");
  ASSERT_NE(running, nullptr);
  EXPECT_EQ(running->value, 7);
  EXPECT_EQ(running->description, "second");
  EXPECT_EQ(running->owner, tiny);
  EXPECT_EQ(tiny->enumValues.begin()->first, "Create");
  EXPECT_EQ(tiny->FindEnumValue(7), running);
  EXPECT_EQ(tiny->FindEnumValue(1), nullptr);
}

TEST(BindingTypeBuilderTest, FirstEnumeratorInNameOrderWinsALookupByValue) {
  BindingContext context;
  (void)context.RegisterType<Color>("Color").Value("b", 1).Value("a", 1).Value("c", 1);
  const BindingTypeInfo* color = context.FindType("Color");
  ASSERT_NE(color, nullptr);
  ASSERT_NE(color->FindEnumValue(1), nullptr);
  EXPECT_EQ(color->FindEnumValue(1)->name, "a");
}

TEST(BindingTypeBuilderTest, TagsKeepTheirOrderAndIgnoreEmptyTexts) {
  BindingContext context;
  (void)context.RegisterType<Point>("Point").Tag("one").Tag("").Tags({"two", "", "three"});
  const BindingTypeInfo* point = context.FindType("Point");
  ASSERT_NE(point, nullptr);
  EXPECT_EQ(point->tags, (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_TRUE(point->HasTag("two"));
  EXPECT_FALSE(point->HasTag(""));
}

TEST(BindingContextTest, SecondRegistrationOfANameLeavesTheFirstWhole) {
  BindingContext context;
  BindingTypeBuilder first = context.RegisterType<Color>("BindingAsyncState");
  first.Description("first").Tag("a").Value("Running", 1);
  EXPECT_FALSE(first.skipped());

  BindingTypeBuilder second = context.RegisterType<Tiny>("BindingAsyncState");
  EXPECT_TRUE(second.skipped());
  EXPECT_EQ(&second.type(), &first.type());
  second.Description("second").Tag("b").Value("Running", 9).Value("Failed", 5)
      .Field("x", &Point::x);

  const BindingTypeInfo* state = context.FindType("BindingAsyncState");
  ASSERT_EQ(state, &first.type());
  EXPECT_EQ(state->description, "first");
  EXPECT_EQ(state->tags, std::vector<std::string>{"a"});
  ASSERT_EQ(state->enumValues.size(), 1u);
  EXPECT_EQ(state->enumValues.at("Running").value, 1);
  EXPECT_TRUE(state->fields.empty());
  EXPECT_EQ(state->identity, &StaticType::Get<Color>());
  // The skipped registration did not take the identity slot either.
  EXPECT_EQ(context.FindType<Tiny>(), nullptr);
}

TEST(BindingContextTest, LaterNameOfOneNativeTypeIsFoundByIdentity) {
  BindingContext context;
  (void)context.RegisterType<Point>("First");
  (void)context.RegisterType<Point>("Second");
  const BindingTypeInfo* first = context.FindType("First");
  const BindingTypeInfo* second = context.FindType("Second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(context.FindType<Point>(), second);
  EXPECT_EQ(context.FindTypeByHash(StaticType::HashCode<Point>()), second);

  // Removing the earlier name leaves the later one reachable by identity.
  EXPECT_TRUE(context.RemoveType("First"));
  EXPECT_EQ(context.FindType<Point>(), second);
  EXPECT_TRUE(context.RemoveType("Second"));
  EXPECT_EQ(context.FindType<Point>(), nullptr);
}

TEST(BindingContextTest, TypeUnderTheVoidIdentityIsFoundByNameOnly) {
  BindingContext context;
  BindingTypeBuilder builder = context.RegisterType<void>("Nothing");
  EXPECT_FALSE(builder.skipped());
  const BindingTypeInfo* nothing = context.FindType("Nothing");
  ASSERT_NE(nothing, nullptr);
  EXPECT_EQ(nothing->size, 0u);
  EXPECT_EQ(nothing->identity, &StaticType::Get<void>());
  EXPECT_EQ(context.FindType<void>(), nullptr);
  EXPECT_EQ(context.FindTypeByHash(StaticType::HashCode<void>()), nullptr);
  EXPECT_TRUE(context.RemoveType("Nothing"));
  EXPECT_EQ(context.FindType("Nothing"), nullptr);
}

TEST(BindingContextTest, UnknownNamesAndIdentitiesAreNull) {
  BindingContext context;
  EXPECT_EQ(context.FindType("Point"), nullptr);
  EXPECT_EQ(context.FindType<Point>(), nullptr);
  EXPECT_EQ(context.FindEvent("OnPoint"), nullptr);
  EXPECT_EQ(context.FindFunction("point"), nullptr);
  EXPECT_FALSE(context.RemoveType("Point"));
  EXPECT_FALSE(context.RemoveEvent("OnPoint"));
  EXPECT_FALSE(context.RemoveFunction("point"));
}

TEST(BindingContextTest, EventsFindTheirPayloadAndKeepTheFirstDefinition) {
  BindingContext context;
  (void)context.RegisterType<Point>("Point");
  BindingEventBuilder first = context.RegisterEvent<Point>("OnPoint");
  first.Description("Moved.").Tag("").Tag("$builtin");
  BindingEventBuilder second = context.RegisterEvent<Sample>("OnPoint");
  EXPECT_TRUE(second.skipped());
  second.Description("Other.").Tag("other");

  const BindingEvent* event = context.FindEvent("OnPoint");
  ASSERT_EQ(event, &first.event());
  EXPECT_EQ(event->name, "OnPoint");
  EXPECT_EQ(event->payloadType, context.FindType("Point"));
  EXPECT_EQ(event->description, "Moved.");
  EXPECT_EQ(event->tags, std::vector<std::string>{"$builtin"});
  EXPECT_EQ(event->nameSpace, "");

  const BindingEventBuilder orphan = context.RegisterEvent<Unregistered>("OnOrphan");
  EXPECT_FALSE(orphan.skipped());
  EXPECT_EQ(orphan.event().payloadType, nullptr);
}

// Counts destructions, to show who destroys a function's callable and when.
class CountingCallable : public BindingCallable {
 public:
  explicit CountingCallable(int& destroyed) : destroyed_(destroyed) {}
  ~CountingCallable() override { ++destroyed_; }

 private:
  int& destroyed_;
};

std::unique_ptr<BindingFunction> MakeFunction(const char* name, int& destroyed) {
  auto function = std::make_unique<BindingFunction>();
  function->name = name;
  function->callable = std::make_unique<CountingCallable>(destroyed);
  return function;
}

TEST(BindingContextTest, FunctionsAreOwnedAndKeepTheFirstDefinition) {
  int destroyed = 0;
  {
    BindingContext context;
    const BindingFunction* first = context.RegisterFunction(MakeFunction("getParty", destroyed));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->context, &context);
    EXPECT_EQ(context.RegisterFunction(MakeFunction("getParty", destroyed)), nullptr);
    EXPECT_EQ(destroyed, 1);  // the rejected duplicate
    EXPECT_EQ(context.FindFunction("getParty"), first);
    EXPECT_EQ(context.RegisterFunction(nullptr), nullptr);

    EXPECT_TRUE(context.RemoveFunction("getParty"));
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(context.FindFunction("getParty"), nullptr);
    (void)context.RegisterFunction(MakeFunction("other", destroyed));
  }
  EXPECT_EQ(destroyed, 3);  // destroyed with the context
}

TEST(BindingContextTest, SnapshotsAreCopiesOfTheMaps) {
  BindingContext context;
  (void)context.RegisterType<Point>("Point");
  (void)context.RegisterType<Color>("Color");
  (void)context.RegisterEvent<Point>("OnPoint");
  int destroyed = 0;
  (void)context.RegisterFunction(MakeFunction("f", destroyed));

  const auto types = context.SnapshotTypes();
  const auto events = context.SnapshotEvents();
  const auto functions = context.SnapshotFunctions();
  (void)context.RegisterType<Sample>("Sample");

  ASSERT_EQ(types.size(), 2u);
  EXPECT_EQ(types.at("Point"), context.FindType("Point"));
  EXPECT_EQ(types.at("Color"), context.FindType("Color"));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events.at("OnPoint"), context.FindEvent("OnPoint"));
  ASSERT_EQ(functions.size(), 1u);
  EXPECT_EQ(functions.at("f"), context.FindFunction("f"));
  EXPECT_EQ(context.SnapshotTypes().size(), 3u);
}

TEST(BindingContextTest, RemoveAllEmptiesEveryMap) {
  BindingContext context;
  (void)context.RegisterType<Point>("Point");
  (void)context.RegisterEvent<Point>("OnPoint");
  int destroyed = 0;
  (void)context.RegisterFunction(MakeFunction("f", destroyed));
  context.set_initialised(true);
  context.RemoveAll();
  EXPECT_TRUE(context.SnapshotTypes().empty());
  EXPECT_TRUE(context.SnapshotEvents().empty());
  EXPECT_TRUE(context.SnapshotFunctions().empty());
  EXPECT_EQ(context.FindType<Point>(), nullptr);
  EXPECT_EQ(destroyed, 1);
  // Registration after removal starts from a clean registry.
  BindingTypeBuilder again = context.RegisterType<Point>("Point");
  EXPECT_FALSE(again.skipped());
  EXPECT_EQ(context.FindType<Point>(), &again.type());
}

// Readers look types, events and functions up and take snapshots while a
// writer keeps registering new entries; every reader sees either nothing or
// a complete entry under each name.
TEST(BindingContextTest, LookupsRunConcurrentlyWithSnapshotsAndRegistrations) {
  BindingContext context;
  (void)context.RegisterType<Point>("Point").Field("x", &Point::x).Field("y", &Point::y);
  (void)context.RegisterEvent<Point>("OnPoint");
  constexpr int kRegistrations = 300;
  std::atomic<bool> writing{true};
  std::atomic<int> failures{0};

  auto reader = [&] {
    int rounds = 0;
    while (writing.load() || rounds < 10) {
      ++rounds;
      const BindingTypeInfo* point = context.FindType<Point>();
      if (point == nullptr || point->fields.size() != 2 || context.FindType("Point") != point) {
        ++failures;
      }
      const BindingEvent* event = context.FindEvent("OnPoint");
      if (event == nullptr || event->payloadType != point) {
        ++failures;
      }
      for (const auto& [name, type] : context.SnapshotTypes()) {
        if (type == nullptr || type->name != name) {
          ++failures;
        }
      }
      (void)context.SnapshotEvents();
      (void)context.FindFunction("f0");
    }
  };
  std::vector<std::thread> readers;
  for (int index = 0; index < 3; ++index) {
    readers.emplace_back(reader);
  }
  for (int index = 0; index < kRegistrations; ++index) {
    const std::string number = std::to_string(index);
    (void)context.RegisterType<void>(std::string("Type").append(number));
    (void)context.RegisterEvent<Point>(std::string("OnType").append(number));
    auto function = std::make_unique<BindingFunction>();
    function->name = std::string("f").append(number);
    (void)context.RegisterFunction(std::move(function));
  }
  writing.store(false);
  for (std::thread& thread : readers) {
    thread.join();
  }
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(context.SnapshotTypes().size(), static_cast<size_t>(kRegistrations + 1));
  EXPECT_EQ(context.SnapshotEvents().size(), static_cast<size_t>(kRegistrations + 1));
  EXPECT_EQ(context.SnapshotFunctions().size(), static_cast<size_t>(kRegistrations));
}

}  // namespace
}  // namespace zun
