// What is said in the channel and to us: who said it, as far as the network
// vouches, and the answers a client gives by itself (CTCP, help).
#include "host/irc/session.h"

#include "host/irc/formatting.h"
#include "host/irc/server_time.h"
#include "host/irc/text.h"

#include <algorithm>

namespace wavecrest::irc {

namespace {

constexpr char kCtcpDelimiter = '\x01';
// A CTCP PING's token is sent back; no more of it than this.
constexpr std::size_t kMaxPingToken = 64;
// A line stamped longer ago than this was said before we came: a bouncer
// plays back what it kept while no client was there. Leeway for clocks.
constexpr double kReplayedAfterSeconds = 30.0;

const std::string& Param(const Message& message, std::size_t index) {
  static const std::string kEmpty;
  return index < message.params.size() ? message.params[index] : kEmpty;
}

// The IRC text as shown: formatting codes kept, every other control dropped.
std::string StyledText(std::string_view text) {
  std::string styled;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    const bool formatting = c == kColourCode || c == kHexColourCode || c == kResetCode ||
                            kToggleCodes.find(c) != std::string_view::npos;
    const std::size_t control = formatting ? 0 : ControlLength(text, at);
    if (control == 0) styled += c;
    at += control == 0 ? 1 : control;
  }
  return styled;
}

bool HoldsControls(const Prefix& prefix) {
  const std::string whole = prefix.nick + prefix.user + prefix.host;
  return RemoveControls(whole) != whole;
}

// "\x01VERB args\x01" without its delimiters; nullopt for no CTCP.
std::optional<std::string_view> Ctcp(std::string_view text) {
  if (text.empty() || text.front() != kCtcpDelimiter) return std::nullopt;
  text.remove_prefix(1);
  if (!text.empty() && text.back() == kCtcpDelimiter) text.remove_suffix(1);
  return text;
}

bool IsAction(std::string_view ctcp) { return ctcp == "ACTION" || ctcp.starts_with("ACTION "); }

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
  return lower;
}

}  // namespace

ChannelLine Session::Describe(const Message& message, std::string_view text, LineKind kind) const {
  const Prefix& from = message.prefix;
  ChannelLine line;
  line.nick = RemoveControls(from.nick);
  line.text = RemoveControls(StripFormatting(text));
  line.styled = StyledText(text);
  line.kind = kind;
  if (HoldsControls(from)) {
    line.mask = MaskVerdict::kFails;
    return line;
  }
  if (config_.ownerMask) {
    const bool matches = MaskMatches(link_.rules.caseMapping, *config_.ownerMask, from.nick + "!" + from.user + "@" + from.host);
    line.mask = matches ? MaskVerdict::kMatches : MaskVerdict::kFails;
  }
  if (link_.registration.Enabled("account-tag")) {
    const std::optional<std::string> account = message.Tag("account");
    if (account && !account->empty()) line.account = RemoveControls(*account);
  } else if (const Person* person = link_.people.Find(from.nick)) {
    line.account = person->account;
  }
  return line;
}

// With echo-message the server sends our own lines back: each is the oldest
// of those sent that it equals (lines before it were changed on the way,
// and are given up). A line from our nick that we did not send was typed on
// another client sharing our identity.
bool Session::IsOwnEcho(std::string_view text) {
  if (!link_.registration.Enabled("echo-message")) return false;
  const auto it = std::find(link_.echoes.begin(), link_.echoes.end(), text);
  if (it == link_.echoes.end()) return false;
  link_.echoes.erase(link_.echoes.begin(), it + 1);
  return true;
}

// Played back from before we came: shown by the server as history, and
// never to be taken as said now (an "exit" of yesterday's).
bool Session::IsReplayed(const Message& message) {
  if (!link_.registration.Enabled("server-time")) return false;
  const std::optional<std::string> stamp = message.Tag("time");
  const std::optional<double> said = stamp ? ParseServerTime(*stamp) : std::nullopt;
  return said && listener_.UnixTime() - *said > kReplayedAfterSeconds;
}

