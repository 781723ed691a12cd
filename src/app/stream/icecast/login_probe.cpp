// Why no source connection came about: libshout says only that it could not
// connect or log in, while the room's owner needs to know whether nothing
// listens there, the password is wrong, the mount taken, or the server no
// Icecast at all. A connection and a source request of our own find out: the
// server tells it in its answer's status line.
#include "app/stream/icecast/icecast_source.h"

extern "C" {
#include <libavutil/base64.h>
}

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
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

// Connects, or says why not.
std::string Connect(const StreamSettings& settings, Socket& socket) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(settings.url.host.c_str(), std::to_string(settings.url.port).c_str(), &hints, &found) != 0) {
    return "the host " + settings.url.host + " is not known";
  }
  std::string why = "no answer";
  for (addrinfo* a = found; a != nullptr && socket.fd < 0; a = a->ai_next) {
    Socket attempt{::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol)};
    if (attempt.fd < 0) continue;
    int error = 0;
    if (::connect(attempt.fd, a->ai_addr, a->ai_addrlen) != 0) {
      if (errno != EINPROGRESS) error = errno;
      if (error == 0 && !WaitFor(attempt.fd, POLLOUT)) error = ETIMEDOUT;
      socklen_t length = sizeof error;
      if (error == 0 && ::getsockopt(attempt.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    }
    if (error != 0) {
      why = std::strerror(error);
      continue;
    }
    std::swap(socket.fd, attempt.fd);
  }
  ::freeaddrinfo(found);
  if (socket.fd >= 0) return {};
  return "cannot connect to " + UrlHost(settings.url) + ":" + std::to_string(settings.url.port) + " (" + why + ")";
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

Failure WhyNoSource(const StreamSettings& settings) {
  Socket socket;
  if (std::string why = Connect(settings, socket); !why.empty()) return {Trouble::Unreachable, why};
  // Inside TLS the answer cannot be read here; libshout's own word stands.
  if (settings.url.tls) return {};
  const std::string request = Request(settings);
  if (::send(socket.fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) return {};
  const std::string answer = Answer(socket.fd);
  const std::string where = UrlHost(settings.url) + ":" + std::to_string(settings.url.port);
  if (!answer.starts_with("HTTP/1.") || answer.size() < 12) {
    return {Trouble::Refused, "the server at " + where + " is no Icecast server (it does not answer in HTTP)"};
  }
  const int code = std::atoi(answer.substr(9, 3).c_str());
  std::string_view head(answer);
  head = head.substr(0, head.find("\r\n\r\n"));
  if (head.find("Icecast") == std::string_view::npos) {
    return {Trouble::Refused, "the server at " + where + " is no Icecast server (HTTP " + std::to_string(code) + ")"};
  }
  if (code == 401) return {Trouble::Refused, "wrong user or password for " + settings.url.mount + " (401)"};
  if (code == 403) return {Trouble::Refused, "the mount " + settings.url.mount + " is in use by another source (403)"};
  return {};
}

}  // namespace wavecrest
