#pragma once

// The capability negotiation and login that come before the server lets a
// client in: CAP LS 302, REQ of what is used, ACK/NAK, NEW/DEL, SASL PLAIN
// or EXTERNAL, and CAP END; with deadlines, so a server that never finishes
// its list, never answers a login, or never welcomes the client cannot hold
// the connection for ever. NICK and USER are the session's.
//
// Plain state: lines and the time in, lines out through a LineSink, and a
// verdict. One Registration lives for one connection. A login that is asked
// for and fails is a failure: the client does not go on without its
// account. The reason never holds the password, nor its encoding.

#include "host/irc/message.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wavecrest::irc {

class LineSink {
 public:
  virtual ~LineSink() = default;
  // One line for the socket, without CR LF.
  virtual void SendLine(const std::string& line) = 0;
};

// How the client logs in to its services account, if at all.
struct SaslLogin {
  std::optional<std::string> account = std::nullopt;  // SASL PLAIN as this account, with `password`
  std::string password = {};
  bool certificate = false;            // a client certificate is presented: SASL EXTERNAL where offered
  bool operator==(const SaslLogin&) const = default;
};

enum class SaslMechanism { kNone, kPlain, kExternal };

// The capabilities asked for wherever the server offers them.
inline constexpr const char* kWantedCapabilities[] = {
    "sasl",          "account-tag",    "extended-join", "account-notify",      "away-notify",
    "multi-prefix",  "message-tags",   "server-time",   "echo-message",        "znc.in/self-message",
};

// How long the server may take to finish its capability list, and to let
// the client in at all.
inline constexpr double kCapListSeconds = 15.0;
inline constexpr double kRegistrationSeconds = 60.0;

class Registration {
 public:
  enum class State { kNegotiating, kEnded, kFailed };

  Registration() = default;
  Registration(SaslLogin login, LineSink& sink, double now);

  // Sends CAP LS 302.
  void Open();
  // Any line of the server's; those of negotiation and login are taken in.
  void OnMessage(const Message& message);
  // 001 arrived: registration is over, whatever was still negotiated.
  void OnWelcome();
  // The deadlines.
  void OnTick(double now);
  // When OnTick next has something to do.
  double NextDeadline() const;

  State Status() const { return state_; }
  bool Welcomed() const { return welcomed_; }
  // Why it failed; empty otherwise.
  const std::string& Failure() const { return failure_; }
  bool Enabled(std::string_view capability) const { return enabled_.contains(std::string(capability)); }
  // The account the server says the client is logged in to.
  const std::optional<std::string>& Account() const { return account_; }
  // The secret as it crosses the wire, for keeping it out of what is said.
  std::string EncodedSecret() const;

 private:
  void Send(std::string_view command, const std::vector<std::string>& params);
  void Fail(std::string reason);
  void End();
  void OnCap(const Message& message);
  void OnListComplete();
  void Request(const std::vector<std::string>& capabilities);
  void OnAcknowledged(const std::string& list, bool acknowledged);
  void AfterRequests();
  void OnAuthenticate(const Message& message);
  void OnSaslNumeric(const Message& message);
  bool LoginRequired() const;

  SaslLogin login_;
  LineSink* sink_ = nullptr;
  double startedAt_ = 0.0;
  State state_ = State::kNegotiating;
  bool capEndSent_ = false;
  bool listComplete_ = false;
  bool welcomed_ = false;
  std::map<std::string, std::string> offered_;
  std::set<std::string> enabled_;
  int requestsOpen_ = 0;
  SaslMechanism mechanism_ = SaslMechanism::kNone;
  bool authenticating_ = false;
  std::optional<std::string> account_;
  std::string failure_;
};

// Standard base64 with padding.
std::string Base64(std::string_view bytes);

}  // namespace wavecrest::irc
