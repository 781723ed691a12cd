#pragma once

// One connection's protocol state machine: registration (with the
// Registration beside it), the channel, the keepalive, the member's lines
// and how they are paced, who said what, and the manners a client on IRC is
// expected to have (CTCP, a private help, AWAY, taking its nick back). It
// owns no socket and no clock: the adapter hands in lines and the time
// (monotonic seconds) and sends what SessionListener::SendLine gives it.
//
// What outlives a connection lives here too: the configuration, the
// reconnect backoff, the away reason and the count of lines said. The rest
// is one Connection value, made afresh for every connection.

#include "host/irc/backoff.h"
#include "host/irc/flood.h"
#include "host/irc/message.h"
#include "host/irc/people.h"
#include "host/irc/registration.h"
#include "host/irc/server_rules.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

struct SessionConfig {
  std::string nick = {};                  // wanted nick
  std::string user = "wavecrest";
  std::string realName = "wavecrest";
  std::optional<std::string> password = {};   // sent as PASS, never logged
  SaslLogin login = {};                       // the services account, if any
  std::string channel = {};               // "#room"
  std::optional<std::string> channelKey = {};
  std::optional<std::string> ownerMask = {};     // see ChannelLine::mask
  std::optional<std::string> ownerAccount = {};  // the owner is told by account: accounts are tracked
  std::string version = "wavecrest";      // the CTCP VERSION answer
  std::string source = {};                // the CTCP SOURCE answer
};

enum class LineKind { kMessage, kAction, kNotice };

// Who sent a line, as far as the network can vouch.
enum class Sender {
  kOther,        // another connection
  kOwnIdentity,  // our own nick on another client sharing it (a bouncer's self-message, or echo-message)
};
// The owner mask against the sender's nick!user@host. kFails also for a
// sender whose prefix holds control characters: no real client has one, and
// what it shows once they are removed is not who sent it.
enum class MaskVerdict { kNoMask, kMatches, kFails };

struct ChannelLine {
  std::string nick;                    // control characters removed
  std::optional<std::string> account;  // the services account the server vouches for
  Sender sender = Sender::kOther;
  MaskVerdict mask = MaskVerdict::kNoMask;
  std::string text;    // the visible text: formatting stripped, controls removed
  std::string styled;  // the IRC text, formatting codes kept (for display)
  LineKind kind = LineKind::kMessage;
};

// Every call is made from inside one of Session's calls.
class SessionListener : public LineSink {
 public:
  // A line said in the channel (PRIVMSG, CTCP ACTION, NOTICE), by someone
  // else or by our own identity on another client; never our own echo.
  virtual void OnChannelLine(const ChannelLine& line) = 0;
  // A private message or notice to us from a person (not a CTCP request).
  virtual void OnPrivateLine(const ChannelLine& line) = 0;
  // The people changed (NAMES, JOIN, PART, QUIT, NICK, KICK); the own nick
  // included. Told at most once per tick however many changed.
  virtual void OnPeople(const std::vector<std::string>& nicks) = 0;
  // After 001 (with the nick the server accepted, a nick-in-use fallback
  // included) and on every later NICK change of ours.
  virtual void OnOwnNick(const std::string& nick) = 0;
  virtual void OnJoined() = 0;
  // Kicked, parted, or the connection lost while joined.
  virtual void OnLeftChannel() = 0;
  // One clear line for standard error; never holds the password or its
  // encoding; control characters removed.
  virtual void OnProblem(const std::string& text) = 0;
  // The answer to a private "help" (word empty) or "help WORD"; empty for
  // none.
  virtual std::string HelpText(const std::string& word) = 0;
  // The local date and time as a person reads it, for CTCP TIME.
  virtual std::string LocalTime() = 0;
  // The wall clock: seconds since 1970, UTC. A line whose server-time is
  // older than a few seconds was said before we came (a bouncer playing back
  // what it kept) and is not taken as said now.
  virtual double UnixTime() = 0;
};

// kReconnect: close the socket, then call OnDisconnected.
enum class SessionAction { kNone, kReconnect };

// NextWakeup's answer when nothing is due (not connected, nothing queued).
inline constexpr double kIdleWakeupSeconds = 3600.0;
// The least time between two answers to CTCP requests or a private help.
inline constexpr double kAnswerIntervalSeconds = 2.0;

class Session {
 public:
  Session(SessionConfig config, SessionListener& listener);

