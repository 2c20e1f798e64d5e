// Converting a record of twenty members (numbers, texts, an enumeration, a
// nested record and a vector of records) between a value and native memory:
// the registry-driven conversions against hand-written code over the same
// value type, and against nlohmann::json with its generated conversions for
// the same record. A final summary prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "bench/summary_runs.h"
#include "binding/binding_context.h"
#include "binding/binding_property.h"
#include "binding/binding_result.h"
#include "binding/convert_to_native.h"
#include "binding/convert_to_value.h"

namespace bench {

enum class Level : int32_t { Low = 0, Mid = 1, High = 2 };

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  std::string tag;
};

struct Order {
  int32_t id = 0;
  uint32_t count = 0;
  int64_t total = 0;
  uint64_t mask = 0;
  int16_t small = 0;
  uint8_t priority = 0;
  bool active = false;
  bool archived = false;
  float ratio = 0;
  double price = 0;
  double weight = 0;
  std::string name;
  std::string owner;
  std::string note;
  std::string region;
  Level level = Level::Low;
  Point origin;
  std::vector<Point> points;
  std::vector<std::string> tags;
  int32_t version = 0;
};

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Point, x, y, tag)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Order, id, count, total, mask, small, priority, active,
                                   archived, ratio, price, weight, name, owner, note, region,
                                   level, origin, points, tags, version)

}  // namespace bench

namespace zun {
template <> struct StaticTypeName<::bench::Level> {
  static std::string Spell() { return "enum Bench::Level"; }
};
template <> struct StaticTypeName<::bench::Point> {
  static std::string Spell() { return "struct Bench::Point"; }
};
template <> struct StaticTypeName<::bench::Order> {
  static std::string Spell() { return "struct Bench::Order"; }
};
}  // namespace zun

