// Fuzz target of the record conversions: builds an arbitrary value from the
// input bytes and converts it into a record with a member of every native
// type. A failure must carry one of the conversion messages; a success must
// convert back to a value, and that value to the same record again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "binding/binding_context.h"
#include "binding/binding_property.h"
#include "binding/binding_result.h"
#include "binding/conversion_messages.h"
#include "binding/convert_to_native.h"
#include "binding/convert_to_value.h"

namespace fuzz {

enum class Phase : int32_t { Idle = 0, Running = 1, Done = 4, Minus = -1 };
enum class Tiny : uint8_t { Zero = 0, All = 0xFF };
enum class Wide : int64_t { Zero = 0, Big = 7 };
enum class Unlisted : int32_t { Zero = 0 };

struct Inner {
  int32_t count = 0;
  std::string label;
};

struct Orphan {
  int32_t n = 0;
};

struct Everything {
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
  zun::BindingProperty object;
  std::vector<uint8_t> bytes;
  std::vector<std::string> texts;
  std::vector<zun::BindingProperty> objects;
  std::vector<Inner> inners;
  std::vector<bool> flags;
  std::vector<double> reals;
  std::vector<Phase> phases;
  std::vector<std::vector<uint8_t>> blobs;
  Phase phase = Phase::Idle;
  Tiny tiny = Tiny::Zero;
  Wide wide = Wide::Zero;
  Inner inner;
  std::unordered_map<std::string, int64_t> counts;
  std::unordered_map<std::string, Inner> inners2;
  std::unordered_map<std::string, std::vector<std::string>> lists;
};

// Registered only under the flag that makes the orphan member fail.
struct WithOrphan {
  int32_t before = 0;
  Orphan orphan;
  Unlisted unlisted = Unlisted::Zero;
};

}  // namespace fuzz

namespace zun {
template <> struct StaticTypeName<fuzz::Phase> {
  static std::string Spell() { return "enum Fuzz::Phase"; }
};
template <> struct StaticTypeName<fuzz::Tiny> {
  static std::string Spell() { return "enum Fuzz::Tiny"; }
};
template <> struct StaticTypeName<fuzz::Wide> {
  static std::string Spell() { return "enum Fuzz::Wide"; }
};
template <> struct StaticTypeName<fuzz::Unlisted> {
  static std::string Spell() { return "enum Fuzz::Unlisted"; }
};
template <> struct StaticTypeName<fuzz::Inner> {
  static std::string Spell() { return "struct Fuzz::Inner"; }
};
template <> struct StaticTypeName<fuzz::Orphan> {
  static std::string Spell() { return "struct Fuzz::Orphan"; }
};
template <> struct StaticTypeName<fuzz::Everything> {
  static std::string Spell() { return "struct Fuzz::Everything"; }
};
template <> struct StaticTypeName<fuzz::WithOrphan> {
  static std::string Spell() { return "struct Fuzz::WithOrphan"; }
};
}  // namespace zun

