// The bot against IRC servers on loopback. Against a real one (ngircd): the
// owner's line to the bot's answer, the owner saying "vol?" (a command with
// no pause) and the time running until the owner's own socket has read the
// answer. Against a scriptable one, what a server may throw at the bot:
// 20,000 owner lines in one write (time to the end after /quit, and the
// memory it took), NAMES of 100,000 (time to the next answer), and the
// owner's answer while others say 10,000 lines a second.
#include "support/child_process.h"
#include "support/fake_irc_server.h"
#include "support/irc_peer.h"
#include "support/irc_server.h"
#include "support/temp_tree.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <vector>

namespace wavecrest::testing {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

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
    const auto start = Clock::now();
    owner.Say(room, "vol?");
    if (!owner.Await(fromBot, 5, from)) {
      state.SkipWithError("no answer");
      return;
    }
    seconds.push_back(SecondsSince(start));
    state.SetIterationTime(seconds.back());
  }
  std::sort(seconds.begin(), seconds.end());
  state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
  state.counters["max_ms"] = seconds.back() * 1e3;
  owner.Say(room, "exit");
  bot.Exit(10);
}
BENCHMARK(BM_IrcOwnerToAnswer)->UseManualTime()->Iterations(30)->Unit(benchmark::kMicrosecond);

// The bot on a scriptable server, in #room, obeying "owner".
class FakeServerBot {
 public:
  FakeServerBot() {
    std::ofstream(tree_.Path("wavecrest.dat")) << "[settings]\nscreen name=owner\n";
    bot_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{WAVECREST_BINARY, "--console", "--raw", "--settings", tree_.Path("wavecrest.dat"),
                                 "--irc", "irc://127.0.0.1:" + std::to_string(server_.Port()) + "/#room", "--nick",
                                 "wcbot", "--owner-mask", "owner!*@*"},
        std::vector<std::string>{"WAVECREST_AUDIO_OUT=null"});
  }
  bool Welcomed() { return server_.Await(Said("welcome - "), 30).has_value(); }
  static std::function<bool(const IrcLine&)> Said(const std::string& part) {
    return [part](const IrcLine& l) { return l.command == "PRIVMSG" && l.Text().find(part) != std::string::npos; };
  }
  // The peak of the program's resident memory so far, in MiB.
  double PeakMiB() const {
    std::ifstream status("/proc/" + std::to_string(bot_->Pid()) + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
  }
  FakeIrcServer& Server() { return server_; }
  ChildProcess& Bot() { return *bot_; }

 private:
  FakeIrcServer server_;
  TempTree tree_;
  std::unique_ptr<ChildProcess> bot_;
};

std::string OwnerLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += ":owner!o@h PRIVMSG #room :vol " + std::to_string(i % 100 + 1) + "\r\n";
  return lines;
}

void BM_IrcTwentyThousandOwnerLinesThenQuit(benchmark::State& state) {
  for (auto _ : state) {
    FakeServerBot f;
    if (!f.Welcomed()) return state.SkipWithError(("no welcome: " + f.Bot().Err()).c_str());
    const double before = f.PeakMiB();
    f.Server().Write(OwnerLines(20000));
    if (!f.Server().Await(FakeServerBot::Said("new volume"), 20)) return state.SkipWithError("no answer");
    // The lines have all arrived once the first nested answers are out.
    WaitUntil([] { return false; }, 2.0);
    const double peak = f.PeakMiB();
    const auto start = Clock::now();
    f.Bot().Write("/quit\n");
    const std::optional<int> status = f.Bot().Exit(120);
    state.SetIterationTime(SecondsSince(start));
    if (status != 0) return state.SkipWithError(("did not end with status 0: " + f.Bot().Err()).c_str());
    state.counters["quit_s"] = SecondsSince(start);
    state.counters["peak_MiB"] = peak;
    state.counters["flood_MiB"] = peak - before;
  }
}
BENCHMARK(BM_IrcTwentyThousandOwnerLinesThenQuit)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_IrcNamesOfOneHundredThousand(benchmark::State& state) {
  for (auto _ : state) {
    FakeServerBot f;
    if (!f.Welcomed()) return state.SkipWithError(("no welcome: " + f.Bot().Err()).c_str());
    WaitUntil([] { return false; }, 1.05);  // the welcome's burst is spent
    std::string names;
    for (int line = 0; line < 1000; ++line) {
      names += ":fake 353 wcbot = #room :";
      for (int i = 0; i < 100; ++i) names += "@person" + std::to_string(line * 100 + i) + " ";
      names += "\r\n";
    }
    names += ":fake 366 wcbot #room :End\r\n:owner!o@h PRIVMSG #room :vol?\r\n";
    const std::size_t from = f.Server().Lines().size();
    const auto start = Clock::now();
    f.Server().Write(names);
    if (!f.Server().Await(FakeServerBot::Said("current volume"), 60, from)) return state.SkipWithError("no answer");
    state.SetIterationTime(SecondsSince(start));
    state.counters["answer_s"] = SecondsSince(start);
    f.Bot().Write("/quit\n");
    f.Bot().Exit(30);
  }
}
BENCHMARK(BM_IrcNamesOfOneHundredThousand)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Others say 10,000 lines a second (100 every 10 ms) while the owner asks.
void BM_IrcOwnerToAnswerUnderTenThousandLinesASecond(benchmark::State& state) {
  FakeServerBot f;
  if (!f.Welcomed()) return state.SkipWithError(("no welcome: " + f.Bot().Err()).c_str());
  std::string batch;
  for (int i = 0; i < 100; ++i) batch += ":other" + std::to_string(i) + "!o@h PRIVMSG #room :chatter " + std::to_string(i) + "\r\n";
  std::vector<double> seconds;
  for (auto _ : state) {
    WaitUntil([] { return false; }, 1.05);
    const std::size_t from = f.Server().Lines().size();
    bool answered = false;
    const auto start = Clock::now();
    f.Server().Write(batch + ":owner!o@h PRIVMSG #room :vol?\r\n");
    for (auto next = start; !answered && SecondsSince(start) < 5;) {
      next += std::chrono::milliseconds(10);
      const double wait = std::max(0.0, std::chrono::duration<double>(next - Clock::now()).count());
      answered = f.Server().Await(FakeServerBot::Said("current volume"), wait, from).has_value();
      if (!answered) f.Server().Write(batch);
    }
    if (!answered) return state.SkipWithError("no answer within 5 s");
    seconds.push_back(SecondsSince(start));
    state.SetIterationTime(seconds.back());
  }
  std::sort(seconds.begin(), seconds.end());
  state.counters["median_ms"] = seconds[seconds.size() / 2] * 1e3;
  state.counters["max_ms"] = seconds.back() * 1e3;
  f.Bot().Write("/quit\n");
  f.Bot().Exit(30);
}
BENCHMARK(BM_IrcOwnerToAnswerUnderTenThousandLinesASecond)->UseManualTime()->Iterations(20)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wavecrest::testing