namespace {

using bench::Level;
using bench::Order;
using bench::Point;
using zun::BindingKind;
using zun::BindingProperty;

const zun::BindingContext& Context() {
  static zun::BindingContext* context = [] {
    auto* created = new zun::BindingContext;
    (void)created->RegisterType<Level>("Level").Value("Low", 0).Value("Mid", 1).Value("High", 2);
    (void)created->RegisterType<Point>("Point")
        .Field("x", &Point::x)
        .Field("y", &Point::y)
        .Field("tag", &Point::tag);
    (void)created->RegisterType<Order>("Order")
        .Field("id", &Order::id)
        .Field("count", &Order::count)
        .Field("total", &Order::total)
        .Field("mask", &Order::mask)
        .Field("small", &Order::small)
        .Field("priority", &Order::priority)
        .Field("active", &Order::active)
        .Field("archived", &Order::archived)
        .Field("ratio", &Order::ratio)
        .Field("price", &Order::price)
        .Field("weight", &Order::weight)
        .Field("name", &Order::name)
        .Field("owner", &Order::owner)
        .Field("note", &Order::note)
        .Field("region", &Order::region)
        .Field("level", &Order::level)
        .Field("origin", &Order::origin)
        .Field("points", &Order::points)
        .Field("tags", &Order::tags)
        .Field("version", &Order::version);
    return created;
  }();
  return *context;
}

Order SampleOrder() {
  Order order;
  order.id = 123456;
  order.count = 42;
  order.total = 9876543210;
  order.mask = 0xFFFF0000FFFFull;
  order.small = -12;
  order.priority = 7;
  order.active = true;
  order.ratio = 0.75f;
  order.price = 1999.99;
  order.weight = 12.5;
  order.name = "Quarterly restock of parts";
  order.owner = "warehouse-east";
  order.note = "deliver before noon; call ahead";
  order.region = "north";
  order.level = Level::High;
  order.origin = {10, -20, "dock"};
  for (int32_t index = 0; index < 8; ++index) {
    order.points.push_back({index, index * 2, "waypoint-" + std::to_string(index)});
  }
  order.tags = {"urgent", "fragile", "insured", "tracked"};
  order.version = 3;
  return order;
}

// Hand-written conversions over the same value type: the checks a careful
// developer would write (kind and range), without a registry.
template <typename Integer>
bool ReadSigned(const BindingProperty& record, std::string_view name, Integer& out) {
  const BindingProperty* member = record.FindMember(name);
  if (member == nullptr || member->Kind() == BindingKind::Empty) return true;
  if (member->Kind() != BindingKind::Signed) return false;
  const int64_t value = member->GetSigned();
  if (value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max())
    return false;
  out = static_cast<Integer>(value);
  return true;
}

template <typename Integer>
bool ReadUnsigned(const BindingProperty& record, std::string_view name, Integer& out) {
  const BindingProperty* member = record.FindMember(name);
  if (member == nullptr || member->Kind() == BindingKind::Empty) return true;
  if (member->Kind() != BindingKind::Unsigned) return false;
  const uint64_t value = member->GetUnsigned();
  if (value > std::numeric_limits<Integer>::max()) return false;
  out = static_cast<Integer>(value);
  return true;
}

template <typename Real>
bool ReadReal(const BindingProperty& record, std::string_view name, Real& out) {
  const BindingProperty* member = record.FindMember(name);
  if (member == nullptr || member->Kind() == BindingKind::Empty) return true;
  if (member->Kind() != BindingKind::Float) return false;
  out = static_cast<Real>(member->GetFloat());
  return true;
}

bool ReadBool(const BindingProperty& record, std::string_view name, bool& out) {
  const BindingProperty* member = record.FindMember(name);
  if (member == nullptr || member->Kind() == BindingKind::Empty) return true;
  if (member->Kind() != BindingKind::Bool) return false;
  out = member->GetBool();
  return true;
}

bool ReadText(const BindingProperty& record, std::string_view name, std::string& out) {
  const BindingProperty* member = record.FindMember(name);
  if (member == nullptr || member->Kind() == BindingKind::Empty) return true;
  if (member->Kind() != BindingKind::String) return false;
  out = std::string(member->GetString());
  return true;
}

bool ReadPoint(const BindingProperty& value, Point& point) {
  return value.Kind() == BindingKind::Structure && ReadSigned(value, "x", point.x) &&
         ReadSigned(value, "y", point.y) && ReadText(value, "tag", point.tag);
}

bool HandToNative(const BindingProperty& value, Order& order) {
  if (value.Kind() != BindingKind::Structure) return false;
  bool ok = ReadSigned(value, "id", order.id) && ReadUnsigned(value, "count", order.count) &&
            ReadSigned(value, "total", order.total) && ReadUnsigned(value, "mask", order.mask) &&
            ReadSigned(value, "small", order.small) &&
            ReadUnsigned(value, "priority", order.priority) &&
            ReadBool(value, "active", order.active) &&
            ReadBool(value, "archived", order.archived) && ReadReal(value, "ratio", order.ratio) &&
            ReadReal(value, "price", order.price) && ReadReal(value, "weight", order.weight) &&
            ReadText(value, "name", order.name) && ReadText(value, "owner", order.owner) &&
            ReadText(value, "note", order.note) && ReadText(value, "region", order.region) &&
            ReadSigned(value, "version", order.version);
  if (!ok) return false;
  const BindingProperty& level = value.Member("level");
  const int32_t number = level.GetEnum().value;
  if (level.Kind() != BindingKind::Enum || number < 0 || number > 2) return false;
  order.level = static_cast<Level>(number);
  if (!ReadPoint(value.Member("origin"), order.origin)) return false;
  const BindingProperty& points = value.Member("points");
  if (points.Kind() != BindingKind::Collection) return false;
  order.points.resize(points.Size());
  for (size_t index = 0; index < points.Size(); ++index) {
    if (!ReadPoint(points.Element(index), order.points[index])) return false;
  }
  const BindingProperty& tags = value.Member("tags");
  if (tags.Kind() != BindingKind::Collection) return false;
  order.tags.resize(tags.Size());
  for (size_t index = 0; index < tags.Size(); ++index) {
    if (tags.Element(index).Kind() != BindingKind::String) return false;
    order.tags[index] = std::string(tags.Element(index).GetString());
  }
  return true;
}

void HandPointToValue(const Point& point, BindingProperty& value) {
  value.Member("x").SetSigned(point.x);
  value.Member("y").SetSigned(point.y);
  value.Member("tag").SetString(point.tag);
}

void HandToValue(const Order& order, BindingProperty& value) {
  value.Member("id").SetSigned(order.id);
  value.Member("count").SetUnsigned(order.count);
  value.Member("total").SetSigned(order.total);
  value.Member("mask").SetUnsigned(order.mask);
  value.Member("small").SetSigned(order.small);
  value.Member("priority").SetUnsigned(order.priority);
  value.Member("active").SetBool(order.active);
  value.Member("archived").SetBool(order.archived);
  value.Member("ratio").SetFloat(order.ratio);
  value.Member("price").SetFloat(order.price);
  value.Member("weight").SetFloat(order.weight);
  value.Member("name").SetString(order.name);
  value.Member("owner").SetString(order.owner);
  value.Member("note").SetString(order.note);
  value.Member("region").SetString(order.region);
  value.Member("level").SetEnum(static_cast<int32_t>(order.level),
                                &zun::StaticType::Get<Level>());
  HandPointToValue(order.origin, value.Member("origin"));
  BindingProperty& points = value.Member("points");
  points.MakeCollection();
  points.Reserve(order.points.size());
  for (const Point& point : order.points) HandPointToValue(point, points.Append());
  BindingProperty& tags = value.Member("tags");
  tags.MakeCollection();
  tags.Reserve(order.tags.size());
  for (const std::string& tag : order.tags) tags.Append().SetString(tag);
  value.Member("version").SetSigned(order.version);
}

BindingProperty SampleValue() {
  BindingProperty value;
  if (!zun::ConvertToValue(Context(), value, SampleOrder())) std::abort();
  return value;
}

void ToNativeGeneric(benchmark::State& state) {
  const BindingProperty value = SampleValue();
  for (auto _ : state) {
    Order order;
    zun::BindingResult status;
    zun::ConvertToNative(status, order, value, "<result>", Context());
    if (!status.Ok()) state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(order);
  }
}

void ToNativeHand(benchmark::State& state) {
  const BindingProperty value = SampleValue();
  for (auto _ : state) {
    Order order;
    if (!HandToNative(value, order)) state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(order);
  }
}

void ToNativeNlohmann(benchmark::State& state) {
  const nlohmann::json json = SampleOrder();
  for (auto _ : state) {
    Order order = json.get<Order>();
    benchmark::DoNotOptimize(order);
  }
}

void ToValueGeneric(benchmark::State& state) {
  const Order order = SampleOrder();
  for (auto _ : state) {
    BindingProperty value;
    if (!zun::ConvertToValue(Context(), value, order)) state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(value);
  }
}

void ToValueHand(benchmark::State& state) {
  const Order order = SampleOrder();
  for (auto _ : state) {
    BindingProperty value;
    HandToValue(order, value);
    benchmark::DoNotOptimize(value);
  }
}

void ToValueNlohmann(benchmark::State& state) {
  const Order order = SampleOrder();
  for (auto _ : state) {
    nlohmann::json json = order;
    benchmark::DoNotOptimize(json);
  }
}

BENCHMARK(ToNativeGeneric);
BENCHMARK(ToNativeHand);
BENCHMARK(ToNativeNlohmann);
BENCHMARK(ToValueGeneric);
BENCHMARK(ToValueHand);
BENCHMARK(ToValueNlohmann);

std::map<std::string, double> gNanoseconds;

class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // CPU time: the machine may be shared.
      if (zun::bench::FeedsSummary(run)) gNanoseconds[zun::bench::SummaryName(run)] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

void PrintSummary() {
  std::printf("\n%-10s %12s %12s %12s %16s %18s\n", "direction", "generic cpu ns", "hand ns",
              "nlohmann ns", "generic/hand", "nlohmann/generic");
  for (const char* direction : {"ToNative", "ToValue"}) {
    const std::string prefix = direction;
    const double generic = gNanoseconds[prefix + "Generic"];
    const double hand = gNanoseconds[prefix + "Hand"];
    const double nlohmann = gNanoseconds[prefix + "Nlohmann"];
    if (generic == 0 || hand == 0 || nlohmann == 0) continue;
    std::printf("%-10s %12.0f %12.0f %12.0f %15.2fx %17.2fx\n", direction, generic, hand,
                nlohmann, generic / hand, nlohmann / generic);
  }
  std::printf("(generic/hand: lower is better, 1.00 = as fast as hand-written; "
              "nlohmann/generic: above 1 means faster than nlohmann)\n");
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary();
  benchmark::Shutdown();
  return 0;
}
