// The classes of MessagePack type bytes, and the table of all 256 bytes.
#pragma once

#include <array>
#include <cstdint>

namespace zun {

enum class MessagePackTypeClass : uint8_t {
  Invalid,  // 0xC1 and every extension type
  PositiveFixint,
  NegativeFixint,
  FixMap,
  FixArray,
  FixStr,
  Nil,
  False,
  True,
  Bin8,
  Bin16,
  Bin32,
  Float32,
  Float64,
  Uint8,
  Uint16,
  Uint32,
  Uint64,
  Int8,
  Int16,
  Int32,
  Int64,
  Str8,
  Str16,
  Str32,
  Array16,
  Array32,
  Map16,
  Map32,
};

namespace msgpack_detail {

constexpr std::array<MessagePackTypeClass, 256> BuildTypeClasses() {
  using C = MessagePackTypeClass;
  std::array<C, 256> classes{};
  for (int byte = 0; byte < 256; ++byte) {
    C c = C::Invalid;
    if (byte <= 0x7F) {
      c = C::PositiveFixint;
    } else if (byte <= 0x8F) {
      c = C::FixMap;
    } else if (byte <= 0x9F) {
      c = C::FixArray;
    } else if (byte <= 0xBF) {
      c = C::FixStr;
    } else if (byte >= 0xE0) {
      c = C::NegativeFixint;
    }
    classes[static_cast<size_t>(byte)] = c;
  }
  const C fixed[] = {
      C::Nil,     C::Invalid, C::False,   C::True,    C::Bin8,    C::Bin16,   C::Bin32,   C::Invalid,
      C::Invalid, C::Invalid, C::Float32, C::Float64, C::Uint8,   C::Uint16,  C::Uint32,  C::Uint64,
      C::Int8,    C::Int16,   C::Int32,   C::Int64,   C::Invalid, C::Invalid, C::Invalid, C::Invalid,
      C::Invalid, C::Str8,    C::Str16,   C::Str32,   C::Array16, C::Array32, C::Map16,   C::Map32,
  };
  for (size_t i = 0; i < 32; ++i) classes[0xC0 + i] = fixed[i];
  return classes;
}

}  // namespace msgpack_detail

inline constexpr std::array<MessagePackTypeClass, 256> kMessagePackTypeClasses =
    msgpack_detail::BuildTypeClasses();

}  // namespace zun
