// The whole path of a song change: the member says `next`, the line is
// dispatched, the entry opened in the (fake) player, the announcement composed
// and said, the one-second wait run on virtual time and the now-playing text
// set. Virtual time makes the wait cost only its event-loop passes.
#include "core/dispatcher.h"
#include "playback/now_playing.h"
#include "support/scenario.h"

#include <benchmark/benchmark.h>

#include <string>

namespace wavecrest {
namespace {

// A library of `entries` songs on the scenario's bot (member, look, handlers).
struct PlayingBot : testing::Scenario {
  explicit PlayingBot(int entries) {
    Form1& f = t.bot.form1;
    for (int i = 0; i < entries; ++i) {
      const std::string name = "Artist " + std::to_string(i) + " - Some Song Title";
      f.List3.items.push_back("/music/" + name + ".mp3");
      f.List2.items.push_back(name);
      t.player.durations["/music/" + name + ".mp3"] = 200 + i % 300;
    }
  }
};

void BM_NextFromMemberLineToReply(benchmark::State& state) {
  PlayingBot b(static_cast<int>(state.range(0)));
  const std::string speaker = "SomeMember";
  for (auto _ : state) {
    DispatchChatLine(b.t.bot, speaker, "next");
    b.t.loop.RunUntilIdle();
    if (b.t.chat.lines.size() > 1000) b.t.chat.lines.clear();
  }
  benchmark::DoNotOptimize(b.t.bot.form1.lblSong2);
}
BENCHMARK(BM_NextFromMemberLineToReply)->Arg(10)->Arg(32767);

void BM_SearchWithSeveralMatches(benchmark::State& state) {
  PlayingBot b(static_cast<int>(state.range(0)));
  const std::string speaker = "SomeMember";
  for (auto _ : state) {
    DispatchChatLine(b.t.bot, speaker, "p song");
    b.t.loop.RunUntilIdle();
    b.t.chat.lines.clear();
  }
}
BENCHMARK(BM_SearchWithSeveralMatches)->Arg(100)->Arg(32767);

void BM_Timer1Tick(benchmark::State& state) {
  PlayingBot b(1);
  b.t.player.Open(b.t.bot.form1.List3.items.front());
  b.t.player.position = 89.6;
  for (auto _ : state) Timer1_Timer(b.t.bot);
  benchmark::DoNotOptimize(b.t.bot.form1.progressPercent);
}
BENCHMARK(BM_Timer1Tick);

}  // namespace
}  // namespace wavecrest