  // CAP LS 302, PASS, NICK, USER.
  void OnConnected(double now);
  // One line, its line end removed.
  void OnLineReceived(std::string_view line, double now);
  // The socket is gone: OnLeftChannel if joined; queued lines are dropped
  // (and count as sent, so nobody waits for them).
  void OnDisconnected(double now);
  // The deadlines and the keepalive (own PING after 90 s of silence,
  // kReconnect after 120 s), the rejoins, the nick watch, the people told,
  // and the queued lines as the flood bucket allows.
  SessionAction OnTick(double now);
  // Seconds until OnTick has something to do (>= 0).
  double NextWakeup(double now) const;
  // The next reconnect delay: 10, 20 ... 300; back to 10 after a connection
  // that stayed registered for a minute.
  double ReconnectDelay();

  // A line of the member's (chat HTML) for the channel: translated, split to
  // fit the server's line length with the own prefix counted, and queued in
  // order; released as the flood bucket allows (4 at once, then 1 a second;
  // PING, PONG and registration never wait). Returns a ticket: the line has
  // left when LinesSent() >= ticket. Not joined: the line is dropped and 0
  // is returned.
  std::uint64_t Say(std::string_view chatHtml, double now);
  std::uint64_t LinesSent() const { return linesSent_; }
  bool Joined() const;
  // The nick in use now.
  const std::string& Nick() const { return link_.nick; }
  // AWAY with `reason`, or back when it is empty; kept for later connections.
  void SetAway(const std::string& reason);

  // Leaves: the lines already said still leave as the bucket allows, and
  // QUIT :message follows the last of them at once. Nothing else is sent on
  // this connection.
  void Quit(const std::string& message, double now);
  // The QUIT has been sent (or there was no connection to send it on).
  bool QuitSent() const;

 private:
  enum class State { kDisconnected, kRegistering, kRegistered, kQuitSent };

  // Everything that belongs to one connection.
  struct Connection {
    State state = State::kDisconnected;
    Registration registration;
    ServerRules rules;
    ChannelPeople people;
    bool peopleChanged = false;
    std::string nick;
    int nickAttempt = 0;
    int nicksTried = 0;
    std::size_t maxNickLength = 0;  // 0: not known to be limited
    bool joined = false;
    Prefix ownPrefix;
    double lastTraffic = 0.0;
    bool pingSent = false;
    bool reconnectWanted = false;
    std::optional<double> registeredAt;
    bool backoffReset = false;
    std::optional<double> rejoinAt;
    Backoff joinBackoff;
    FloodBucket flood;
    std::deque<std::string> queue;   // the member's lines, formatted, waiting for the bucket
    std::deque<std::string> echoes;  // texts sent, awaited back with echo-message
    std::optional<double> lastAnswerAt;
    bool watchingNick = false;
    std::optional<double> nextIsonAt;
  };

  // Connection and registration (session.cpp).
  void Send(std::string_view command, const std::vector<std::string>& params);
  void Problem(const std::string& text);
  void Dispatch(const Message& message, double now);
  void OnWelcome(const Message& message, double now);
  void OnServerError(const Message& message);
  void CheckRegistration(double now);
  void CheckKeepalive(double now, SessionAction& action);
  void CheckStableConnection(double now);

  // Nicks (session_nick.cpp).
  bool IsMe(std::string_view nick) const;
  void OnNickRejected(const Message& message);
  void OnNickChange(const Message& message);
  void WatchNick(double now);
  void OnNickNews(const Message& message);
  void ClaimNick();

  // The channel (session_channel.cpp).
  void DispatchChannel(const Message& message, double now);
  bool IsOwnChannel(std::string_view target) const;
  void OnJoin(const Message& message);
  void OnPart(const Message& message, double now);
  void OnKick(const Message& message, double now);
  void OnQuitOf(const Message& message);
  void OnNames(const Message& message);
  void OnEndOfNames(const Message& message);
  void OnAccount(const Message& message);
  void OnWhoxReply(const Message& message);
  void OnJoinRefused(const Message& message, double now);
  void OnInvite(const Message& message);
  void LeaveChannel();
  void SendJoin();
  void PublishPeople();

  // Who said a line, and what is said to us (session_lines.cpp).
  void OnText(const Message& message, LineKind kind, double now);
  ChannelLine Describe(const Message& message, std::string_view text, LineKind kind) const;
  bool IsOwnEcho(std::string_view text);
  bool IsReplayed(const Message& message);
  void OnPrivateText(const Message& message, std::string_view text, LineKind kind, double now);
  void AnswerCtcp(const std::string& to, std::string_view request, double now);
  void Answer(const std::string& to, const std::string& text, double now);

  // The member's lines (session_queue.cpp).
  std::size_t PieceLimit() const;
  void ReleaseQueued(double now);
  void DropQueued();

  SessionConfig config_;
  SessionListener& listener_;
  Connection link_;
  Backoff reconnectBackoff_;
  std::string away_;
  std::optional<std::string> quitMessage_;
  std::uint64_t linesQueued_ = 0;
  std::uint64_t linesSent_ = 0;
};

}  // namespace wavecrest::irc
