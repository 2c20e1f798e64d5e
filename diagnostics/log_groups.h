// Log groups: up to 64 three-letter names, one bit each in a LogGroupMask.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zun {

using LogGroupMask = uint64_t;

namespace log_groups {
inline constexpr LogGroupMask DBG = LogGroupMask{1} << 0;
inline constexpr LogGroupMask GEN = LogGroupMask{1} << 1;
inline constexpr LogGroupMask XTR = LogGroupMask{1} << 2;
inline constexpr LogGroupMask PRF = LogGroupMask{1} << 3;
inline constexpr LogGroupMask MEM = LogGroupMask{1} << 4;
inline constexpr LogGroupMask DSK = LogGroupMask{1} << 5;
inline constexpr LogGroupMask NET = LogGroupMask{1} << 6;
inline constexpr LogGroupMask TST = LogGroupMask{1} << 7;
// The library's own group, held from the moment the library is loaded.
inline constexpr LogGroupMask LOC = LogGroupMask{1} << 8;

inline constexpr size_t kMaxGroups = 64;
}  // namespace log_groups

// The bit of the group whose name starts with the same three characters as
// `name`, registering it when it is new. Only the first three characters
// count. Returns 0 (no group) for a null or empty name and when all 64 bits
// are taken.
[[nodiscard]] LogGroupMask RegisterLogGroup(const char* name);

// Writes the names of the mask's groups, lowest bit first, separated by ";",
// as far as they fit; bits without a registered group read "???". Always
// NUL-terminates when size > 0. Returns the length written.
size_t LogGroupNames(LogGroupMask mask, char* buffer, size_t size);

}  // namespace zun
