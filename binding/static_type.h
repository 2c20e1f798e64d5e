// Process-wide identities of native types: a 32-bit hash of the type's
// signature text and its printable id text ("#%08X"). No run-time type
// information is used; each type is spelled by `StaticTypeName`.
//
// A type takes part in binding once it has a spelling, declared next to the
// type with one line:
//
//   template <> struct StaticTypeName<MyRecord>
//       : StaticTypeSpelledAs<spelling::kMyRecord> {};
//
// Strings and vectors of spelled types are spelled automatically.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "binding/static_type_spellings.h"

namespace zun {

// One per native type, in static storage, never freed. Identities compare by
// hash; `id` points at "#" and eight upper-case hex digits.
struct StaticTypeId {
  uint32_t hash;
  const char* id;
};

// Spelling of a native type. Specialisations provide `static std::string
// Spell()`; a type without one does not compile where its identity is asked.
template <typename T>
struct StaticTypeName;

template <const char* Spelling>
struct StaticTypeSpelledAs {
  [[nodiscard]] static std::string Spell() { return Spelling; }
};

template <typename T>
[[nodiscard]] std::string SpellStaticType() {
  return StaticTypeName<T>::Spell();
}

// Appends the ">" closing a template argument list; a ">" that follows
// another ">" is preceded by a blank.
void CloseTemplateArguments(std::string& text);

// "unsigned int __cdecl StaticType::HashCode<" + spelling + ">(void)".
[[nodiscard]] std::string StaticTypeSignature(std::string_view spelling);

// Hash of the signature text of a spelling; what `StaticType::HashCode`
// yields for the type so spelled.
[[nodiscard]] uint32_t StaticTypeHashOfSpelling(std::string_view spelling);

class StaticType {
 public:
  // The identity of T, computed on the first call (thread-safe) and the same
  // record on every later call.
  template <typename T>
  [[nodiscard]] static const StaticTypeId& Get();

  template <typename T>
  [[nodiscard]] static uint32_t HashCode() {
    return Get<T>().hash;
  }

  template <typename T>
  [[nodiscard]] static std::string Signature() {
    return StaticTypeSignature(SpellStaticType<T>());
  }

  // True for the identity of `void`, which stands for "no native type".
  [[nodiscard]] static bool IsVoid(const StaticTypeId& identity);
};

namespace static_type_detail {

// Holds an identity and the id text that it points at, side by side, so that
// both share the static lifetime of the record.
class StaticTypeRecord {
 public:
  explicit StaticTypeRecord(std::string_view spelling);
  StaticTypeRecord(const StaticTypeRecord&) = delete;
  StaticTypeRecord& operator=(const StaticTypeRecord&) = delete;

  [[nodiscard]] const StaticTypeId& Id() const { return id_; }

 private:
  static constexpr size_t kIdTextSize = 10;  // "#", 8 hex digits, NUL

  StaticTypeId id_;
  char text_[kIdTextSize];
};

}  // namespace static_type_detail

template <typename T>
const StaticTypeId& StaticType::Get() {
  if constexpr (!std::is_same_v<T, std::remove_cv_t<T>>) {
    return Get<std::remove_cv_t<T>>();
  } else {
    static const static_type_detail::StaticTypeRecord record(SpellStaticType<T>());
    return record.Id();
  }
}

// Built-in types. Integer types of the same width but distinct C++ types keep
// their own keywords, as the native compiler spells them.
template <> struct StaticTypeName<bool> : StaticTypeSpelledAs<spelling::kBool> {};
template <> struct StaticTypeName<char> : StaticTypeSpelledAs<spelling::kChar> {};
template <> struct StaticTypeName<signed char> : StaticTypeSpelledAs<spelling::kSignedChar> {};
template <> struct StaticTypeName<unsigned char> : StaticTypeSpelledAs<spelling::kUnsignedChar> {};
template <> struct StaticTypeName<short> : StaticTypeSpelledAs<spelling::kShort> {};
template <> struct StaticTypeName<unsigned short>
    : StaticTypeSpelledAs<spelling::kUnsignedShort> {};
template <> struct StaticTypeName<int> : StaticTypeSpelledAs<spelling::kInt> {};
template <> struct StaticTypeName<unsigned int> : StaticTypeSpelledAs<spelling::kUnsignedInt> {};
template <> struct StaticTypeName<long long> : StaticTypeSpelledAs<spelling::kInt64> {};
template <> struct StaticTypeName<unsigned long long>
    : StaticTypeSpelledAs<spelling::kUnsignedInt64> {};
template <> struct StaticTypeName<float> : StaticTypeSpelledAs<spelling::kFloat> {};
template <> struct StaticTypeName<double> : StaticTypeSpelledAs<spelling::kDouble> {};
template <> struct StaticTypeName<void> : StaticTypeSpelledAs<spelling::kVoid> {};

// `long` is 32 bits on the production target and spelled "long" there; where
// it is 64 bits wide it is the type behind int64_t and spelled as the 64-bit
// keyword, so fixed-width members get the same identity on every build.
template <>
struct StaticTypeName<long>
    : StaticTypeSpelledAs<sizeof(long) == 8 ? spelling::kInt64 : spelling::kLong> {};
template <>
struct StaticTypeName<unsigned long>
    : StaticTypeSpelledAs<sizeof(unsigned long) == 8 ? spelling::kUnsignedInt64
                                                     : spelling::kUnsignedLong> {};

template <typename T>
struct StaticTypeName<const T> : StaticTypeName<T> {};

template <>
struct StaticTypeName<std::string> : StaticTypeSpelledAs<spelling::kString> {};

template <typename Element>
struct StaticTypeName<std::vector<Element>> {
  [[nodiscard]] static std::string Spell() {
    const std::string element = SpellStaticType<Element>();
    std::string text = "class std::vector<" + element + ",class std::allocator<" + element;
    CloseTemplateArguments(text);
    CloseTemplateArguments(text);
    return text;
  }
};

// Hash maps keyed by string, the native form of map members.
template <typename Element>
struct StaticTypeName<std::unordered_map<std::string, Element>> {
  [[nodiscard]] static std::string Spell() {
    const std::string key = SpellStaticType<std::string>();
    const std::string element = SpellStaticType<Element>();
    std::string text = "class std::unordered_map<" + key + "," + element + ",struct std::hash<" + key;
    CloseTemplateArguments(text);
    text += ",struct std::equal_to<" + key;
    CloseTemplateArguments(text);
    text += ",class std::allocator<struct std::pair<" + key + " const ," + element;
    CloseTemplateArguments(text);
    CloseTemplateArguments(text);
    CloseTemplateArguments(text);
    return text;
  }
};

class BindingProperty;
template <>
struct StaticTypeName<BindingProperty> : StaticTypeSpelledAs<spelling::kBindingProperty> {};

}  // namespace zun
