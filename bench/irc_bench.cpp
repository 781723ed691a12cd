// The owner's line to the bot's answer through a real IRC server on loopback:
// the owner says "vol?" (a command with no pause) and the time runs until
// the owner's own socket has read the bot's answer.
#include "support/child_process.h"
#include "support/irc_peer.h"
#include "support/irc_server.h"
#include "support/temp_tree.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <vector>

namespace wavecrest::testing {
namespace {

void BM_IrcOwnerToAnswer(benchmark::State& state) {
  const std::string room = "#bench";
  IrcServer server;
  const TempTree tree;
  std::ofstream(tree.Path("wavecrest.dat")) << "[settings]\nscreen name=owner\n";
  IrcPeer owner(server.Port(), "owner");
  owner.Join(room);
  ChildProcess bot({WAVECREST_BINARY, "--console", "--raw", "--settings", tree.Path("wavecrest.dat"), "--irc",
                    "irc://127.0.0.1:" + std::to_string(server.Port()) + "/" + room, "--nick", "wcbot",
                    "--owner-mask", "owner!*@*"},
                   {"WAVECREST_AUDIO_OUT=null"});
  const auto fromBot = [&](const IrcLine& l) { return l.command == "PRIVMSG" && l.nick == "wcbot"; };
  if (!owner.Await([&](const IrcLine& l) { return fromBot(l) && l.Text().find("welcome") != std::string::npos; },
                   30)) {
    state.SkipWithError(("no welcome from the bot: " + bot.Err()).c_str());
    return;
  }
  std::vector<double> seconds;
  for (auto _ : state) {
    // The bot sends four lines at once, then one a second: keep to that pace
    // so that only the answer's own way is measured, never the flood control.
    WaitUntil([] { return false; }, 1.05);
    const std::size_t from = owner.Lines().size();
    const auto start = std::chrono::steady_clock::now();
    owner.Say(room, "vol?");
    if (!owner.Await(fromBot, 5, from)) {
      state.SkipWithError("no answer");
      return;
    }
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    state.SetIterationTime(seconds.back());
  }
  std::sort(seconds.begin(), seconds.end());
  state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
  state.counters["max_ms"] = seconds.back() * 1e3;
  owner.Say(room, "exit");
  bot.Exit(10);
}
BENCHMARK(BM_IrcOwnerToAnswer)->UseManualTime()->Iterations(30)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wavecrest::testing
