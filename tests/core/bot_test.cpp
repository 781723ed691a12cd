#include "core/bot.h"

#include "core/pause.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace wavecrest
