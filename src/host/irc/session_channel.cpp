// The channel: joining, who is there, and what is said in it.
#include "host/irc/session.h"

#include "host/irc/formatting.h"
#include "host/irc/text.h"

#include <algorithm>
#include <array>

namespace wavecrest::irc {

namespace {

constexpr double kRejoinAfterKick = 10.0;
constexpr char kCtcpDelimiter = '\x01';

// The replies that refuse a JOIN: no such channel, too many channels, full,
// invite only, banned, bad key, registered nicks only, bad channel name.
constexpr std::array<std::string_view, 8> kJoinRefusals = {"403", "405", "471", "473", "474", "475", "477", "479"};

const std::string& Param(const Message& message, std::size_t index) {
  static const std::string kEmpty;
  return index < message.params.size() ? message.params[index] : kEmpty;
}

// The IRC text as shown: formatting codes kept, every other control dropped.
std::string StyledText(std::string_view text) {
  std::string styled;
  for (const char c : text) {
    const bool control = static_cast<unsigned char>(c) < 0x20 || c == '\x7F';
    const bool formatting = c == kColourCode || c == kHexColourCode || c == kResetCode ||
                            kToggleCodes.find(c) != std::string_view::npos;
    if (!control || formatting) styled += c;
  }
  return styled;
}

}  // namespace

bool Session::IsOwnChannel(std::string_view target) const { return SameNick(target, config_.channel); }

bool Session::IsMe(std::string_view nick) const { return SameNick(nick, nick_); }

void Session::DispatchChannel(const Message& message, double now) {
  const std::string& command = message.command;
  if (command == "JOIN") OnJoin(message);
  else if (command == "PART") OnPart(message, now);
  else if (command == "KICK") OnKick(message, now);
  else if (command == "QUIT") OnQuitOf(message);
  else if (command == "NICK") OnNick(message);
  else if (command == "353") OnNames(message);
  else if (command == "366") OnEndOfNames(message);
  else if (command == "PRIVMSG") OnChannelText(message, LineKind::kMessage);
  else if (command == "NOTICE") OnChannelText(message, LineKind::kNotice);
  else if (std::find(kJoinRefusals.begin(), kJoinRefusals.end(), command) != kJoinRefusals.end()) OnJoinRefused(message, now);
}

void Session::SendJoin() { Send("JOIN", {config_.channel}); }

void Session::PublishPeople() { listener_.OnPeople(people_.Nicks()); }

void Session::LeaveChannel() {
  joined_ = false;
  DropQueued();
  people_.Clear();
  PublishPeople();
  listener_.OnLeftChannel();
}

void Session::OnJoin(const Message& message) {
  if (!IsOwnChannel(Param(message, 0))) return;
  const std::string& who = message.prefix.nick;
  if (!IsMe(who)) {
    if (joined_ && people_.Add(who)) PublishPeople();
    return;
  }
  if (joined_) return;
  joined_ = true;
  ownPrefix_ = message.prefix;
  rejoinAt_.reset();
  joinBackoff_.Reset();
  people_.Clear();
  people_.Add(nick_);
  listener_.OnJoined();
  PublishPeople();
}

// The session never parts on its own: a PART of ours is forced by the
// network, and is answered like a kick.
void Session::OnPart(const Message& message, double now) {
  if (!IsOwnChannel(Param(message, 0)) || !joined_) return;
  if (!IsMe(message.prefix.nick)) {
    if (people_.Remove(message.prefix.nick)) PublishPeople();
    return;
  }
  Problem("left " + config_.channel + " by the network's doing; rejoining in 10 s");
  LeaveChannel();
  rejoinAt_ = now + kRejoinAfterKick;
}

void Session::OnKick(const Message& message, double now) {
  if (!IsOwnChannel(Param(message, 0)) || !joined_) return;
  const std::string& target = Param(message, 1);
  if (!IsMe(target)) {
    if (people_.Remove(target)) PublishPeople();
    return;
  }
  Problem("kicked from " + config_.channel + " by " + message.prefix.nick + " (" + Param(message, 2) +
          "); rejoining in 10 s");
  LeaveChannel();
  rejoinAt_ = now + kRejoinAfterKick;
}

void Session::OnQuitOf(const Message& message) {
  if (joined_ && people_.Remove(message.prefix.nick)) PublishPeople();
}

void Session::OnNick(const Message& message) {
  const std::string& to = Param(message, 0);
  if (to.empty()) return;
  const bool mine = IsMe(message.prefix.nick);
  const bool renamed = people_.Rename(message.prefix.nick, to);
  if (mine) {
    nick_ = to;
    ownPrefix_.nick = to;
    listener_.OnOwnNick(nick_);
  }
  if (joined_ && renamed) PublishPeople();
}

// "353 me = #chan :@op +voiced plain": the channel is the parameter before
// the list.
void Session::OnNames(const Message& message) {
  if (message.params.size() < 3 || !IsOwnChannel(message.params[message.params.size() - 2])) return;
  people_.AddNamesReply(message.params.back());
}

void Session::OnEndOfNames(const Message& message) {
  if (!IsOwnChannel(Param(message, 1))) return;
  people_.EndNames();
  if (joined_) PublishPeople();
}

void Session::OnJoinRefused(const Message& message, double now) {
  const std::string& channel = Param(message, 1);
  if (!IsOwnChannel(channel) || joined_) return;
  const double delay = joinBackoff_.NextDelay();
  Problem("cannot join " + channel + ": " + Param(message, 2) + " (" + message.command + "); retrying in " +
          std::to_string(static_cast<int>(delay)) + " s");
  rejoinAt_ = now + delay;
}

void Session::OnChannelText(const Message& message, LineKind kind) {
  const Prefix& from = message.prefix;
  if (!joined_ || from.nick.empty() || !IsOwnChannel(Param(message, 0)) || IsMe(from.nick)) return;
  std::string_view text = Param(message, 1);
  if (!text.empty() && text.front() == kCtcpDelimiter) {
    // A CTCP request: only ACTION is a channel line; CTCP in a NOTICE is a
    // reply and never shown.
    text.remove_prefix(1);
    if (!text.empty() && text.back() == kCtcpDelimiter) text.remove_suffix(1);
    if (kind != LineKind::kMessage || (text != "ACTION" && text.rfind("ACTION ", 0) != 0)) return;
    text.remove_prefix(std::min<std::size_t>(7, text.size()));
    kind = LineKind::kAction;
  }
  const bool trusted = !config_.ownerMask || MaskMatches(*config_.ownerMask, from.nick + "!" + from.user + "@" + from.host);
  listener_.OnChannelLine(RemoveControls(from.nick), RemoveControls(StripFormatting(text)), StyledText(text), kind,
                          trusted);
}

}  // namespace wavecrest::irc
