// The kind tag of a binding value and the names that messages print for it.
#pragma once

#include <cstdint>

namespace zun {

enum class BindingKind : uint8_t {
  Empty = 0,
  Bool = 1,
  Signed = 2,
  Unsigned = 3,
  Float = 4,
  String = 5,
  Blob = 6,
  Enum = 7,
  Collection = 8,
  Structure = 9,
};

inline constexpr const char* kBindingKindNames[] = {
    "empty", "bool", "signed", "unsigned", "float",
    "string", "blob", "enum", "collection", "structure",
};

// The name of a kind tag; "" for a tag that names no kind.
[[nodiscard]] constexpr const char* BindingKindName(uint8_t tag) {
  return tag < sizeof(kBindingKindNames) / sizeof(kBindingKindNames[0]) ? kBindingKindNames[tag] : "";
}

[[nodiscard]] constexpr const char* BindingKindName(BindingKind kind) {
  return BindingKindName(static_cast<uint8_t>(kind));
}

}  // namespace zun
