// The channel: joining, who is there and which account each is logged in to.
#include "host/irc/session.h"

#include <algorithm>
#include <array>

namespace wavecrest::irc {

namespace {

constexpr double kRejoinAfterKick = 10.0;
// The token of our WHOX query, to tell its replies from anyone else's.
constexpr const char* kWhoxToken = "152";

// The replies that refuse a JOIN: no such channel, too many channels, full,
// invite only, banned, bad key, registered nicks only, bad channel name.
constexpr std::array<std::string_view, 8> kJoinRefusals = {"403", "405", "471", "473", "474", "475", "477", "479"};

const std::string& Param(const Message& message, std::size_t index) {
  static const std::string kEmpty;
  return index < message.params.size() ? message.params[index] : kEmpty;
}

// An account as extended-join, ACCOUNT and WHOX give it: "*" and "0" are
// no account.
std::optional<std::string> AccountOf(const std::string& value) {
  if (value.empty() || value == "*" || value == "0") return std::nullopt;
  return value;
}

}  // namespace

bool Session::IsOwnChannel(std::string_view target) const {
  return SameName(link_.rules.caseMapping, target, config_.channel);
}

void Session::DispatchChannel(const Message& message, double now) {
  const std::string& command = message.command;
  if (command == "JOIN") OnJoin(message);
  else if (command == "PART") OnPart(message, now);
  else if (command == "KICK") OnKick(message, now);
  else if (command == "QUIT") OnQuitOf(message);
  else if (command == "353") OnNames(message);
  else if (command == "366") OnEndOfNames(message);
  else if (command == "ACCOUNT") OnAccount(message);
  else if (command == "354") OnWhoxReply(message);
  else if (command == "INVITE") OnInvite(message);
  else if (command == "PRIVMSG") OnText(message, LineKind::kMessage, now);
  else if (command == "NOTICE") OnText(message, LineKind::kNotice, now);
  else if (std::find(kJoinRefusals.begin(), kJoinRefusals.end(), command) != kJoinRefusals.end()) OnJoinRefused(message, now);
}

void Session::SendJoin() {
  if (config_.channelKey) return Send("JOIN", {config_.channel, *config_.channelKey});
  Send("JOIN", {config_.channel});
}

void Session::PublishPeople() {
  link_.peopleChanged = false;
  listener_.OnPeople(link_.people.Nicks());
}

void Session::LeaveChannel() {
  link_.joined = false;
  DropQueued();
  link_.people.Clear();
  PublishPeople();
  listener_.OnLeftChannel();
}

void Session::OnJoin(const Message& message) {
  if (!IsOwnChannel(Param(message, 0))) return;
  const std::string& who = message.prefix.nick;
  const std::optional<std::string> account =
      link_.registration.Enabled("extended-join") ? AccountOf(Param(message, 1)) : std::nullopt;
  if (!IsMe(who)) {
    if (link_.joined && link_.people.Add(who, account)) link_.peopleChanged = true;
    return;
  }
  if (link_.joined) return;
  link_.joined = true;
  link_.ownPrefix = message.prefix;
  link_.rejoinAt.reset();
  link_.joinBackoff.Reset();
  link_.people.Clear();
  link_.people.Add(link_.nick);
  listener_.OnJoined();
  PublishPeople();
  if (!config_.ownerAccount || link_.registration.Enabled("account-tag")) return;
  if (link_.rules.whox) return Send("WHO", {config_.channel, std::string("%tna,") + kWhoxToken});
  const bool told = link_.registration.Enabled("extended-join") || link_.registration.Enabled("account-notify");
  if (!told) Problem("this server tells nobody's account (no account-tag, extended-join, account-notify or WHOX): nobody's lines are obeyed");
}

// The session never parts on its own: a PART of ours is forced by the
// network, and is answered like a kick.
void Session::OnPart(const Message& message, double now) {
  if (!IsOwnChannel(Param(message, 0)) || !link_.joined) return;
  if (!IsMe(message.prefix.nick)) {
    if (link_.people.Remove(message.prefix.nick)) link_.peopleChanged = true;
    return;
  }
  Problem("left " + config_.channel + " by the network's doing; rejoining in 10 s");
  LeaveChannel();
  link_.rejoinAt = now + kRejoinAfterKick;
}

void Session::OnKick(const Message& message, double now) {
  if (!IsOwnChannel(Param(message, 0)) || !link_.joined) return;
  const std::string& target = Param(message, 1);
  if (!IsMe(target)) {
    if (link_.people.Remove(target)) link_.peopleChanged = true;
    return;
  }
  Problem("kicked from " + config_.channel + " by " + message.prefix.nick + " (" + Param(message, 2) +
          "); rejoining in 10 s");
  LeaveChannel();
  link_.rejoinAt = now + kRejoinAfterKick;
}

void Session::OnQuitOf(const Message& message) {
  if (link_.joined && link_.people.Remove(message.prefix.nick)) link_.peopleChanged = true;
  if (link_.watchingNick && SameName(link_.rules.caseMapping, message.prefix.nick, config_.nick)) ClaimNick();
}

// "353 me = #chan :@op +voiced plain": the channel is the parameter before
// the list.
void Session::OnNames(const Message& message) {
  if (message.params.size() < 3 || !IsOwnChannel(message.params[message.params.size() - 2])) return;
  std::string_view names = message.params.back();
  while (!names.empty()) {
    const std::size_t end = std::min(names.find(' '), names.size());
    link_.people.AddName(link_.rules.WithoutModePrefixes(names.substr(0, end)));
    names.remove_prefix(std::min(end + 1, names.size()));
  }
}

void Session::OnEndOfNames(const Message& message) {
  if (!IsOwnChannel(Param(message, 1))) return;
  link_.people.EndNames();
  if (link_.joined) link_.peopleChanged = true;
}

// account-notify: ":nick!u@h ACCOUNT name" (or "*": logged out).
void Session::OnAccount(const Message& message) {
  link_.people.SetAccount(message.prefix.nick, AccountOf(Param(message, 0)));
}

// "354 me TOKEN nick account", the answer to our WHOX.
void Session::OnWhoxReply(const Message& message) {
  if (message.params.size() < 4 || message.params[1] != kWhoxToken) return;
  link_.people.SetAccount(message.params[2], AccountOf(message.params[3]));
}

void Session::OnJoinRefused(const Message& message, double now) {
  const std::string& channel = Param(message, 1);
  if (!IsOwnChannel(channel) || link_.joined) return;
  const double delay = link_.joinBackoff.NextDelay();
  Problem("cannot join " + channel + ": " + Param(message, 2) + " (" + message.command + "); retrying in " +
          std::to_string(static_cast<int>(delay)) + " s");
  link_.rejoinAt = now + delay;
}

// An invitation to our channel while we wait to get back in: now is when
// the door is open.
void Session::OnInvite(const Message& message) {
  if (!IsMe(Param(message, 0)) || !IsOwnChannel(Param(message, 1))) return;
  if (link_.state != State::kRegistered || link_.joined) return;
  link_.rejoinAt.reset();
  SendJoin();
}

}  // namespace wavecrest::irc
