// Byte-by-byte path pattern matching.
#include "plugin/path_pattern.h"

namespace zun {

bool MatchPathPattern(std::string_view pattern, std::string_view path) {
  size_t p = 0;
  size_t t = 0;
  while (p < pattern.size() && t < path.size()) {
    if (pattern[p] == '*') {
      if (path[t] == '/') {
        ++p;  // the star ends before a separator
      } else {
        ++t;
        if (t == path.size()) ++p;  // a star open at the end has matched a byte
      }
    } else {
      if (pattern[p] != path[t]) return false;
      ++p;
      ++t;
    }
  }
  return p == pattern.size() && t == path.size();
}

}  // namespace zun
