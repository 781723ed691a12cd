// The member's lines: translated, split to fit, released as the flood
// bucket allows, and the QUIT after the last of them.
#include "host/irc/session.h"

#include "host/irc/text.h"

#include <algorithm>

namespace wavecrest::irc {

namespace {

// What a server may show of a client it has not shown yet: the longest nick,
// user and host the common servers allow.
constexpr std::size_t kUnknownNickBytes = 63;
constexpr std::size_t kUnknownUserBytes = 10;
constexpr std::size_t kUnknownHostBytes = 63;
constexpr std::size_t kMinPieceBytes = 64;
constexpr std::size_t kMaxEchoes = 256;

}  // namespace

// The bytes left for the text in ":nick!user@host PRIVMSG #chan :TEXT\r\n",
// as the other members receive it.
std::size_t Session::PieceLimit() const {
  const Prefix& own = link_.ownPrefix;
  const bool known = !own.user.empty() && !own.host.empty();
  const std::size_t prefix =
      3 + (known ? link_.nick.size() + own.user.size() + own.host.size()
                 : std::max(link_.nick.size(), kUnknownNickBytes) + kUnknownUserBytes + kUnknownHostBytes);
  const std::size_t fixed = prefix + std::string_view(" PRIVMSG ").size() + config_.channel.size() +
                            std::string_view(" :\r\n").size();
  return link_.rules.lineLength > fixed + kMinPieceBytes ? link_.rules.lineLength - fixed : kMinPieceBytes;
}

std::uint64_t Session::Say(std::string_view chatHtml, double now) {
  if (!Joined() || quitMessage_) return 0;
  for (const std::string& piece : SplitIrcText(ChatHtmlToIrc(chatHtml), PieceLimit())) {
    // An empty PRIVMSG is refused by servers ("no text to send").
    if (StripFormatting(piece).empty()) continue;
    link_.queue.push_back(piece);
    ++linesQueued_;
  }
  ReleaseQueued(now);
  return linesQueued_;
}

void Session::ReleaseQueued(double now) {
  while (!link_.queue.empty() && link_.flood.TryTake(now)) {
    Send("PRIVMSG", {config_.channel, link_.queue.front()});
    if (link_.registration.Enabled("echo-message")) {
      link_.echoes.push_back(std::move(link_.queue.front()));
      if (link_.echoes.size() > kMaxEchoes) link_.echoes.pop_front();
    }
    link_.queue.pop_front();
    ++linesSent_;
  }
  if (!quitMessage_ || !link_.queue.empty() || link_.state == State::kQuitSent) return;
  Send("QUIT", {*quitMessage_});
  link_.state = State::kQuitSent;
}

// Lines that can no longer be said count as gone, so nobody waits for them.
void Session::DropQueued() {
  link_.queue.clear();
  linesSent_ = linesQueued_;
}

void Session::Quit(const std::string& message, double now) {
  if (quitMessage_) return;
  quitMessage_ = message;
  if (link_.state == State::kDisconnected) return;
  ReleaseQueued(now);
}

bool Session::QuitSent() const { return link_.state == State::kDisconnected || link_.state == State::kQuitSent; }

bool Session::Joined() const { return link_.joined && link_.state == State::kRegistered; }

}  // namespace wavecrest::irc
