#include "support/fake_irc_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace wavecrest::testing {

FakeIrcServer::FakeIrcServer() {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 4) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    throw std::runtime_error("the fake IRC server cannot listen");
  }
  port_ = ntohs(address.sin_port);
}

FakeIrcServer::~FakeIrcServer() {
  if (client_ >= 0) ::close(client_);
  ::close(listener_);
}

void FakeIrcServer::Write(std::string_view bytes) {
  while (client_ >= 0 && !bytes.empty()) {
    const ssize_t n = ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void FakeIrcServer::Drop() {
  if (client_ >= 0) ::close(client_);
  client_ = -1;
  pending_.clear();
}

std::optional<std::size_t> FakeIrcServer::Await(const std::function<bool(const IrcLine&)>& match, double seconds,
                                                std::size_t from) {
  return AwaitLine(lines_, match, seconds, from);
}

std::vector<int> FakeIrcServer::WaitFds() const {
  // A second client waits in the backlog until the first is gone.
  if (client_ >= 0) return {client_};
  return {listener_};
}

void FakeIrcServer::OnReadable(int fd) {
  if (fd == listener_) {
    client_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client_ < 0) return;
    ++connections_;
    return Write(greeting_);
  }
  char buffer[65536];
  const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
  if (n <= 0) return Drop();
  pending_.append(buffer, static_cast<std::size_t>(n));
  for (auto end = pending_.find("\r\n"); end != std::string::npos; end = pending_.find("\r\n")) {
    IrcLine line = ParseIrcLine(std::string_view(pending_).substr(0, end));
    pending_.erase(0, end + 2);
    lines_.push_back(line);
    if (!silent_) OnClientLine(line);
  }
}

// Just enough of a server for a client to get into its channel.
void FakeIrcServer::OnClientLine(const IrcLine& line) {
  if (line.command == "CAP" && !line.params.empty() && line.params[0] == "LS") return Write(":fake CAP * LS :\r\n");
  if (line.command == "NICK" && !line.params.empty()) nick_ = line.params[0];
  if (line.command == "USER") return Write(":fake 001 " + nick_ + " :Welcome " + nick_ + "!u@fake\r\n");
  if (line.command == "PING") return Write(":fake PONG fake :" + line.Text() + "\r\n");
  if (line.command == "JOIN" && !line.params.empty()) {
    Write(":" + nick_ + "!u@fake JOIN :" + line.params[0] + "\r\n:fake 366 " + nick_ + " " + line.params[0] + " :End\r\n");
  }
}

}  // namespace wavecrest::testing
