// 32-bit FNV-1a hash over bytes taken as unsigned values.
#include "binding/fnv1a.h"

namespace zun {

namespace {

[[nodiscard]] inline uint32_t MixByte(uint32_t hash, char byte) {
  return (hash ^ static_cast<unsigned char>(byte)) * kFnv1a32Prime;
}

}  // namespace

uint32_t Fnv1a32(const char* text, uint32_t basis) {
  uint32_t hash = basis;
  if (text == nullptr) {
    return hash;
  }
  for (const char* cursor = text; *cursor != '\0'; ++cursor) {
    hash = MixByte(hash, *cursor);
  }
  return hash;
}

uint32_t Fnv1a32(std::string_view bytes, uint32_t basis) {
  uint32_t hash = basis;
  for (const char byte : bytes) {
    hash = MixByte(hash, byte);
  }
  return hash;
}

}  // namespace zun
