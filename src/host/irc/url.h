#pragma once

// The address of a channel on a network, as given on the command line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest::irc {

inline constexpr std::uint16_t kPlainPort = 6667;
inline constexpr std::uint16_t kTlsPort = 6697;

struct Url {
  std::string host;        // an IPv6 address without its brackets
  std::uint16_t port;
  bool tls;
  std::string channel;     // with its '#'
  bool operator==(const Url&) const = default;
};

// irc://HOST[:PORT]/#CHANNEL (plain, 6667) or ircs://HOST[:PORT]/#CHANNEL
// (TLS, 6697); "%23" is accepted for '#'; IPv6 as [::1]. nullopt on anything
// else: no host, a bad port, no or an invalid channel, spaces, commas, '?'.
std::optional<Url> ParseUrl(std::string_view text);

}  // namespace wavecrest::irc
