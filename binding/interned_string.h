// One distinct text of a value tree, shared by every string value and member
// name of that tree with the same bytes.
#pragma once

#include <cstdint>
#include <string_view>

#include "binding/fnv1a.h"

namespace zun {

// Records live in general memory with their text right behind them; the heap's
// intern table chains them through `next`. `text` is always NUL-terminated.
struct InternedString {
  InternedString* next;
  const char* text;
  uint32_t length;
  uint32_t hash;  // Fnv1a32 of the text
  uint32_t refCount;

  [[nodiscard]] std::string_view View() const { return {text, length}; }
};

// The record of every empty text: never interned, counted or freed.
inline constexpr InternedString kEmptyInternedString{nullptr, "", 0, kFnv1a32Basis, 0};

}  // namespace zun
