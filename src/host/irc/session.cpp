// A connection's registration, keepalive and reconnect timing.
#include "host/irc/session.h"

#include "host/irc/text.h"

#include <algorithm>

namespace wavecrest::irc {

namespace {

constexpr double kPingAfterSilence = 90.0;
constexpr double kReconnectAfterSilence = 120.0;
constexpr double kStableConnection = 60.0;

const std::string& LastParam(const Message& message) {
  static const std::string kEmpty;
  return message.params.empty() ? kEmpty : message.params.back();
}

void Scrub(std::string& text, std::string_view secret) {
  if (secret.empty()) return;
  for (std::size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3)) {
    text.replace(at, secret.size(), "***");
  }
}

}  // namespace

Session::Session(SessionConfig config, SessionListener& listener) : config_(std::move(config)), listener_(listener) {
  link_.nick = config_.nick;
}

void Session::Send(std::string_view command, const std::vector<std::string>& params) {
  listener_.SendLine(FormatLine(command, params));
}

void Session::Problem(const std::string& text) {
  std::string clean = RemoveControls(text);
  // A server may echo what it was sent; the secrets never go further.
  if (config_.password) Scrub(clean, RemoveControls(*config_.password));
  if (config_.login.account) {
    Scrub(clean, RemoveControls(config_.login.password));
    const std::string encoded = link_.registration.EncodedSecret();
    Scrub(clean, encoded);
    Scrub(clean, std::string_view(encoded).substr(0, 400));
  }
  listener_.OnProblem(clean);
}

void Session::OnConnected(double now) {
  link_ = Connection();
  link_.state = State::kRegistering;
  link_.nick = config_.nick;
  link_.lastTraffic = now;
  link_.registration = Registration(config_.login, listener_, now);
  link_.registration.Open();
  // With a services login the password is the account's, not the server's.
  if (config_.password && !config_.login.account) Send("PASS", {*config_.password});
  Send("NICK", {link_.nick});
  Send("USER", {config_.user, "0", "*", config_.realName});
}

void Session::OnLineReceived(std::string_view line, double now) {
  if (link_.state == State::kDisconnected || link_.state == State::kQuitSent) return;
  link_.lastTraffic = now;
  link_.pingSent = false;
  const std::optional<Message> message = ParseLine(line);
  if (message) Dispatch(*message, now);
}

void Session::Dispatch(const Message& message, double now) {
  const std::string& command = message.command;
  if (command == "PING") return Send("PONG", {LastParam(message)});
  link_.registration.OnMessage(message);
  CheckRegistration(now);
  if (command == "001") return OnWelcome(message, now);
  if (command == "005" && message.params.size() >= 2) {
    link_.rules.Apply({message.params.begin() + 1, message.params.end() - 1});
    link_.people.SetCaseMapping(link_.rules.caseMapping);
    return;
  }
  if (command == "432" || command == "433" || command == "437") return OnNickRejected(message);
  if (command == "ERROR") return OnServerError(message);
  if (command == "464") return Problem("the server refused the password");
  if (command == "465") return Problem("banned from the server: " + LastParam(message));
  if (command == "396" && message.params.size() >= 2) {
    link_.ownPrefix.host = message.params[1];
    return;
  }
  if (command == "NICK") return OnNickChange(message);
  if (command == "303" || command == "730" || command == "731") return OnNickNews(message);
  DispatchChannel(message, now);
}

// A login that failed, or a server that keeps the client waiting: the
// connection is given up and made again after the backoff.
void Session::CheckRegistration(double now) {
  link_.registration.OnTick(now);
  if (link_.registration.Status() != Registration::State::kFailed || link_.reconnectWanted) return;
  Problem(link_.registration.Failure() + "; not joining without it");
  link_.reconnectWanted = true;
}

