#include "commands/listen.h"

#include "core/bot.h"
#include "core/pause.h"
#include "core/reply.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace wavecrest {
namespace {

// A count this old is still told; an older one is asked for again.
constexpr double kFreshSeconds = 30;
// The longest the reply waits for the server's answer.
constexpr double kAnswerWaitSeconds = 1;

// The count the server gave within the last 30 s, asked for afresh when the
// last one is older; nothing when no answer came within the wait.
std::optional<int> RecentListeners(Bot& bot) {
  const double asked = bot.loop.SecondsSinceMidnight();
  std::optional<ListenerCount> count = bot.stream->Listeners();
  if (count && ElapsedSeconds(count->arrivedAt, asked) <= kFreshSeconds) return count->listeners;
  const unsigned before = count ? count->serial : 0;
  bot.stream->RefreshListeners();
  for (;;) {
    // Read afresh after every pass: the answer arrives as a posted task.
    count = bot.stream->Listeners();
    if (count && count->serial != before) return count->listeners;
    const double left = kAnswerWaitSeconds - ElapsedSeconds(asked, bot.loop.SecondsSinceMidnight());
    if (left <= 0) return std::nullopt;
    bot.loop.PumpOnce(std::chrono::milliseconds(std::max(1LL, std::llround(std::ceil(left * 1000)))));
  }
}

}  // namespace

CommandResult ListenCommand(Bot& bot, const std::string&) {
  if (bot.stream == nullptr) return Refused("nothing is streamed in this run (--stream)");
  const std::optional<int> listeners = RecentListeners(bot);
  const std::string count = listeners ? std::to_string(*listeners) : "unknown";
  return Answer(bot, "> listen at <b>" + bot.stream->ListenUrl() + "</b> - <b>" + count + "</b> listeners ");
}

}  // namespace wavecrest
