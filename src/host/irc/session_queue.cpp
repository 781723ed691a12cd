// The member's lines: translated, split to fit, and released as the flood
// bucket allows.
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

}  // namespace

// The bytes left for the text in ":nick!user@host PRIVMSG #chan :TEXT\r\n",
// as the other members receive it.
std::size_t Session::PieceLimit() const {
  const bool known = !ownPrefix_.user.empty() && !ownPrefix_.host.empty();
  const std::size_t prefix = 3 + (known ? nick_.size() + ownPrefix_.user.size() + ownPrefix_.host.size()
                                        : std::max(nick_.size(), kUnknownNickBytes) + kUnknownUserBytes + kUnknownHostBytes);
  const std::size_t fixed = prefix + std::string_view(" PRIVMSG ").size() + config_.channel.size() +
                            std::string_view(" :\r\n").size();
  return lineLength_ > fixed + kMinPieceBytes ? lineLength_ - fixed : kMinPieceBytes;
}

std::uint64_t Session::Say(std::string_view chatHtml, double now) {
  if (!joined_ || state_ != State::kRegistered) return 0;
  for (const std::string& piece : SplitIrcText(ChatHtmlToIrc(chatHtml), PieceLimit())) {
    // An empty PRIVMSG is refused by servers ("no text to send").
    if (StripFormatting(piece).empty()) continue;
    queue_.push_back(FormatLine("PRIVMSG", {config_.channel, piece}));
    ++linesQueued_;
  }
  ReleaseQueued(now);
  return linesQueued_;
}

void Session::ReleaseQueued(double now) {
  while (!queue_.empty() && flood_.TryTake(now)) {
    listener_.SendLine(queue_.front());
    queue_.pop_front();
    ++linesSent_;
  }
}

// Lines that can no longer be said count as gone, so nobody waits for them.
void Session::DropQueued() {
  queue_.clear();
  linesSent_ = linesQueued_;
}

void Session::Quit(const std::string& message, double now) {
  (void)now;
  if (state_ == State::kDisconnected || state_ == State::kQuitting) return;
  for (; !queue_.empty(); queue_.pop_front(), ++linesSent_) listener_.SendLine(queue_.front());
  Send("QUIT", {message});
  state_ = State::kQuitting;
}

std::uint64_t Session::LinesSent() const { return linesSent_; }

bool Session::Joined() const { return joined_; }

}  // namespace wavecrest::irc
