#pragma once

// A person in an IRC channel, for end-to-end tests: a client on a raw socket
// that registers, joins, says lines and keeps every line it receives. Answers
// PING by itself. It may ask for capabilities and log in to a services account
// (SASL PLAIN or EXTERNAL) before registering, and reach a TLS port through
// `openssl s_client`, presenting a client certificate, so what it sends and
// receives stays plain lines on a socket either way.

#include "support/event_wait.h"

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::testing {

struct IrcLine {
  std::string raw;                          // as received, without CR LF
  std::map<std::string, std::string> tags;  // message tags, values unescaped
  std::string nick;                         // of the prefix; empty without one
  std::string userHost;                     // "user@host" of the prefix
  std::string command;
  std::vector<std::string> params;  // the trailing one last

  std::string Text() const { return params.empty() ? "" : params.back(); }
};
IrcLine ParseIrcLine(std::string_view raw);

// The index of the first of `lines` from `from` on that `match` accepts,
// letting the sources that fill them run for at most `seconds`.
std::optional<std::size_t> AwaitLine(const std::vector<IrcLine>& lines,
                                     const std::function<bool(const IrcLine&)>& match, double seconds,
                                     std::size_t from);

enum class PeerTransport { kPlain, kTls };
enum class SaslMechanism { kNone, kPlain, kExternal };

// How a peer introduces itself. Capabilities are negotiated (CAP LS 302, REQ,
// END) only when some are asked for or SASL is used.
struct PeerLogin {
  std::string nick{};
  std::string user = "person";
  std::string password{};                   // PASS, e.g. a bouncer's "user/network:secret"
  std::vector<std::string> capabilities{};  // "sasl" is added when logging in
  SaslMechanism sasl = SaslMechanism::kNone;
  std::string account{}, accountPassword{};   // for PLAIN
  PeerTransport transport = PeerTransport::kPlain;
  std::string certificate{};                // PEM certificate and key shown in TLS
};

class IrcPeer : public WaitSource {
 public:
  // Connects to 127.0.0.1:port and registers; throws unless welcomed. A SASL
  // login that fails does not throw: the server welcomes the peer without an
  // account, and Lines() hold its 904 to check.
  IrcPeer(std::uint16_t port, std::string nick, const std::string& user = "person");
  IrcPeer(std::uint16_t port, const PeerLogin& login);
  ~IrcPeer() override;

  void Send(std::string_view line);  // CR LF added
  void Join(const std::string& channel);  // returns once the server has named who is in it
  void Say(const std::string& channel, std::string_view text);
  void Quit();  // returns once the server has closed the connection

  const std::string& Nick() const { return nick_; }
  bool Connected() const { return fd_ >= 0; }
  const std::vector<IrcLine>& Lines() const { return lines_; }
  // The index of the first line from `from` on that `match` accepts, waiting
  // at most `seconds` for it.
  std::optional<std::size_t> Await(const std::function<bool(const IrcLine&)>& match, double seconds,
                                   std::size_t from = 0);
  // The services account WHOIS names for `nick`, empty when none.
  std::string WhoisAccount(const std::string& nick);

  std::vector<int> WaitFds() const override;
  void OnReadable(int fd) override;

 private:
  void Connect(std::uint16_t port, const PeerLogin& login);
  void Close();  // the socket, and the TLS client by its PID
  void Negotiate(const PeerLogin& login);
  void LogIn(const PeerLogin& login);

  std::string nick_;
  int fd_ = -1;
  pid_t tlsClient_ = -1;  // openssl s_client between the socket and the server
  std::string pending_;
  std::vector<IrcLine> lines_;
};

// What `nick` said in `channel`, in order, from line `from` on.
std::vector<std::string> SaidBy(const IrcPeer& peer, const std::string& nick, const std::string& channel,
                                std::size_t from = 0);

}  // namespace wavecrest::testing
