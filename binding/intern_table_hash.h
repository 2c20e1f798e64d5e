// The hash that places texts in a value heap's intern table. It reads eight
// bytes per step, so a lookup that finds its text never runs the byte-serial
// hash that records keep; that one is computed only when a record is created.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace zun {

namespace intern_table_hash_detail {

inline constexpr uint64_t kSeed = 0x9E3779B97F4A7C15ull;
inline constexpr uint64_t kMultiplier = 0xBF58476D1CE4E5B9ull;

[[nodiscard]] inline uint64_t Mix(uint64_t hash, uint64_t word) {
  hash = (hash ^ word) * kMultiplier;
  return hash ^ (hash >> 31);
}

// The last 1 to 7 bytes as one word: two overlapping loads instead of a loop.
[[nodiscard]] inline uint64_t TailWord(const unsigned char* bytes, size_t count) {
  if (count >= 4) {
    uint32_t low;
    uint32_t high;
    std::memcpy(&low, bytes, 4);
    std::memcpy(&high, bytes + count - 4, 4);
    return (uint64_t{high} << 32) | low;
  }
  return (uint64_t{bytes[0]} << 16) | (uint64_t{bytes[count / 2]} << 8) | bytes[count - 1];
}

}  // namespace intern_table_hash_detail

// Depends on the length and every byte of `text`; records keep it so that the
// table can place and find them without hashing again. Long texts go through
// two independent lanes, so that the multiplications of one lane overlap
// those of the other.
[[nodiscard]] inline uint32_t InternTableHash(std::string_view text) {
  using namespace intern_table_hash_detail;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  size_t remaining = text.size();
  uint64_t hash = kSeed ^ (remaining * kMultiplier);
  if (remaining >= 16) {
    uint64_t second = kMultiplier;
    for (; remaining >= 16; remaining -= 16, bytes += 16) {
      uint64_t first;
      uint64_t next;
      std::memcpy(&first, bytes, 8);
      std::memcpy(&next, bytes + 8, 8);
      hash = Mix(hash, first);
      second = Mix(second, next);
    }
    hash = Mix(hash, second);
  }
  if (remaining >= 8) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    hash = Mix(hash, word);
    remaining -= 8;
    bytes += 8;
  }
  if (remaining != 0) hash = Mix(hash, TailWord(bytes, remaining));
  hash *= kSeed;
  return static_cast<uint32_t>(hash >> 32);
}

}  // namespace zun
