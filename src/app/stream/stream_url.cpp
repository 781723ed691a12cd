#include "app/stream/stream_url.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace wavecrest {
namespace {

constexpr std::size_t kMaxListenUrlBytes = 300;
constexpr std::size_t kMaxMountBytes = 200;

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  return std::equal(start.begin(), start.end(), text.begin(),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool IsAlnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }
bool IsNameByte(char c) { return IsAlnum(c) || c == '.' || c == '-' || c == '_' || c == '~'; }
bool IsHostByte(char c) { return IsAlnum(c) || c == '.' || c == '-' || c == '_'; }
bool IsIpv6Byte(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.'; }

std::optional<std::uint16_t> ParsePort(std::string_view digits) {
  unsigned value = 0;
  const char* end = digits.data() + digits.size();
  const auto read = std::from_chars(digits.data(), end, value);
  const bool whole = read.ec == std::errc() && read.ptr == end && digits.size() <= 5;
  if (!whole || value == 0 || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

// HOST[:PORT] with HOST a name or a bracketed IPv6 address.
bool ParseHostPort(std::string_view authority, StreamUrl& url) {
  std::string_view rest;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos || close == 1) return false;
    const std::string_view address = authority.substr(1, close - 1);
    if (!std::all_of(address.begin(), address.end(), IsIpv6Byte) || address.find(':') == std::string_view::npos) {
      return false;
    }
    url.host = std::string(address);
    rest = authority.substr(close + 1);
  } else {
    const std::size_t colon = std::min(authority.find(':'), authority.size());
    const std::string_view name = authority.substr(0, colon);
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsHostByte)) return false;
    url.host = std::string(name);
    rest = authority.substr(colon);
  }
  if (rest.empty()) return true;
  if (rest.front() != ':') return false;
  const std::optional<std::uint16_t> port = ParsePort(rest.substr(1));
  if (!port) return false;
  url.port = *port;
  return true;
}

bool IsValidMount(std::string_view mount) {
  if (mount.size() < 2 || mount.size() > kMaxMountBytes || mount.front() != '/' || mount.back() == '/') return false;
  if (mount.find("..") != std::string_view::npos || mount.find("//") != std::string_view::npos) return false;
  return std::all_of(mount.begin(), mount.end(), [](char c) { return IsNameByte(c) || c == '/'; });
}

}  // namespace

std::optional<StreamUrl> ParseStreamUrl(std::string_view text) {
  StreamUrl url{std::string(kIcecastUser), {}, kIcecastPort, {}, false};
  if (StartsWithNoCase(text, "icecasts://")) {
    url.tls = true;
    text.remove_prefix(11);
  } else if (StartsWithNoCase(text, "icecast://")) {
    text.remove_prefix(10);
  } else {
    return std::nullopt;
  }
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  std::string_view authority = text.substr(0, slash);
  if (const std::size_t at = authority.rfind('@'); at != std::string_view::npos) {
    const std::string_view user = authority.substr(0, at);
    if (user.empty() || !std::all_of(user.begin(), user.end(), IsNameByte)) return std::nullopt;
    url.user = std::string(user);
    authority.remove_prefix(at + 1);
  }
  if (!ParseHostPort(authority, url)) return std::nullopt;
  const std::string_view mount = text.substr(slash);
  if (!IsValidMount(mount)) return std::nullopt;
  url.mount = std::string(mount);
  return url;
}

std::string UrlHost(const StreamUrl& url) {
  return url.host.find(':') == std::string::npos ? url.host : "[" + url.host + "]";
}

std::string StreamUrlText(const StreamUrl& url) {
  return std::string(url.tls ? "icecasts://" : "icecast://") + url.user + "@" + UrlHost(url) + ":" +
         std::to_string(url.port) + url.mount;
}

std::string DefaultListenUrl(const StreamUrl& url) {
  return std::string(url.tls ? "https://" : "http://") + UrlHost(url) + ":" + std::to_string(url.port) + url.mount;
}

bool IsListenUrl(std::string_view text) {
  if (text.size() > kMaxListenUrlBytes) return false;
  const bool harmless = std::none_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte >= 0x7F || c == '<' || c == '>' || c == '"' || c == '\'';
  });
  if (!harmless) return false;
  std::string_view rest;
  if (StartsWithNoCase(text, "https://")) {
    rest = text.substr(8);
  } else if (StartsWithNoCase(text, "http://")) {
    rest = text.substr(7);
  } else {
    return false;
  }
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  if (authority.find('@') != std::string_view::npos) return false;
  StreamUrl probe{};
  return ParseHostPort(authority, probe);
}

}  // namespace wavecrest
