#include "host/irc/url.h"

#include <algorithm>
#include <cctype>

namespace wavecrest::irc {

namespace {

constexpr std::size_t kMaxChannelBytes = 200;

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != start[i]) return false;
  }
  return true;
}

bool IsHostNameByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == '_';
}

bool IsIpv6Byte(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
}

std::optional<std::uint16_t> ParsePort(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  unsigned value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path after '/', percent escapes decoded; nullopt on a broken escape.
std::optional<std::string> DecodePath(std::string_view path) {
  std::string decoded;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '%') {
      decoded += path[i];
      continue;
    }
    if (i + 2 >= path.size()) return std::nullopt;
    const int high = HexValue(path[i + 1]), low = HexValue(path[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return decoded;
}

// A channel as a network takes it: '#' and a name without spaces, commas,
// BEL, ':' or other control characters; and without '?', which in an
// address begins a query (a key given as "#room?key=x" would otherwise join
// a channel of that whole name).
bool IsValidChannel(std::string_view channel) {
  if (channel.size() < 2 || channel.size() > kMaxChannelBytes || channel.front() != '#') return false;
  return std::none_of(channel.begin(), channel.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == ' ' || c == ',' || c == ':' || c == '?';
  });
}

struct HostPort {
  std::string host;
  std::optional<std::string_view> port;
};

std::optional<HostPort> SplitAuthority(std::string_view authority) {
  if (authority.empty()) return std::nullopt;
  HostPort result;
  std::string_view rest;
  if (authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos || close == 1) return std::nullopt;
    const std::string_view address = authority.substr(1, close - 1);
    if (!std::all_of(address.begin(), address.end(), IsIpv6Byte)) return std::nullopt;
    if (address.find(':') == std::string_view::npos) return std::nullopt;
    result.host = std::string(address);
    rest = authority.substr(close + 1);
  } else {
    const std::size_t colon = std::min(authority.find(':'), authority.size());
    const std::string_view name = authority.substr(0, colon);
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsHostNameByte)) return std::nullopt;
    result.host = std::string(name);
    rest = authority.substr(colon);
  }
  if (rest.empty()) return result;
  if (rest.front() != ':') return std::nullopt;
  result.port = rest.substr(1);
  return result;
}

}  // namespace

std::optional<Url> ParseUrl(std::string_view text) {
  Url url{};
  if (StartsWithNoCase(text, "ircs://")) {
    url.tls = true;
    text.remove_prefix(7);
  } else if (StartsWithNoCase(text, "irc://")) {
    url.tls = false;
    text.remove_prefix(6);
  } else {
    return std::nullopt;
  }
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<HostPort> authority = SplitAuthority(text.substr(0, slash));
  if (!authority) return std::nullopt;
  url.host = authority->host;
  url.port = url.tls ? kTlsPort : kPlainPort;
  if (authority->port) {
    const std::optional<std::uint16_t> port = ParsePort(*authority->port);
    if (!port) return std::nullopt;
    url.port = *port;
  }
  const std::optional<std::string> channel = DecodePath(text.substr(slash + 1));
  if (!channel || !IsValidChannel(*channel)) return std::nullopt;
  url.channel = *channel;
  return url;
}

}  // namespace wavecrest::irc
