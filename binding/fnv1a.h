// 32-bit FNV-1a hash: the hash of type identities and of the value heap's
// string intern table.
#pragma once

#include <cstdint>
#include <string_view>

namespace zun {

inline constexpr uint32_t kFnv1a32Basis = 0x811C9DC5u;
inline constexpr uint32_t kFnv1a32Prime = 0x01000193u;

// Hashes the bytes of a NUL-terminated text, the NUL excluded. A null text
// hashes like the empty text.
[[nodiscard]] uint32_t Fnv1a32(const char* text, uint32_t basis = kFnv1a32Basis);

// Hashes exactly the bytes in view, NULs included; for callers that already
// know the length. (A (pointer, size_t) pair would be ambiguous with the basis
// argument on the 32-bit target, where size_t and uint32_t are one type.)
[[nodiscard]] uint32_t Fnv1a32(std::string_view bytes, uint32_t basis = kFnv1a32Basis);

}  // namespace zun
