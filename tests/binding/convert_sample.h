// A record with a member of every native type, its registration, and a text
// rendering of each member, shared by the conversion tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_property.h"

namespace zun::conversion_test {

enum class Phase : int32_t { Idle = 0, Running = 1, Cancelling = 2, Cancelled = 3, Done = 4 };
enum class Tiny : uint8_t { Zero = 0, All = 0xFF };

struct Inner {
  int32_t count = 0;
  std::string label;
  bool operator==(const Inner&) const = default;
};

// Registered nowhere.
struct Unlisted {
  int32_t n = 0;
};

struct Holder {
  int32_t before = 0;
  Unlisted unlisted;
  int32_t after = 0;
};

struct Sample {
  bool flag = false;
  int8_t i8 = 0;
  uint8_t u8 = 0;
  int16_t i16 = 0;
  uint16_t u16 = 0;
  int32_t i32 = 0;
  uint32_t u32 = 0;
  int64_t i64 = 0;
  uint64_t u64 = 0;
  float f32 = 0;
  double f64 = 0;
  std::string text;
  BindingProperty object;
  std::vector<uint8_t> bytes;
  std::vector<std::string> texts;
  std::vector<BindingProperty> objects;
  std::vector<Inner> inners;
  std::vector<bool> flags;
  std::vector<int16_t> shorts;
  std::vector<Phase> states;
  Phase state = Phase::Idle;
  Tiny tiny = Tiny::Zero;
  Inner inner;
  std::unordered_map<std::string, int32_t> counts;
  std::unordered_map<std::string, Inner> innerMap;
};

}  // namespace zun::conversion_test

