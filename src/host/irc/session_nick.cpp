// Our nick: the fallback when the wanted one is taken at registration, and
// taking it back once it is free.
#include "host/irc/session.h"

#include "host/irc/nick_fallback.h"

namespace wavecrest::irc {

namespace {

// The shortest nick limit any server has (RFC 2812): a longer nick refused
// as erroneous is taken to be too long, not badly spelled.
constexpr std::size_t kMinNickLimit = 9;
constexpr int kMaxNicksTried = 50;
// Without MONITOR, how often ISON asks whether the wanted nick is free.
constexpr double kIsonInterval = 60.0;

const std::string& Param(const Message& message, std::size_t index) {
  static const std::string kEmpty;
  return index < message.params.size() ? message.params[index] : kEmpty;
}

// Whether `nick` is among the words (ISON) or comma-separated targets
// (MONITOR, each possibly nick!user@host) of `list`.
bool Lists(CaseMapping mapping, std::string_view list, std::string_view nick) {
  while (!list.empty()) {
    const std::size_t end = std::min(list.find_first_of(" ,"), list.size());
    const std::string_view entry = list.substr(0, end);
    if (SameName(mapping, entry.substr(0, std::min(entry.find('!'), entry.size())), nick)) return true;
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return false;
}

}  // namespace

bool Session::IsMe(std::string_view nick) const { return SameName(link_.rules.caseMapping, nick, link_.nick); }

void Session::OnNickRejected(const Message& message) {
  const std::string rejected = message.params.size() >= 2 ? message.params[1] : link_.nick;
  if (link_.state != State::kRegistering) {
    // A claim of the wanted nick lost a race: the watch goes on.
    if (SameName(link_.rules.caseMapping, rejected, config_.nick)) return;
    Problem("the server refused the nick " + rejected + ": " + Param(message, message.params.size() - 1));
    return;
  }
  if (++link_.nicksTried > kMaxNicksTried) {
    Problem("no free nick found after " + std::to_string(kMaxNicksTried) + " tries; reconnecting");
    link_.reconnectWanted = true;
    return;
  }
  const bool tooLong = message.command == "432" && link_.nick.size() > kMinNickLimit;
  if (tooLong) link_.maxNickLength = link_.nick.size() - 1;
  else ++link_.nickAttempt;
  const std::string next = FallbackNick(config_.nick, link_.nickAttempt, link_.maxNickLength);
  Problem("nick " + rejected + " is not available (" + Param(message, message.params.size() - 1) + "); trying " + next);
  link_.nick = next;
  Send("NICK", {link_.nick});
}

// Someone's NICK: ours (the server renamed us, or a claim succeeded), or
// the holder of the wanted nick leaving it.
void Session::OnNickChange(const Message& message) {
  const std::string& to = Param(message, 0);
  if (to.empty()) return;
  const std::string& from = message.prefix.nick;
  if (link_.joined && link_.people.Rename(from, to)) link_.peopleChanged = true;
  if (IsMe(from)) {
    link_.nick = to;
    link_.ownPrefix.nick = to;
    listener_.OnOwnNick(link_.nick);
    if (SameName(link_.rules.caseMapping, to, config_.nick) && link_.watchingNick) {
      if (link_.rules.monitor) Send("MONITOR", {"-", config_.nick});
      link_.watchingNick = false;
      link_.nextIsonAt.reset();
    }
    return;
  }
  if (link_.watchingNick && SameName(link_.rules.caseMapping, from, config_.nick)) ClaimNick();
}

// Once registered under another nick than the one wanted, watch for it to
// come free: MONITOR where the server offers it, else ISON every minute
// (and the holder's NICK or QUIT, wherever we see them).
void Session::WatchNick(double now) {
  const bool wanted = SameName(link_.rules.caseMapping, link_.nick, config_.nick);
  const bool fits = link_.rules.nickLength == 0 || config_.nick.size() <= link_.rules.nickLength;
  if (!link_.watchingNick) {
    if (wanted || !fits || !link_.joined) return;
    link_.watchingNick = true;
    if (link_.rules.monitor) return Send("MONITOR", {"+", config_.nick});
    link_.nextIsonAt = now;
  }
  if (link_.nextIsonAt && now >= *link_.nextIsonAt) {
    link_.nextIsonAt = now + kIsonInterval;
    Send("ISON", {config_.nick});
  }
}

// 303 (ISON: who of those asked is online), 731 (MONITOR: gone offline),
// 730 (MONITOR: online).
void Session::OnNickNews(const Message& message) {
  if (!link_.watchingNick || message.command == "730") return;
  const bool listed = Lists(link_.rules.caseMapping, Param(message, message.params.size() - 1), config_.nick);
  if (message.command == "303" ? !listed : listed) ClaimNick();
}

void Session::ClaimNick() {
  if (link_.state != State::kRegistered) return;
  Send("NICK", {config_.nick});
}

}  // namespace wavecrest::irc