namespace {

using fuzz::Everything;
using zun::BindingKind;
using zun::BindingProperty;
using zun::StaticType;
using zun::StaticTypeId;

constexpr const char* kFieldNames[] = {
    "flag",  "i8",     "u8",     "i16",    "u16",   "i32",   "u32",    "i64",    "u64",
    "f32",   "f64",    "text",   "object", "bytes", "texts", "objects", "inners", "flags",
    "reals", "phases", "blobs",  "phase",  "tiny",  "wide",  "inner",  "counts", "inners2",
    "lists", "count",  "label",  "before", "orphan", "unlisted"};

// Texts that reach the parsers' corners.
constexpr const char* kTexts[] = {
    "", "0", "1", "true", "false", "-1", " 12", "12 ", "0x1A", "017", "08", "nan", "inf",
    "1e-400", "1e39", "-0", "9223372036854775808", "18446744073709551616", "aGk=", "aGk",
    "a-b", "Running", "Done", "Minus", "All", "Big", "4294967297", "0x7fffffff", "-2147483649"};

const zun::BindingContext& Context() {
  static zun::BindingContext* context = [] {
    using namespace fuzz;
    auto* created = new zun::BindingContext;
    (void)created->RegisterType<Phase>("Phase")
        .Value("Idle", Phase::Idle)
        .Value("Running", Phase::Running)
        .Value("Done", Phase::Done)
        .Value("Minus", Phase::Minus);
    (void)created->RegisterType<Tiny>("Tiny").Value("Zero", 0).Value("All", -1);
    (void)created->RegisterType<Wide>("Wide").Value("Zero", 0).Value("Big", 7);
    (void)created->RegisterType<Inner>("Inner")
        .Field("count", &Inner::count)
        .Field("label", &Inner::label);
    (void)created->RegisterType<WithOrphan>("WithOrphan")
        .Field("before", &WithOrphan::before)
        .Field("orphan", &WithOrphan::orphan)
        .Field("unlisted", &WithOrphan::unlisted);
    (void)created->RegisterType<Everything>("Everything")
        .Field("flag", &Everything::flag)
        .Field("i8", &Everything::i8)
        .Field("u8", &Everything::u8)
        .Field("i16", &Everything::i16)
        .Field("u16", &Everything::u16)
        .Field("i32", &Everything::i32, "", zun::BindingFieldFlags::OmitWhenEmpty)
        .Field("u32", &Everything::u32)
        .Field("i64", &Everything::i64)
        .Field("u64", &Everything::u64)
        .Field("f32", &Everything::f32)
        .Field("f64", &Everything::f64)
        .Field("text", &Everything::text)
        .Field("object", &Everything::object)
        .Field("bytes", &Everything::bytes)
        .Field("texts", &Everything::texts)
        .Field("objects", &Everything::objects)
        .Field("inners", &Everything::inners)
        .Field("flags", &Everything::flags)
        .Field("reals", &Everything::reals)
        .Field("phases", &Everything::phases)
        .Field("blobs", &Everything::blobs)
        .Field("phase", &Everything::phase)
        .Field("tiny", &Everything::tiny)
        .Field("wide", &Everything::wide)
        .Field("inner", &Everything::inner)
        .Field("counts", &Everything::counts)
        .Field("inners2", &Everything::inners2)
        .Field("lists", &Everything::lists);
    return created;
  }();
  return *context;
}

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  [[nodiscard]] bool Done() const { return offset_ >= size_; }
  uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  uint64_t Word(size_t bytes) {
    uint64_t word = 0;
    for (size_t i = 0; i < bytes; ++i) word = (word << 8) | Byte();
    return word;
  }
  std::string Bytes(size_t count) {
    std::string text;
    while (count-- > 0 && offset_ < size_) text.push_back(static_cast<char>(data_[offset_++]));
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
};

std::string Name(Input& input) {
  const uint8_t choice = input.Byte();
  if (choice < 224) return kFieldNames[choice % std::size(kFieldNames)];
  return input.Bytes(choice % 8);
}

std::string Text(Input& input) {
  const uint8_t choice = input.Byte();
  if (choice < 160) return kTexts[choice % std::size(kTexts)];
  return input.Bytes(choice % 24);
}

const StaticTypeId* EnumType(uint8_t choice) {
  switch (choice % 4) {
    case 0: return &StaticType::Get<fuzz::Phase>();
    case 1: return &StaticType::Get<fuzz::Tiny>();
    case 2: return &StaticType::Get<fuzz::Unlisted>();
    default: return nullptr;
  }
}

void Build(Input& input, BindingProperty& value, int depth) {
  const uint8_t kind = input.Byte();
  switch (kind % 10) {
    case 0: value.Reset(); break;
    case 1: value.SetBool(input.Byte() & 1); break;
    case 2: value.SetSigned(static_cast<int64_t>(input.Word(1 + input.Byte() % 8))); break;
    case 3: value.SetUnsigned(input.Word(1 + input.Byte() % 8)); break;
    case 4: {
      const uint64_t bits = input.Word(8);
      double real;
      std::memcpy(&real, &bits, sizeof real);
      value.SetFloat(real);
      break;
    }
    case 5: value.SetString(Text(input)); break;
    case 6: {
      const std::string bytes = input.Bytes(input.Byte() % 16);
      value.SetBlob(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
      break;
    }
    case 7: value.SetEnum(static_cast<int32_t>(input.Word(4) % 9) - 2, EnumType(input.Byte())); break;
    case 8: {
      value.MakeCollection();
      const size_t count = depth < 4 ? input.Byte() % 6 : 0;
      for (size_t index = 0; index < count && !input.Done(); ++index) Build(input, value.Append(), depth + 1);
      break;
    }
    default: {
      value.MakeStructure();
      const size_t count = depth < 4 ? input.Byte() % (depth == 0 ? 24 : 6) : 0;
      for (size_t index = 0; index < count && !input.Done(); ++index) {
        Build(input, value.Member(Name(input)), depth + 1);
      }
      break;
    }
  }
}

// True when `message` is `pattern` with each %1, %2, %3 replaced by any text.
bool Matches(std::string_view pattern, std::string_view message) {
  if (pattern.empty()) return message.empty();
  if (pattern.size() >= 2 && pattern[0] == '%' && pattern[1] >= '1' && pattern[1] <= '3') {
    for (size_t taken = 0; taken <= message.size(); ++taken) {
      if (Matches(pattern.substr(2), message.substr(taken))) return true;
    }
    return false;
  }
  return !message.empty() && pattern[0] == message[0] &&
         Matches(pattern.substr(1), message.substr(1));
}

bool IsConversionMessage(std::string_view message) {
  namespace msg = zun::conversion_messages;
  for (const char* pattern :
       {msg::kRequired, msg::kBoolFormat, msg::kBoolInvalidType, msg::kNumberFormat,
        msg::kNumberRange, msg::kNumberInvalidType, msg::kTextInvalidType, msg::kTextEnumValue,
        msg::kBlobCharacters, msg::kBlobInvalidType, msg::kEnumInvalidType, msg::kEnumValue,
        msg::kStructUnregistered, msg::kStructNotStructure, msg::kStructMissingRequired,
        msg::kVectorNotCollection, msg::kMapNotStructure}) {
    if (Matches(pattern, message)) return true;
  }
  return false;
}

[[noreturn]] void Crash(const char* what, std::string_view detail) {
  std::fprintf(stderr, "%s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

// Renders a value canonically, for comparing two conversions' outputs.
void Show(const BindingProperty& value, std::string& out) {
  char number[48];
  out += static_cast<char>('0' + static_cast<int>(value.Kind()));
  switch (value.Kind()) {
    case BindingKind::Bool: out += value.GetBool() ? 't' : 'f'; break;
    case BindingKind::Signed: out += std::to_string(value.GetSigned()); break;
    case BindingKind::Unsigned: out += std::to_string(value.GetUnsigned()); break;
    case BindingKind::Float:
      std::snprintf(number, sizeof number, "%a", value.GetFloat());
      out += number;
      break;
    case BindingKind::String: out += value.GetString(); break;
    case BindingKind::Blob: out.append(reinterpret_cast<const char*>(value.GetBlob().data()), value.GetBlob().size()); break;
    case BindingKind::Enum: out += std::to_string(value.GetEnum().value); break;
    case BindingKind::Collection:
      for (const BindingProperty& element : value.Elements()) Show(element, out += ',');
      break;
    case BindingKind::Structure:
      for (const auto [name, member] : value.Members()) Show(member, (out += ',') += name);
      break;
    default: break;
  }
  out += ';';
}

template <typename Record>
void Check(const BindingProperty& value) {
  const zun::BindingContext& context = Context();
  Record record;
  zun::BindingResult status;
  zun::ConvertToNative(status, record, value, "<result>", context);
  if (!status.Ok()) {
    if (!IsConversionMessage(status.ErrorMessage())) Crash("unexpected message", status.ErrorMessage());
    return;
  }
  BindingProperty first;
  if (!zun::ConvertToValue(context, first, record)) Crash("no value of a converted record", "");
  Record again;
  zun::ConvertToNative(status, again, first, "<result>", context);
  if (!status.Ok()) Crash("converted value did not convert back", status.ErrorMessage());
  BindingProperty second;
  if (!zun::ConvertToValue(context, second, again)) Crash("no value of a converted record", "");
  std::string firstText;
  std::string secondText;
  Show(first, firstText);
  Show(second, secondText);
  if (firstText != secondText) Crash("round trip changed the record", firstText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input(data, size);
  const bool orphan = (input.Byte() & 7) == 0;
  BindingProperty value;
  Build(input, value, 0);
  if (orphan) {
    fuzz::WithOrphan record;
    zun::BindingResult status;
    zun::ConvertToNative(status, record, value, "<result>", Context());
    if (!status.Ok() && !IsConversionMessage(status.ErrorMessage())) {
      Crash("unexpected message", status.ErrorMessage());
    }
  } else {
    Check<Everything>(value);
  }
  return 0;
}
