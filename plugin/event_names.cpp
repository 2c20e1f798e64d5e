// Resource paths to core event names.
#include "plugin/event_names.h"

#include <vector>

#include "plugin/framework_types.h"

namespace zun {

namespace {

constexpr size_t kDefaultEntries = 4;
constexpr size_t kPlatformConfigEntries = 6;
constexpr std::string_view kPlatformConfigPiece = "zun-platform-config";

std::vector<std::string_view> PathPieces(std::string_view path) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) pieces.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

}  // namespace

std::string EventNameForPath(std::string_view path) {
  const std::vector<std::string_view> pieces = PathPieces(path);
  // The list is the event prefix followed by the pieces.
  const bool platformConfig = !pieces.empty() && pieces.front() == kPlatformConfigPiece;
  const size_t keptEntries = platformConfig ? kPlatformConfigEntries : kDefaultEntries;
  std::string name = framework_names::kOnJsonApiEvent;
  for (size_t i = 0; i < pieces.size() && i + 1 < keptEntries; ++i) {
    name += '_';
    name += pieces[i];
  }
  return name;
}

}  // namespace zun
