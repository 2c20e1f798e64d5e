// One distinct text of a value tree, shared by every string value and member
// name of that tree with the same bytes.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "binding/fnv1a.h"

namespace zun {

// The first eight bytes of `text` as a big-endian number, zero-padded. When
// two prefixes differ they order the texts exactly as a byte-by-byte unsigned
// comparison does, so most name comparisons need no memcmp.
[[nodiscard]] inline uint64_t OrderPrefix(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const size_t size = text.size();
  if (size >= 8) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return word;
  }
  if (size >= 4) {
    // Two overlapping four-byte loads; the bytes they share are equal.
    uint32_t head;
    uint32_t tail;
    std::memcpy(&head, bytes, 4);
    std::memcpy(&tail, bytes + size - 4, 4);
    if constexpr (std::endian::native == std::endian::little) {
      head = __builtin_bswap32(head);
      tail = __builtin_bswap32(tail);
    }
    return (uint64_t{head} << 32) | (uint64_t{tail} << (8 * (8 - size)));
  }
  if (size == 0) return 0;
  // One to three bytes: the first, the middle and the last (some coincide).
  return (uint64_t{bytes[0]} << 56) | (uint64_t{bytes[size / 2]} << (56 - 8 * (size / 2))) |
         (uint64_t{bytes[size - 1]} << (56 - 8 * (size - 1)));
}

// A record has its text right behind it, in one block of the heap (or of
// general memory when too long for one); the heap's intern table refers to
// it. `text` is always NUL-terminated.
struct InternedString {
  uint64_t orderPrefix;  // OrderPrefix of the text
  const char* text;
  uint32_t length;
  uint32_t refCount;
  uint32_t tableHash;  // where the heap's intern table places the text

  [[nodiscard]] std::string_view View() const { return {text, length}; }
  // Fnv1a32 of the text. Computed when asked: interning never needs it, and
  // the byte-serial hash would dominate the cost of interning long texts.
  [[nodiscard]] uint32_t Hash() const { return Fnv1a32(View()); }
};

// The record of every empty text: never interned, counted or freed.
inline constexpr InternedString kEmptyInternedString{0, "", 0, 0, 0};

}  // namespace zun