void Session::OnWelcome(const Message& message, double now) {
  if (link_.state != State::kRegistering) return;
  link_.registration.OnWelcome();
  CheckRegistration(now);
  if (link_.reconnectWanted) return;
  link_.state = State::kRegistered;
  link_.registeredAt = now;
  if (!message.params.empty() && !message.params.front().empty()) link_.nick = message.params.front();
  // "Welcome ... nick!user@host": the first guess of the own prefix, until
  // the JOIN echo shows it for certain.
  const std::string& text = LastParam(message);
  const std::string lastWord = text.substr(std::min(text.rfind(' ') + 1, text.size()));
  const std::size_t bang = lastWord.find('!'), at = lastWord.find('@');
  if (bang != std::string::npos && at != std::string::npos && bang < at) {
    link_.ownPrefix = Prefix{link_.nick, lastWord.substr(bang + 1, at - bang - 1), lastWord.substr(at + 1)};
  }
  listener_.OnOwnNick(link_.nick);
  if (!away_.empty()) Send("AWAY", {away_});
  SendJoin();
}

// The server is closing the link; the socket closing follows. Should it not,
// the next tick asks for a reconnect.
void Session::OnServerError(const Message& message) {
  Problem("the server closed the connection: " + LastParam(message));
  link_.reconnectWanted = true;
}

void Session::OnDisconnected(double now) {
  if (link_.state == State::kDisconnected) return;
  CheckStableConnection(now);
  if (link_.joined) LeaveChannel();
  DropQueued();
  link_ = Connection();
  link_.nick = config_.nick;
}

void Session::CheckKeepalive(double now, SessionAction& action) {
  const double silence = now - link_.lastTraffic;
  if (silence >= kReconnectAfterSilence) {
    Problem("nothing heard from the server for " + std::to_string(static_cast<int>(silence)) + " s; reconnecting");
    action = SessionAction::kReconnect;
  } else if (silence >= kPingAfterSilence && !link_.pingSent) {
    link_.pingSent = true;
    Send("PING", {"wavecrest"});
  }
}

void Session::CheckStableConnection(double now) {
  if (!link_.registeredAt || link_.backoffReset || now - *link_.registeredAt < kStableConnection) return;
  link_.backoffReset = true;
  reconnectBackoff_.Reset();
}

SessionAction Session::OnTick(double now) {
  if (link_.state == State::kDisconnected || link_.state == State::kQuitSent) return SessionAction::kNone;
  CheckRegistration(now);
  if (link_.reconnectWanted) return SessionAction::kReconnect;
  SessionAction action = SessionAction::kNone;
  CheckKeepalive(now, action);
  if (action == SessionAction::kReconnect) return action;
  CheckStableConnection(now);
  const bool registered = link_.state == State::kRegistered;
  if (link_.rejoinAt && now >= *link_.rejoinAt && registered && !link_.joined) {
    link_.rejoinAt.reset();
    SendJoin();
  }
  if (registered) WatchNick(now);
  if (link_.peopleChanged) PublishPeople();
  ReleaseQueued(now);
  return action;
}

double Session::NextWakeup(double now) const {
  if (link_.state == State::kDisconnected || link_.state == State::kQuitSent) return kIdleWakeupSeconds;
  if (link_.reconnectWanted || link_.peopleChanged) return 0.0;
  double due = link_.lastTraffic + (link_.pingSent ? kReconnectAfterSilence : kPingAfterSilence);
  if (link_.state == State::kRegistering) due = std::min(due, link_.registration.NextDeadline());
  if (link_.registeredAt && !link_.backoffReset) due = std::min(due, *link_.registeredAt + kStableConnection);
  if (link_.rejoinAt) due = std::min(due, *link_.rejoinAt);
  if (link_.nextIsonAt) due = std::min(due, *link_.nextIsonAt);
  if (!link_.queue.empty()) due = std::min(due, now + link_.flood.SecondsUntilToken(now));
  return std::clamp(due - now, 0.0, kIdleWakeupSeconds);
}

double Session::ReconnectDelay() { return reconnectBackoff_.NextDelay(); }

void Session::SetAway(const std::string& reason) {
  away_ = RemoveControls(reason);
  if (link_.state != State::kRegistered) return;
  if (away_.empty()) return Send("AWAY", {});
  Send("AWAY", {away_});
}

}  // namespace wavecrest::irc
