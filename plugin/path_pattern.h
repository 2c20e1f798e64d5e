// Matching a resource path against a pattern in which "*" stands for a run
// of bytes without "/".
#pragma once

#include <string_view>

namespace zun {

// "*" matches a non-empty run without "/", or an empty run directly before a
// "/": /zun-parties/api/parties/* matches /zun-parties/api/parties/7 but
// neither .../parties/ nor .../parties/7/members.
[[nodiscard]] bool MatchPathPattern(std::string_view pattern, std::string_view path);

}  // namespace zun
