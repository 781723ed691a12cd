// A connection's registration, keepalive and reconnect timing.
#include "host/irc/session.h"

#include "host/irc/nick_fallback.h"
#include "host/irc/text.h"

#include <algorithm>
#include <charconv>

namespace wavecrest::irc {

namespace {

constexpr double kPingAfterSilence = 90.0;
constexpr double kReconnectAfterSilence = 120.0;
constexpr double kStableConnection = 60.0;
// The shortest nick limit any server has (RFC 2812): a longer nick refused
// as erroneous is taken to be too long, not badly spelled.
constexpr std::size_t kMinNickLimit = 9;
constexpr int kMaxNicksTried = 50;
constexpr std::size_t kMinLineLength = 256;
constexpr std::size_t kMaxLineLength = 65536;

const std::string& LastParam(const Message& message) {
  static const std::string kEmpty;
  return message.params.empty() ? kEmpty : message.params.back();
}

}  // namespace

Session::Session(SessionConfig config, SessionListener& listener)
    : config_(std::move(config)), listener_(listener), nick_(config_.nick) {}

void Session::Send(std::string_view command, const std::vector<std::string>& params) {
  listener_.SendLine(FormatLine(command, params));
}

void Session::Problem(const std::string& text) {
  std::string clean = RemoveControls(text);
  const std::string& password = config_.password.value_or(std::string());
  for (std::size_t at; !password.empty() && (at = clean.find(password)) != std::string::npos;) {
    clean.replace(at, password.size(), "***");
  }
  listener_.OnProblem(clean);
}

void Session::OnConnected(double now) {
  state_ = State::kRegistering;
  nick_ = config_.nick;
  nickAttempt_ = nicksTried_ = 0;
  maxNickLength_ = 0;
  capEnded_ = joined_ = pingSent_ = reconnectWanted_ = backoffReset_ = false;
  people_.Clear();
  ownPrefix_ = {};
  lineLength_ = 512;
  lastTraffic_ = now;
  rejoinAt_.reset();
  registeredAt_.reset();
  joinBackoff_.Reset();
  flood_ = FloodBucket();
  Send("CAP", {"LS", "302"});
  if (config_.password) Send("PASS", {*config_.password});
  Send("NICK", {nick_});
  Send("USER", {config_.user, "0", "*", config_.realName});
}

void Session::OnLineReceived(std::string_view line, double now) {
  if (state_ == State::kDisconnected) return;
  lastTraffic_ = now;
  pingSent_ = false;
  const std::optional<Message> message = ParseLine(line);
  if (message) Dispatch(*message, now);
}

void Session::Dispatch(const Message& message, double now) {
  const std::string& command = message.command;
  if (command == "PING") return Send("PONG", {LastParam(message)});
  if (command == "CAP") return OnCap(message);
  if (command == "001") return OnWelcome(message, now);
  if (command == "005") return OnIsupport(message);
  if (command == "432" || command == "433" || command == "437") return OnNickRejected(message);
  if (command == "ERROR") return OnServerError(message);
  if (command == "464") return Problem("the server refused the password");
  if (command == "465") return Problem("banned from the server: " + LastParam(message));
  if (command == "396" && message.params.size() >= 2) {
    ownPrefix_.host = message.params[1];
    return;
  }
  DispatchChannel(message, now);
}

// The server lists what it can do; nothing is asked for, so registration
// goes on as soon as the list is complete.
void Session::OnCap(const Message& message) {
  if (capEnded_ || state_ != State::kRegistering || message.params.size() < 2) return;
  if (message.params[1] != "LS") return;
  const bool more = message.params.size() >= 4 && message.params[2] == "*";
  if (more) return;
  capEnded_ = true;
  Send("CAP", {"END"});
}

void Session::OnWelcome(const Message& message, double now) {
  if (state_ != State::kRegistering) return;
  state_ = State::kRegistered;
  capEnded_ = true;
  registeredAt_ = now;
  if (!message.params.empty() && !message.params.front().empty()) nick_ = message.params.front();
  // "Welcome ... nick!user@host": the first guess of the own prefix, until
  // the JOIN echo shows it for certain.
  const std::string& text = LastParam(message);
  const std::string lastWord = text.substr(std::min(text.rfind(' ') + 1, text.size()));
  const std::size_t bang = lastWord.find('!'), at = lastWord.find('@');
  if (bang != std::string::npos && at != std::string::npos && bang < at) {
    ownPrefix_ = Prefix{nick_, lastWord.substr(bang + 1, at - bang - 1), lastWord.substr(at + 1)};
  }
  listener_.OnOwnNick(nick_);
  SendJoin();
}

void Session::OnIsupport(const Message& message) {
  for (std::size_t i = 1; i + 1 < message.params.size(); ++i) {
    const std::string_view token = message.params[i];
    if (token.rfind("LINELEN=", 0) != 0) continue;
    std::size_t value = 0;
    const std::string_view digits = token.substr(8);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc() && end == digits.data() + digits.size()) {
      lineLength_ = std::clamp(value, kMinLineLength, kMaxLineLength);
    }
  }
}

