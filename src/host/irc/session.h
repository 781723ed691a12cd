#pragma once

// One connection's protocol state machine: registration, the channel, the
// keepalive and the flood-controlled queue of the member's lines. It owns no
// socket and no clock: the adapter hands in lines and the time (monotonic
// seconds) and sends what SessionListener::SendLine gives it.
//
// What outlives a connection lives here too: the wanted nick, the channel
// and the reconnect backoff. Whether the start-up banner was sent is not the
// session's business.

#include "host/irc/backoff.h"
#include "host/irc/flood.h"
#include "host/irc/message.h"
#include "host/irc/people.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

struct SessionConfig {
  std::string nick;                       // wanted nick
  std::string user = "wavecrest";
  std::string realName = "wavecrest";
  std::optional<std::string> password = {};   // sent as PASS, never logged
  std::string channel;                    // "#room"
  std::optional<std::string> ownerMask = {};  // see SessionListener::OnChannelLine
};

enum class LineKind { kMessage, kAction, kNotice };

// Every call is made from inside one of Session's calls.
class SessionListener {
 public:
  virtual ~SessionListener() = default;
  // To the socket, without CR LF.
  virtual void SendLine(const std::string& line) = 0;
  // A line said in the channel by someone else: speaker = nick, text = the
  // visible text (formatting stripped, controls removed), styled = the IRC
  // text (for display). PRIVMSG is kMessage, CTCP ACTION kAction, a channel
  // NOTICE kNotice. `trusted` is false when an owner mask is configured and
  // the sender's nick!user@host does not match it. Private messages and CTCP
  // other than ACTION are not channel lines.
  virtual void OnChannelLine(const std::string& speaker, const std::string& text, const std::string& styled,
                             LineKind kind, bool trusted) = 0;
  // Whenever NAMES, JOIN, PART, QUIT, NICK or KICK change the people list;
  // the own nick included.
  virtual void OnPeople(const std::vector<std::string>& nicks) = 0;
  // After 001 and on every change (nick-in-use fallback, NICK).
  virtual void OnOwnNick(const std::string& nick) = 0;
  // The channel is joined (the own JOIN echoed).
  virtual void OnJoined() = 0;
  // Kicked, parted, or the connection lost while joined.
  virtual void OnLeftChannel() = 0;
  // One clear line for standard error; never holds the password; control
  // characters removed.
  virtual void OnProblem(const std::string& text) = 0;
};

// kReconnect: close the socket, then call OnDisconnected.
enum class SessionAction { kNone, kReconnect };

// NextWakeup's answer when nothing is due (not connected, nothing queued).
inline constexpr double kIdleWakeupSeconds = 3600.0;

class Session {
 public:
  Session(SessionConfig config, SessionListener& listener);

  // CAP LS 302, PASS, NICK, USER.
  void OnConnected(double now);
  // One line, CR LF removed.
  void OnLineReceived(std::string_view line, double now);
  // The socket is gone: state reset, OnLeftChannel if joined; queued lines
  // are dropped (and count as sent, so nobody waits for them).
  void OnDisconnected(double now);
  // The keepalive (own PING after 90 s of silence, kReconnect after 120 s of
  // no traffic), the KICK rejoin after 10 s, the join-refused retry with the
  // backoff, and the queued lines as the flood bucket allows.
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
  std::uint64_t LinesSent() const;
  bool Joined() const;
  // The nick in use now.
  const std::string& Nick() const;
  // QUIT :message, after what is queued (flushed at once, ignoring the
  // bucket). Nothing more is sent on this connection.
  void Quit(const std::string& message, double now);

 private:
  enum class State { kDisconnected, kRegistering, kRegistered, kQuitting };

  // Connection and registration (session.cpp).
  void Send(std::string_view command, const std::vector<std::string>& params);
  void Problem(const std::string& text);
  void Dispatch(const Message& message, double now);
  void OnCap(const Message& message);
  void OnWelcome(const Message& message, double now);
  void OnIsupport(const Message& message);
  void OnNickRejected(const Message& message);
  void OnServerError(const Message& message);
  void CheckKeepalive(double now, SessionAction& action);
  void CheckStableConnection(double now);

  // The channel (session_channel.cpp).
  void DispatchChannel(const Message& message, double now);
  bool IsOwnChannel(std::string_view target) const;
  bool IsMe(std::string_view nick) const;
  void OnJoin(const Message& message);
  void OnPart(const Message& message, double now);
  void OnKick(const Message& message, double now);
  void OnQuitOf(const Message& message);
  void OnNick(const Message& message);
  void OnNames(const Message& message);
  void OnEndOfNames(const Message& message);
  void OnJoinRefused(const Message& message, double now);
  void OnChannelText(const Message& message, LineKind kind);
  void LeaveChannel();
  void SendJoin();
  void PublishPeople();

  // The member's lines (session_queue.cpp).
  std::size_t PieceLimit() const;
  void ReleaseQueued(double now);
  void DropQueued();

  SessionConfig config_;
  SessionListener& listener_;
  State state_ = State::kDisconnected;

  // Registration: the nick tried and how it was chosen.
  std::string nick_;
  int nickAttempt_ = 0;
  int nicksTried_ = 0;
  std::size_t maxNickLength_ = 0;  // 0: not known to be limited
  bool capEnded_ = false;

  // The channel and what the server shows of us.
  bool joined_ = false;
  ChannelPeople people_;
  Prefix ownPrefix_;
  std::size_t lineLength_ = 512;

  // Timers, in the caller's monotonic seconds.
  double lastTraffic_ = 0.0;
  bool pingSent_ = false;
  bool reconnectWanted_ = false;
  std::optional<double> registeredAt_;
  bool backoffReset_ = false;
  std::optional<double> rejoinAt_;
  Backoff reconnectBackoff_;
  Backoff joinBackoff_;

  // The member's lines waiting for the flood bucket.
  FloodBucket flood_;
  std::deque<std::string> queue_;
  std::uint64_t linesQueued_ = 0;
  std::uint64_t linesSent_ = 0;
};

}  // namespace wavecrest::irc
