#pragma once

// The listener count in an Icecast server's public statistics
// (/status-json.xsl): the answer is network text, read as hostile.

#include <optional>
#include <string_view>

namespace wavecrest {

// The `listeners` of the source whose listen URL's path is `mount`; nothing
// when `json` is no such document, does not list the mount, or gives no
// whole number from 0 up.
std::optional<int> ListenerCountOf(std::string_view json, std::string_view mount);

}  // namespace wavecrest