void Session::OnNickRejected(const Message& message) {
  const std::string rejected = message.params.size() >= 2 ? message.params[1] : nick_;
  if (state_ != State::kRegistering) {
    Problem("the server refused the nick " + rejected + ": " + LastParam(message));
    return;
  }
  if (++nicksTried_ > kMaxNicksTried) {
    Problem("no free nick found after " + std::to_string(kMaxNicksTried) + " tries; reconnecting");
    reconnectWanted_ = true;
    return;
  }
  const bool tooLong = message.command == "432" && nick_.size() > kMinNickLimit;
  if (tooLong) maxNickLength_ = nick_.size() - 1;
  else ++nickAttempt_;
  const std::string next = FallbackNick(config_.nick, nickAttempt_, maxNickLength_);
  Problem("nick " + rejected + " is not available (" + LastParam(message) + "); trying " + next);
  nick_ = next;
  Send("NICK", {nick_});
}

// The server is closing the link; the socket closing follows. Should it not,
// the next tick asks for a reconnect.
void Session::OnServerError(const Message& message) {
  Problem("the server closed the connection: " + LastParam(message));
  reconnectWanted_ = true;
}

void Session::OnDisconnected(double now) {
  if (state_ == State::kDisconnected) return;
  CheckStableConnection(now);
  if (joined_) LeaveChannel();
  state_ = State::kDisconnected;
  DropQueued();
  people_.Clear();
  rejoinAt_.reset();
  registeredAt_.reset();
  reconnectWanted_ = false;
}

void Session::CheckKeepalive(double now, SessionAction& action) {
  const double silence = now - lastTraffic_;
  if (silence >= kReconnectAfterSilence) {
    Problem("nothing heard from the server for " + std::to_string(static_cast<int>(silence)) + " s; reconnecting");
    action = SessionAction::kReconnect;
  } else if (silence >= kPingAfterSilence && !pingSent_) {
    pingSent_ = true;
    Send("PING", {"wavecrest"});
  }
}

void Session::CheckStableConnection(double now) {
  if (!registeredAt_ || backoffReset_ || now - *registeredAt_ < kStableConnection) return;
  backoffReset_ = true;
  reconnectBackoff_.Reset();
}

SessionAction Session::OnTick(double now) {
  if (state_ == State::kDisconnected || state_ == State::kQuitting) return SessionAction::kNone;
  if (reconnectWanted_) return SessionAction::kReconnect;
  SessionAction action = SessionAction::kNone;
  CheckKeepalive(now, action);
  if (action == SessionAction::kReconnect) return action;
  CheckStableConnection(now);
  if (rejoinAt_ && now >= *rejoinAt_ && state_ == State::kRegistered && !joined_) {
    rejoinAt_.reset();
    SendJoin();
  }
  ReleaseQueued(now);
  return action;
}

double Session::NextWakeup(double now) const {
  if (state_ == State::kDisconnected || state_ == State::kQuitting) return kIdleWakeupSeconds;
  if (reconnectWanted_) return 0.0;
  double due = lastTraffic_ + (pingSent_ ? kReconnectAfterSilence : kPingAfterSilence);
  if (registeredAt_ && !backoffReset_) due = std::min(due, *registeredAt_ + kStableConnection);
  if (rejoinAt_) due = std::min(due, *rejoinAt_);
  if (!queue_.empty()) due = std::min(due, now + flood_.SecondsUntilToken(now));
  return std::clamp(due - now, 0.0, kIdleWakeupSeconds);
}

double Session::ReconnectDelay() { return reconnectBackoff_.NextDelay(); }

const std::string& Session::Nick() const { return nick_; }

}  // namespace wavecrest::irc
