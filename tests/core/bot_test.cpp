#include "core/bot.h"

#include "core/pause.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

using Log = std::vector<std::string>;

// Perform's `finished` comes only after what the action set off: the events
// it posted, a handler that pauses, and not early through a check that a
// handler ending before the action had posted.
TEST(BotPerform, FinishesAfterEverythingTheActionSetOff) {
  const struct {
    const char* name;
    void (*run)(testing::TestBot& t, Log& log);
  } cases[] = {
      {"a posted line", [](testing::TestBot& t, Log& log) {
         t.bot.Perform([&] { t.loop.Post([&] { log.push_back("said"); }); }, [&] { log.push_back("finished"); });
       }},
      {"a pausing handler", [](testing::TestBot& t, Log& log) {
         const auto pausingLine = [&] {
           t.bot.RunCounted([&] {
             WaitSeconds(t.loop, 1);
             log.push_back("said");
           });
         };
         t.bot.Perform([&] { t.loop.Post(pausingLine); }, [&] { log.push_back("finished"); });
       }},
      {"an older check", [](testing::TestBot& t, Log& log) {
         t.bot.Perform([] {}, [&] {
           t.bot.Perform([&] { t.loop.Post([&] { log.push_back("said"); }); }, [&] { log.push_back("finished"); });
         });
         t.bot.RunCounted([] {});  // a tick ending meanwhile
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TestBot t;
    Log log;
    c.run(t, log);
    t.loop.RunFor(3);
    EXPECT_EQ(log, (Log{"said", "finished"}));
    EXPECT_EQ(t.bot.BusyDepth(), 0);
  }
}

// A watcher hears of each outermost handler once it has ended (the state it
// reads is the handler's result), of a nested one not at all, and of nothing
// once it stopped watching.
TEST(BotWatchers, HearOfEachOutermostHandlerAfterItEnded) {
  testing::TestBot t;
  Log log;
  std::string state = "before";
  const int watch = t.bot.WatchHandlers([&] { log.push_back("saw " + state); });
  t.bot.RunCounted([&] {
    t.bot.RunCounted([&] { state = "inner"; });
    state = "outer";
  });
  t.bot.Timer1->SetEnabled(true);
  t.loop.RunFor(1.2);  // two ticks
  t.bot.StopWatching(watch);
  t.bot.RunCounted([] {});
  EXPECT_EQ(log, (Log{"saw outer", "saw outer", "saw outer"}));
}

// Lines that each pause, as a handler that speaks does, all arriving at
// once: the first nest in one another as they always have, and beyond the
// bound the rest wait their turn, in arrival order, however many there are.
struct PausingLines {
  explicit PausingLines(testing::TestBot& bot) : t(bot) {}
  // Each line, as it is taken, finds the next one already arrived.
  void Arrive(int count, int i = 0) {
    if (i == count) return;
    t.loop.Post([this, count, i] {
      Arrive(count, i + 1);
      t.bot.TakeLine([this, i] {
        t.bot.RunCounted([this, i] {
          started.push_back(i);
          startedAt.push_back(t.loop.Now());
          deepest = std::max(deepest, t.bot.BusyDepth());
          std::optional<Bot::LineHold> hold;
          if (holding) hold.emplace(t.bot);
          WaitSeconds(t.loop, 1);
        });
      });
    });
  }
  testing::TestBot& t;
  bool holding = false;  // each pauses as a reply waiting for a paced network does
  std::vector<int> started;
  std::vector<double> startedAt;
  int deepest = 0;
};

TEST(BotTakeLine, BeyondTheNestingBoundLinesWaitTheirTurnInArrivalOrder) {
  for (const int lines : {10, 2000}) {
    testing::TestBot t;
    PausingLines p(t);
    const double start = t.loop.Now();
    p.Arrive(lines);
    t.loop.RunFor(lines);
    std::vector<int> inOrder(static_cast<std::size_t>(lines));
    for (int i = 0; i < lines; ++i) inOrder[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(p.started, inOrder) << lines;
    EXPECT_EQ(p.deepest, std::min(lines, kMaxNesting)) << lines;
    if (lines <= kMaxNesting) {
      EXPECT_EQ(p.startedAt.back(), start) << "ordinary nesting: each starts inside the pause of the one before";
    }
    EXPECT_EQ(t.bot.BusyDepth(), 0);
  }
}

// A flood of commands on a paced network: each reply waits for the network
// to take it, and the lines behind it wait too instead of nesting, so the
// answers come one after another, in order, and never pile up unsent.
TEST(BotTakeLine, LinesArrivingWhileAReplyAwaitsItsTurnStartAfterItInOrder) {
  testing::TestBot t;
  PausingLines p(t);
  p.holding = true;
  const double start = t.loop.Now();
  p.Arrive(5);
  t.loop.RunFor(10);
  EXPECT_EQ(p.started, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(p.startedAt, (std::vector<double>{start, start + 1, start + 2, start + 3, start + 4}));
  EXPECT_EQ(p.deepest, 1);
}

// The end (exit, /quit, a signal) comes at once however deep the nesting:
// every pause gives up, nothing waiting starts, nothing more is said.
TEST(BotEnd, EndsEveryWaitAndDropsTheLinesStillWaiting) {
  testing::TestBot t;
  PausingLines p(t);
  p.Arrive(200);
  double endedAt = 0;
  std::size_t startedBeforeTheEnd = 0;
  const auto quit = t.loop.CreateTimer(std::chrono::milliseconds(500), [&] {
    endedAt = t.loop.Now();
    startedBeforeTheEnd = p.started.size();
    t.bot.End();
  });
  quit->SetEnabled(true);
  const double start = t.loop.Now();
  while (t.loop.Now() - start < 0.4) t.loop.PumpOnce(std::chrono::milliseconds(100));
  EXPECT_EQ(t.bot.BusyDepth(), 0);
  EXPECT_EQ(endedAt - start, 0.5);
  EXPECT_LT(t.loop.Now() - endedAt, 0.01) << "every pause gave up at once";
  EXPECT_EQ(startedBeforeTheEnd, static_cast<std::size_t>(kMaxNesting));
  EXPECT_EQ(p.started.size(), startedBeforeTheEnd);
  EXPECT_EQ(t.bot.LinesWaiting(), 0u);
  EXPECT_TRUE(t.loop.WaitsEnded());
}

}  // namespace
}  // namespace wavecrest
