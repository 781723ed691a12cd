#include "host/client_version.h"

#include <algorithm>

namespace wavecrest {

std::optional<ClientVersion> FindClientVersion(std::string_view text) {
  const auto* found = std::find_if(kClientVersions.begin(), kClientVersions.end(),
                                   [text](const ClientVersion& v) { return v.text == text; });
  if (found == kClientVersions.end()) return std::nullopt;
  return *found;
}

RoomLayout RoomLayoutOf(std::string_view text) {
  const auto version = FindClientVersion(text);
  return version ? version->layout : RoomLayout::Before7;
}

}  // namespace wavecrest
