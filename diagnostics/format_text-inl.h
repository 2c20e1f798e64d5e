// Templates of FormatText: how each static argument type becomes a formatter kind.
// Included from format_text.h only.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

namespace zun {
namespace format_detail {

// Hides outer `ToText` overloads so only those found by argument-dependent lookup apply.
void ToText() = delete;

template <typename T>
concept WideCharacter = std::same_as<T, wchar_t> || std::same_as<T, char8_t> ||
                        std::same_as<T, char16_t> || std::same_as<T, char32_t>;

template <typename T>
concept IntegerArgument = std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
                          !WideCharacter<T>;

template <typename T>
concept Signed32Argument = IntegerArgument<T> && std::signed_integral<T> && sizeof(T) <= 4;
template <typename T>
concept Signed64Argument = IntegerArgument<T> && std::signed_integral<T> && sizeof(T) == 8;
template <typename T>
concept Unsigned32Argument = IntegerArgument<T> && std::unsigned_integral<T> && sizeof(T) <= 4;
template <typename T>
concept Unsigned64Argument = IntegerArgument<T> && std::unsigned_integral<T> && sizeof(T) == 8;
template <typename T>
concept DoubleArgument = std::same_as<T, float> || std::same_as<T, double>;
template <typename T>
concept CharacterPointer = std::same_as<T, const char*> || std::same_as<T, char*>;
template <typename T>
concept CharacterArray =
    std::is_array_v<T> && std::extent_v<T> != 0 && std::same_as<std::remove_cv_t<std::remove_extent_t<T>>, char>;
template <typename T>
concept StringArgument = std::same_as<T, std::string> || std::same_as<T, std::string_view>;

template <typename T>
concept BuiltinArgument = std::same_as<T, bool> || std::same_as<T, char> || IntegerArgument<T> ||
                          DoubleArgument<T> || CharacterPointer<T> || CharacterArray<T> ||
                          StringArgument<T>;

template <typename T>
concept TextConvertible = !BuiltinArgument<T> && requires(const T& value) {
  { ToText(value) } -> std::convertible_to<std::string>;
};

// One argument, held in the form its kind renders, for the length of one call.
template <typename T>
struct FormatSlot {
  static_assert(sizeof(T) == 0,
                "FormatText cannot render this type: give it a `std::string ToText(const T&)`");
};

template <Signed32Argument T>
struct FormatSlot<T> {
  explicit FormatSlot(T argument) : value(static_cast<int32_t>(argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kSigned32; }
  const void* Value() const { return &value; }
  int32_t value;
};

template <Signed64Argument T>
struct FormatSlot<T> {
  explicit FormatSlot(T argument) : value(static_cast<int64_t>(argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kSigned64; }
  const void* Value() const { return &value; }
  int64_t value;
};

template <Unsigned32Argument T>
struct FormatSlot<T> {
  explicit FormatSlot(T argument) : value(static_cast<uint32_t>(argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kUnsigned32; }
  const void* Value() const { return &value; }
  uint32_t value;
};

template <Unsigned64Argument T>
struct FormatSlot<T> {
  explicit FormatSlot(T argument) : value(static_cast<uint64_t>(argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kUnsigned64; }
  const void* Value() const { return &value; }
  uint64_t value;
};

template <DoubleArgument T>
struct FormatSlot<T> {
  explicit FormatSlot(T argument) : value(static_cast<double>(argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kDouble; }
  const void* Value() const { return &value; }
  double value;
};

template <>
struct FormatSlot<bool> {
  explicit FormatSlot(bool argument) : value(argument ? "true" : "false") {}
  const FormatArgument& Kind() const { return format_kinds::kCString; }
  const void* Value() const { return value; }
  const char* value;
};

template <>
struct FormatSlot<char> {
  explicit FormatSlot(char argument) : text{argument, '\0'} {}
  const FormatArgument& Kind() const { return format_kinds::kCString; }
  const void* Value() const { return text; }
  char text[2];
};

template <CharacterPointer T>
struct FormatSlot<T> {
  explicit FormatSlot(const char* argument) : value(argument) {}
  const FormatArgument& Kind() const { return format_kinds::kCString; }
  const void* Value() const { return value; }
  const char* value;
};

// A char array need not be terminated: only the characters before a NUL count.
template <CharacterArray T>
struct FormatSlot<T> {
  explicit FormatSlot(const T& argument)
      : value(argument, static_cast<size_t>(std::find(argument, argument + std::extent_v<T>, '\0') - argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kStringView; }
  const void* Value() const { return &value; }
  std::string_view value;
};

template <StringArgument T>
struct FormatSlot<T> {
  explicit FormatSlot(const T& argument) : value(argument) {}
  const FormatArgument& Kind() const { return format_kinds::kStringView; }
  const void* Value() const { return &value; }
  std::string_view value;
};

template <TextConvertible T>
struct FormatSlot<T> {
  explicit FormatSlot(const T& argument) : value(ToText(argument)) {}
  const FormatArgument& Kind() const { return format_kinds::kString; }
  const void* Value() const { return &value; }
  std::string value;
};

}  // namespace format_detail

template <typename... Args>
std::string FormatText(const char* format, const Args&... args) {
  if constexpr (sizeof...(Args) == 0) {
    return format_detail::RenderText(format, nullptr, nullptr, 0);
  } else {
    const std::tuple<format_detail::FormatSlot<Args>...> slots(args...);
    return std::apply(
        [format](const auto&... slot) {
          const FormatArgument kinds[] = {slot.Kind()...};
          const void* const values[] = {slot.Value()...};
          return format_detail::RenderText(format, kinds, values, sizeof...(slot));
        },
        slots);
  }
}

}  // namespace zun
