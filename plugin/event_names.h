// The core event name under which changes of a resource path are published.
#pragma once

#include <string>
#include <string_view>

namespace zun {

// "OnJsonApiEvent" joined with "_" to the path's non-empty pieces, keeping at
// most four entries (six when the first piece is "zun-platform-config"):
// /zun-parties/api/parties/7 gives OnJsonApiEvent_zun-parties_api_parties.
[[nodiscard]] std::string EventNameForPath(std::string_view path);

}  // namespace zun
