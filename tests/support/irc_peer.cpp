#include "support/irc_peer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

extern char** environ;

namespace wavecrest::testing {
namespace {

// A tag value's escapes: "\:" is ";", "\s" a space, "\r" and "\n" themselves,
// any other escaped character stands for itself and a lone "\" at the end
// for nothing.
std::string UnescapeTagValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out.push_back(value[i]);
      continue;
    }
    if (++i == value.size()) break;
    const char c = value[i];
    out.push_back(c == ':' ? ';' : c == 's' ? ' ' : c == 'r' ? '\r' : c == 'n' ? '\n' : c);
  }
  return out;
}

std::map<std::string, std::string> ParseTags(std::string_view tags) {
  std::map<std::string, std::string> parsed;
  while (!tags.empty()) {
    const std::string_view tag = tags.substr(0, tags.find(';'));
    tags.remove_prefix(std::min(tags.size(), tag.size() + 1));
    const auto equals = tag.find('=');
    if (tag.empty()) continue;
    parsed[std::string(tag.substr(0, equals))] =
        equals == std::string_view::npos ? "" : UnescapeTagValue(tag.substr(equals + 1));
  }
  return parsed;
}

std::string Base64(std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    const std::size_t taken = std::min<std::size_t>(3, bytes.size() - i);
    out.push_back(kDigits[(group >> 18) & 63]);
    out.push_back(kDigits[(group >> 12) & 63]);
    out.push_back(taken > 1 ? kDigits[(group >> 6) & 63] : '=');
    out.push_back(taken > 2 ? kDigits[group & 63] : '=');
  }
  return out;
}

int ConnectTcp(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    throw std::runtime_error("cannot connect to the IRC server");
  }
  const int on = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

// openssl s_client with both standard streams on one end of a socket pair:
// the peer keeps the other end and talks plain lines over it.
int ConnectThroughTls(std::uint16_t port, const std::string& certificate, pid_t& client) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) throw std::runtime_error("socketpair failed");
  std::vector<std::string> argv = {"/usr/bin/openssl", "s_client", "-connect", "127.0.0.1:" + std::to_string(port),
                                   "-quiet", "-nocommands"};
  if (!certificate.empty()) argv.insert(argv.end(), {"-cert", certificate, "-key", certificate});
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
  posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const int failed = ::posix_spawn(&client, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  if (failed != 0) {
    ::close(ends[0]);
    throw std::runtime_error("cannot start openssl s_client");
  }
  return ends[0];
}

bool IsSaslEnd(const IrcLine& l) {
  for (const char* code : {"903", "904", "905", "906", "907", "908"}) {
    if (l.command == code) return true;
  }
  return false;
}

}  // namespace

IrcLine ParseIrcLine(std::string_view raw) {
  IrcLine line{std::string(raw), {}, {}, {}, {}, {}};
  if (raw.starts_with('@')) {
    const auto space = raw.find(' ');
    line.tags = ParseTags(raw.substr(1, space - 1));
    raw.remove_prefix(space == std::string_view::npos ? raw.size() : space + 1);
  }
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

IrcPeer::IrcPeer(std::uint16_t port, std::string nick, const std::string& user)
    : IrcPeer(port, PeerLogin{.nick = std::move(nick), .user = user}) {}

IrcPeer::IrcPeer(std::uint16_t port, const PeerLogin& login) : nick_(login.nick) {
  Connect(port, login);
  Negotiate(login);
  if (!Await([](const IrcLine& l) { return l.command == "001"; }, 10)) {
    // No destructor runs for a peer that was never made.
    Close();
    throw std::runtime_error("the IRC server did not welcome " + nick_);
  }
}

IrcPeer::~IrcPeer() { Close(); }

void IrcPeer::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (tlsClient_ > 0) {
    ::kill(tlsClient_, SIGKILL);
    ::waitpid(tlsClient_, nullptr, 0);
  }
  tlsClient_ = -1;
}

void IrcPeer::Connect(std::uint16_t port, const PeerLogin& login) {
  fd_ = login.transport == PeerTransport::kTls ? ConnectThroughTls(port, login.certificate, tlsClient_)
                                               : ConnectTcp(port);
}

void IrcPeer::Negotiate(const PeerLogin& login) {
  std::vector<std::string> wanted = login.capabilities;
  if (login.sasl != SaslMechanism::kNone) wanted.emplace_back("sasl");
  if (!wanted.empty()) Send("CAP LS 302");
  if (!login.password.empty()) Send("PASS " + login.password);
  Send("NICK " + nick_);
  Send("USER " + login.user + " 0 * :" + login.user);
  if (wanted.empty()) return;
  // The last line of the list has no "*" before the list.
  const auto listed = [](const IrcLine& l) { return l.command == "CAP" && l.params.size() == 3 && l.params[1] == "LS"; };
  if (!Await(listed, 10)) {
    Close();
    throw std::runtime_error("the IRC server did not list its capabilities to " + nick_);
  }
  std::string request = "CAP REQ :";
  for (const auto& capability : wanted) request += capability + (&capability == &wanted.back() ? "" : " ");
  const std::size_t from = lines_.size();
  Send(request);
  const auto answered = [](const IrcLine& l) {
    return l.command == "CAP" && l.params.size() >= 2 && (l.params[1] == "ACK" || l.params[1] == "NAK");
  };
  const auto answer = Await(answered, 10, from);
  if (answer && lines_[*answer].params[1] == "ACK" && login.sasl != SaslMechanism::kNone) LogIn(login);
  Send("CAP END");
}

void IrcPeer::LogIn(const PeerLogin& login) {
  const bool plain = login.sasl == SaslMechanism::kPlain;
  std::size_t from = lines_.size();
  Send(std::string("AUTHENTICATE ") + (plain ? "PLAIN" : "EXTERNAL"));
  const auto go = Await([](const IrcLine& l) { return (l.command == "AUTHENTICATE" && l.Text() == "+") || IsSaslEnd(l); },
                        10, from);
  if (!go || lines_[*go].command != "AUTHENTICATE") return;
  from = lines_.size();
  const std::string payload =
      plain ? Base64(login.account + '\0' + login.account + '\0' + login.accountPassword) : std::string();
  // Sent in pieces of 400; a payload that ends on a whole piece (or is empty)
  // is closed by "+".
  for (std::size_t at = 0; at < payload.size(); at += 400) Send("AUTHENTICATE " + payload.substr(at, 400));
  if (payload.size() % 400 == 0) Send("AUTHENTICATE +");
  Await(IsSaslEnd, 10, from);
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

std::optional<std::size_t> AwaitLine(const std::vector<IrcLine>& lines,
                                     const std::function<bool(const IrcLine&)>& match, double seconds,
                                     std::size_t from) {
  std::optional<std::size_t> found;
  WaitUntil(
      [&] {
        for (std::size_t i = from; i < lines.size() && !found; ++i) {
          if (match(lines[i])) found = i;
        }
        from = lines.size();
        return found.has_value();
      },
      seconds);
  return found;
}

std::optional<std::size_t> IrcPeer::Await(const std::function<bool(const IrcLine&)>& match, double seconds,
                                          std::size_t from) {
  return AwaitLine(lines_, match, seconds, from);
}

std::string IrcPeer::WhoisAccount(const std::string& nick) {
  const std::size_t from = lines_.size();
  Send("WHOIS " + nick);
  const auto end = Await([](const IrcLine& l) { return l.command == "318"; }, 10, from);
  for (std::size_t i = from; end && i < *end; ++i) {
    const IrcLine& l = lines_[i];
    if (l.command == "330" && l.params.size() >= 3) return l.params[2];
  }
  return "";
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