void Session::OnText(const Message& message, LineKind kind, double now) {
  const Prefix& from = message.prefix;
  const std::string& target = Param(message, 0);
  std::string_view text = Param(message, 1);
  if (from.nick.empty() || link_.state != State::kRegistered || IsReplayed(message)) return;
  // CHANTYPES tells a channel from a nick; a line to a channel of the
  // server's kind is ours only in our own channel.
  if (!link_.rules.IsChannel(target)) {
    if (IsMe(target)) OnPrivateText(message, text, kind, now);
    return;
  }
  if (!link_.joined || !IsOwnChannel(target)) return;
  if (const auto ctcp = Ctcp(text)) {
    // CTCP in a NOTICE is a reply and never shown; a request to the
    // channel is answered like one to us, and only ACTION is a line.
    if (kind != LineKind::kMessage) return;
    if (!IsAction(*ctcp)) return AnswerCtcp(from.nick, *ctcp, now);
    text = ctcp->substr(std::min<std::size_t>(7, ctcp->size()));
    kind = LineKind::kAction;
  }
  ChannelLine line = Describe(message, text, kind);
  if (IsMe(from.nick)) {
    const bool shared = link_.registration.Enabled("znc.in/self-message") || link_.registration.Enabled("echo-message");
    if (!shared || IsOwnEcho(Param(message, 1))) return;
    line.sender = Sender::kOwnIdentity;
  }
  listener_.OnChannelLine(line);
}

void Session::OnPrivateText(const Message& message, std::string_view text, LineKind kind, double now) {
  const Prefix& from = message.prefix;
  if (from.user.empty() && from.host.empty()) return;  // the server's own notices
  if (IsMe(from.nick)) return;                         // our own, echoed
  if (const auto ctcp = Ctcp(text)) {
    if (kind != LineKind::kMessage) return;
    if (!IsAction(*ctcp)) return AnswerCtcp(from.nick, *ctcp, now);
    text = ctcp->substr(std::min<std::size_t>(7, ctcp->size()));
    kind = LineKind::kAction;
  }
  const ChannelLine line = Describe(message, text, kind);
  listener_.OnPrivateLine(line);
  if (kind != LineKind::kMessage) return;
  const std::string asked = Lower(line.text);
  if (asked != "help" && !asked.starts_with("help ")) return;
  const std::string word = asked.size() > 5 ? asked.substr(5) : std::string();
  const std::string help = listener_.HelpText(word);
  if (!help.empty()) Answer(from.nick, help, now);
}

void Session::AnswerCtcp(const std::string& to, std::string_view request, double now) {
  const std::size_t space = std::min(request.find(' '), request.size());
  const std::string verb = std::string(request.substr(0, space));
  std::string reply;
  if (verb == "VERSION") reply = config_.version;
  else if (verb == "PING") reply = RemoveControls(request.substr(std::min(space + 1, request.size()))).substr(0, kMaxPingToken);
  else if (verb == "TIME") reply = listener_.LocalTime();
  else if (verb == "CLIENTINFO") reply = "ACTION CLIENTINFO PING SOURCE TIME VERSION";
  else if (verb == "SOURCE" && !config_.source.empty()) reply = config_.source;
  else return;
  Answer(to, std::string(1, kCtcpDelimiter) + verb + (reply.empty() ? "" : " " + reply) + kCtcpDelimiter, now);
}

// At most one answer per kAnswerIntervalSeconds, however many ask: a crowd
// of requests cannot make the server throw us off for flooding.
void Session::Answer(const std::string& to, const std::string& text, double now) {
  if (RemoveControls(to) != to) return;  // no real client's nick
  if (link_.lastAnswerAt && now - *link_.lastAnswerAt < kAnswerIntervalSeconds) return;
  if (!link_.flood.TryTake(now)) return;
  link_.lastAnswerAt = now;
  Send("NOTICE", {to, text});
}

}  // namespace wavecrest::irc