namespace zun {

template <> struct StaticTypeName<conversion_test::Phase> {
  static std::string Spell() { return "enum Orvo::Test::Phase"; }
};
template <> struct StaticTypeName<conversion_test::Tiny> {
  static std::string Spell() { return "enum Orvo::Test::Tiny"; }
};
template <> struct StaticTypeName<conversion_test::Inner> {
  static std::string Spell() { return "struct Orvo::Test::Inner"; }
};
template <> struct StaticTypeName<conversion_test::Unlisted> {
  static std::string Spell() { return "struct Orvo::Test::Unlisted"; }
};
template <> struct StaticTypeName<conversion_test::Holder> {
  static std::string Spell() { return "struct Orvo::Test::Holder"; }
};
template <> struct StaticTypeName<conversion_test::Sample> {
  static std::string Spell() { return "struct Orvo::Test::Sample"; }
};

namespace conversion_test {

inline void RegisterSample(BindingContext& context) {
  (void)context.RegisterType<Phase>("Phase")
      .Value("Idle", Phase::Idle)
      .Value("Running", Phase::Running)
      .Value("Cancelling", Phase::Cancelling)
      .Value("Cancelled", Phase::Cancelled)
      .Value("Done", Phase::Done);
  (void)context.RegisterType<Tiny>("Tiny").Value("Zero", 0).Value("All", -1);
  (void)context.RegisterType<Inner>("Inner")
      .Field("count", &Inner::count)
      .Field("label", &Inner::label);
  (void)context.RegisterType<Holder>("Holder")
      .Field("before", &Holder::before)
      .Field("unlisted", &Holder::unlisted)
      .Field("after", &Holder::after);
  (void)context.RegisterType<Sample>("Sample")
      .Field("flag", &Sample::flag)
      .Field("i8", &Sample::i8)
      .Field("u8", &Sample::u8)
      .Field("i16", &Sample::i16)
      .Field("u16", &Sample::u16)
      .Field("i32", &Sample::i32)
      .Field("u32", &Sample::u32)
      .Field("i64", &Sample::i64)
      .Field("u64", &Sample::u64)
      .Field("f32", &Sample::f32)
      .Field("f64", &Sample::f64)
      .Field("text", &Sample::text)
      .Field("object", &Sample::object)
      .Field("bytes", &Sample::bytes)
      .Field("texts", &Sample::texts)
      .Field("objects", &Sample::objects)
      .Field("inners", &Sample::inners)
      .Field("flags", &Sample::flags)
      .Field("shorts", &Sample::shorts)
      .Field("states", &Sample::states)
      .Field("state", &Sample::state)
      .Field("tiny", &Sample::tiny)
      .Field("inner", &Sample::inner)
      .Field("counts", &Sample::counts)
      .Field("innerMap", &Sample::innerMap);
}

// Values of the input side.
inline BindingProperty Text(const char* text) {
  BindingProperty value;
  value.SetString(text);
  return value;
}
inline BindingProperty Signed(int64_t number) {
  BindingProperty value;
  value.SetSigned(number);
  return value;
}
inline BindingProperty Unsigned(uint64_t number) {
  BindingProperty value;
  value.SetUnsigned(number);
  return value;
}
inline BindingProperty Float(double number) {
  BindingProperty value;
  value.SetFloat(number);
  return value;
}
inline BindingProperty Bool(bool flag) {
  BindingProperty value;
  value.SetBool(flag);
  return value;
}
inline BindingProperty Blob(std::vector<uint8_t> bytes) {
  BindingProperty value;
  value.SetBlob(std::move(bytes));
  return value;
}
inline BindingProperty Enum(int32_t number, const StaticTypeId* type) {
  BindingProperty value;
  value.SetEnum(number, type);
  return value;
}
inline BindingProperty List(std::vector<BindingProperty> elements) {
  BindingProperty value;
  value.MakeCollection();
  for (size_t index = 0; index < elements.size(); ++index) {
    value.Element(index) = elements[index];
  }
  return value;
}
inline BindingProperty Struct(std::vector<std::pair<const char*, BindingProperty>> members) {
  BindingProperty value;
  value.MakeStructure();
  for (const auto& [name, member] : members) {
    value.Member(name) = member;
  }
  return value;
}

// One canonical text per value: kinds and members in name order, e.g.
// {a:signed 1,b:[string x,empty]}.
inline std::string Show(const BindingProperty& value) {
  char number[48];
  switch (value.Kind()) {
    case BindingKind::Empty:
      return "empty";
    case BindingKind::Bool:
      return value.GetBool() ? "true" : "false";
    case BindingKind::Signed:
      return "signed " + std::to_string(value.GetSigned());
    case BindingKind::Unsigned:
      return "unsigned " + std::to_string(value.GetUnsigned());
    case BindingKind::Float:
      std::snprintf(number, sizeof number, "float %.17g", value.GetFloat());
      return number;
    case BindingKind::String:
      return "string " + std::string(value.GetString());
    case BindingKind::Blob: {
      std::string text = "blob ";
      for (const uint8_t byte : value.GetBlob()) {
        std::snprintf(number, sizeof number, "%02x", byte);
        text += number;
      }
      return text;
    }
    case BindingKind::Enum: {
      const BindingEnumPayload payload = value.GetEnum();
      return "enum " + std::to_string(payload.value) + (payload.type ? payload.type->id : "#null");
    }
    case BindingKind::Collection: {
      std::string text = "[";
      for (const BindingProperty& element : value.Elements()) {
        text += (text.size() > 1 ? "," : "") + Show(element);
      }
      return text + "]";
    }
    case BindingKind::Structure: {
      std::string text = "{";
      for (const auto [name, member] : value.Members()) {
        text += (text.size() > 1 ? "," : "") + std::string(name) + ":" + Show(member);
      }
      return text + "}";
    }
  }
  return "?";
}

template <typename Element, typename Render>
std::string ShowVector(const std::vector<Element>& elements, Render render) {
  std::string text = "[";
  for (size_t index = 0; index < elements.size(); ++index) {
    text += (index ? "," : "") + render(elements[index]);
  }
  return text + "]";
}

// Map entries in key order, so the text does not depend on hashing.
template <typename Element, typename Render>
std::string ShowMap(const std::unordered_map<std::string, Element>& entries, Render render) {
  std::map<std::string, const Element*> ordered;
  for (const auto& [key, element] : entries) {
    ordered.emplace(key, &element);
  }
  std::string text = "{";
  for (const auto& [key, element] : ordered) {
    text += (text.size() > 1 ? "," : "") + key + ":" + render(*element);
  }
  return text + "}";
}

inline std::string ShowInner(const Inner& inner) {
  return "(" + std::to_string(inner.count) + "," + inner.label + ")";
}

inline std::string ShowReal(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// The native member of that name as text.
inline std::string ShowMember(const Sample& sample, std::string_view name) {
  using std::to_string;
  const auto number = [](auto value) { return to_string(value); };
  const std::map<std::string_view, std::function<std::string()>> members = {
      {"flag", [&] { return std::string(sample.flag ? "true" : "false"); }},
      {"i8", [&] { return to_string(sample.i8); }},
      {"u8", [&] { return to_string(sample.u8); }},
      {"i16", [&] { return to_string(sample.i16); }},
      {"u16", [&] { return to_string(sample.u16); }},
      {"i32", [&] { return to_string(sample.i32); }},
      {"u32", [&] { return to_string(sample.u32); }},
      {"i64", [&] { return to_string(sample.i64); }},
      {"u64", [&] { return to_string(sample.u64); }},
      {"f32", [&] { return ShowReal(sample.f32); }},
      {"f64", [&] { return ShowReal(sample.f64); }},
      {"text", [&] { return sample.text; }},
      {"object", [&] { return Show(sample.object); }},
      {"bytes", [&] { return ShowVector(sample.bytes, [](uint8_t b) { return to_string(b); }); }},
      {"texts", [&] { return ShowVector(sample.texts, [](const std::string& t) { return t; }); }},
      {"objects", [&] { return ShowVector(sample.objects, Show); }},
      {"inners", [&] { return ShowVector(sample.inners, ShowInner); }},
      {"flags", [&] { return ShowVector(sample.flags, [](bool f) { return to_string(f); }); }},
      {"shorts", [&] { return ShowVector(sample.shorts, number); }},
      {"states", [&] {
         return ShowVector(sample.states, [](Phase p) { return to_string(static_cast<int>(p)); });
       }},
      {"state", [&] { return to_string(static_cast<int32_t>(sample.state)); }},
      {"tiny", [&] { return to_string(static_cast<uint32_t>(sample.tiny)); }},
      {"inner", [&] { return ShowInner(sample.inner); }},
      {"counts", [&] { return ShowMap(sample.counts, number); }},
      {"innerMap", [&] { return ShowMap(sample.innerMap, ShowInner); }},
  };
  const auto found = members.find(name);
  return found == members.end() ? "no member " + std::string(name) : found->second();
}

}  // namespace conversion_test
}  // namespace zun
