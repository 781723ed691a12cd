#pragma once

// Where the stream goes and where the room listens, as given on the command
// line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

inline constexpr std::uint16_t kIcecastPort = 8000;
inline constexpr const char* kIcecastUser = "source";

// An Icecast mount a source sends to.
struct StreamUrl {
  std::string user;    // the source user, "source" unless given
  std::string host;    // an IPv6 address without its brackets
  std::uint16_t port;  // 8000 unless given
  std::string mount;   // begins with '/'
  bool tls;            // icecasts://: TLS, the certificate checked
  bool operator==(const StreamUrl&) const = default;
};

// icecast://[USER@]HOST[:PORT]/MOUNT or icecasts://…; IPv6 as [::1]. A mount
// is letters, digits and - . _ ~ / (no "..", no empty segment at its end).
// nullopt for anything else, a password in the URL included: it would be on
// the command line for every user of the machine to read.
std::optional<StreamUrl> ParseStreamUrl(std::string_view text);

// The URL as said on standard error: the password is never part of it.
std::string StreamUrlText(const StreamUrl& url);

// The host as it stands in a URL: an IPv6 address in brackets.
std::string UrlHost(const StreamUrl& url);

// http://HOST:PORT/MOUNT, or https:// with TLS: where listeners find the
// mount on the server itself.
std::string DefaultListenUrl(const StreamUrl& url);

// Whether `text` may be announced as the listen address: http:// or https://
// with a host, no user or password in it, and nothing that would change the
// reply it stands in (spaces, controls, bytes past ASCII, < > " or '), at most
// 300 bytes.
bool IsListenUrl(std::string_view text);

}  // namespace wavecrest
