// The deepest nesting of arrays and maps that any reader accepts. Values are
// destroyed, copied and flattened recursively, so an unbounded depth would let
// a small body exhaust the machine stack.
#pragma once

#include <cstddef>

namespace zun {

inline constexpr size_t kMaxNestingDepth = 512;

}  // namespace zun
