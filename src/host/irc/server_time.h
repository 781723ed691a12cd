#pragma once

// The time a server-time tag gives ("2026-12-08T21:46:04.123Z"), in seconds
// since 1970 (UTC).

#include <optional>
#include <string_view>

namespace wavecrest::irc {

// nullopt for anything but YYYY-MM-DDThh:mm:ss[.fraction]Z.
std::optional<double> ParseServerTime(std::string_view text);

}  // namespace wavecrest::irc
