#include "support/irc_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace wavecrest::testing {

IrcLine ParseIrcLine(std::string_view raw) {
  IrcLine line{std::string(raw), {}, {}, {}, {}};
  if (raw.starts_with(':')) {
    const auto space = raw.find(' ');
    const std::string_view prefix = raw.substr(1, space - 1);
    const auto bang = prefix.find('!');
    line.nick = prefix.substr(0, bang);
    if (bang != std::string_view::npos) line.userHost = prefix.substr(bang + 1);
    raw.remove_prefix(space == std::string_view::npos ? raw.size() : space + 1);
  }
  while (!raw.empty()) {
    if (raw.starts_with(':')) {
      line.params.emplace_back(raw.substr(1));
      break;
    }
    const auto space = raw.find(' ');
    const std::string_view word = raw.substr(0, space);
    if (line.command.empty()) {
      line.command = word;
    } else if (!word.empty()) {
      line.params.emplace_back(word);
    }
    raw.remove_prefix(space == std::string_view::npos ? raw.size() : space + 1);
  }
  return line;
}

IrcPeer::IrcPeer(std::uint16_t port, std::string nick, const std::string& user) : nick_(std::move(nick)) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot connect to the IRC server");
  }
  const int on = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  Send("NICK " + nick_);
  Send("USER " + user + " 0 * :" + user);
  if (!Await([](const IrcLine& l) { return l.command == "001"; }, 10)) {
    throw std::runtime_error("the IRC server did not welcome " + nick_);
  }
}

IrcPeer::~IrcPeer() {
  if (fd_ >= 0) ::close(fd_);
}

void IrcPeer::Send(std::string_view line) {
  const std::string bytes = std::string(line) + "\r\n";
  if (fd_ >= 0) (void)::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void IrcPeer::Join(const std::string& channel) {
  Send("JOIN " + channel);
  if (!Await([](const IrcLine& l) { return l.command == "366"; }, 10)) {
    throw std::runtime_error(nick_ + " could not join " + channel);
  }
}

void IrcPeer::Say(const std::string& channel, std::string_view text) {
  Send("PRIVMSG " + channel + " :" + std::string(text));
}

void IrcPeer::Quit() {
  Send("QUIT :bye");
  WaitUntil([&] { return fd_ < 0; }, 10);
}

std::optional<std::size_t> IrcPeer::Await(const std::function<bool(const IrcLine&)>& match, double seconds,
                                          std::size_t from) {
  std::optional<std::size_t> found;
  WaitUntil(
      [&] {
        for (std::size_t i = from; i < lines_.size() && !found; ++i) {
          if (match(lines_[i])) found = i;
        }
        from = lines_.size();
        return found.has_value();
      },
      seconds);
  return found;
}

std::vector<int> IrcPeer::WaitFds() const {
  if (fd_ < 0) return {};
  return {fd_};
}

void IrcPeer::OnReadable(int fd) {
  char buffer[65536];
  const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
  if (n <= 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  pending_.append(buffer, static_cast<std::size_t>(n));
  for (auto end = pending_.find("\r\n"); end != std::string::npos; end = pending_.find("\r\n")) {
    IrcLine line = ParseIrcLine(std::string_view(pending_).substr(0, end));
    pending_.erase(0, end + 2);
    if (line.command == "PING") Send("PONG :" + line.Text());
    lines_.push_back(std::move(line));
  }
}

std::vector<std::string> SaidBy(const IrcPeer& peer, const std::string& nick, const std::string& channel,
                                std::size_t from) {
  std::vector<std::string> said;
  for (std::size_t i = from; i < peer.Lines().size(); ++i) {
    const IrcLine& l = peer.Lines()[i];
    if (l.command == "PRIVMSG" && l.nick == nick && l.params.size() == 2 && l.params[0] == channel) {
      said.push_back(l.Text());
    }
  }
  return said;
}

}  // namespace wavecrest::testing
