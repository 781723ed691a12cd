// Why a server refused the source: libshout says only that the login failed,
// while the room's owner needs to know whether the password is wrong, the
// mount taken, or the server no Icecast at all. The server tells this in its
// answer's status line, which a source request of our own reads.
#include "app/stream/icecast/icecast_source.h"

extern "C" {
#include <libavutil/base64.h>
}

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace wavecrest {
namespace {

constexpr int kWaitMilliseconds = 3000;
constexpr std::size_t kMaxAnswerBytes = 4096;

// Closes the socket when it goes out of scope.
struct Socket {
  int fd = -1;
  ~Socket() {
    if (fd >= 0) ::close(fd);
  }
};

bool WaitFor(int fd, short events) {
  pollfd wanted{fd, events, 0};
  return ::poll(&wanted, 1, kWaitMilliseconds) == 1 && (wanted.revents & events) != 0;
}

bool Connect(const StreamSettings& settings, Socket& socket) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(settings.url.host.c_str(), std::to_string(settings.url.port).c_str(), &hints, &found) != 0) {
    return false;
  }
  bool connected = false;
  for (addrinfo* a = found; a != nullptr && !connected; a = a->ai_next) {
    Socket attempt{::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol)};
    if (attempt.fd < 0) continue;
    if (::connect(attempt.fd, a->ai_addr, a->ai_addrlen) != 0 && !WaitFor(attempt.fd, POLLOUT)) continue;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(attempt.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) continue;
    std::swap(socket.fd, attempt.fd);
    connected = true;
  }
  ::freeaddrinfo(found);
  return connected;
}

std::string Request(const StreamSettings& settings) {
  const std::string credentials = settings.url.user + ":" + settings.password;
  std::vector<char> encoded(AV_BASE64_SIZE(credentials.size()));
  av_base64_encode(encoded.data(), static_cast<int>(encoded.size()),
                   reinterpret_cast<const std::uint8_t*>(credentials.data()), static_cast<int>(credentials.size()));
  return "SOURCE " + settings.url.mount + " HTTP/1.0\r\nAuthorization: Basic " + encoded.data() +
         "\r\nHost: " + UrlHost(settings.url) + ":" + std::to_string(settings.url.port) +
         "\r\nContent-Type: audio/mpeg\r\nUser-Agent: wavecrest/" WAVECREST_VERSION "\r\n\r\n";
}

// The head of the server's answer, as far as it came within the wait.
std::string Answer(int fd) {
  std::string answer;
  std::array<char, 1024> buffer{};
  while (answer.size() < kMaxAnswerBytes && answer.find("\r\n\r\n") == std::string::npos && WaitFor(fd, POLLIN)) {
    const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
    if (got <= 0) break;
    answer.append(buffer.data(), static_cast<std::size_t>(got));
  }
  return answer;
}

}  // namespace

std::string WhyLoginRefused(const StreamSettings& settings) {
  if (settings.url.tls) return {};
  Socket socket;
  if (!Connect(settings, socket)) return {};
  const std::string request = Request(settings);
  if (::send(socket.fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) return {};
  const std::string answer = Answer(socket.fd);
  const std::string where = UrlHost(settings.url) + ":" + std::to_string(settings.url.port);
  if (!answer.starts_with("HTTP/1.") || answer.size() < 12) {
    return "the server at " + where + " is no Icecast server (it does not answer in HTTP)";
  }
  const int code = std::atoi(answer.substr(9, 3).c_str());
  std::string_view head(answer);
  head = head.substr(0, head.find("\r\n\r\n"));
  if (head.find("Icecast") == std::string_view::npos) {
    return "the server at " + where + " is no Icecast server (HTTP " + std::to_string(code) + ")";
  }
  if (code == 401) return "wrong user or password for " + settings.url.mount + " (401)";
  if (code == 403) return "the mount " + settings.url.mount + " is in use by another source (403)";
  return {};
}

}  // namespace wavecrest
