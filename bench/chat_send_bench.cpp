// The cost of one line typed into the room through the simulated client:
// the version read from the menu bar, the window searches, the messages, the
// room's echo and its posted scanner report.
#include "host/chat_send.h"
#include "host/discovery.h"
#include "host/sim/simulated_client.h"
#include "support/virtual_event_loop.h"

#include <benchmark/benchmark.h>

#include <string>

namespace wavecrest {
namespace {

const std::string kReply =
    "<font face=\"arial\" color=\"#0000ff\">.·•× </font><font face=\"times new roman\" color=\"#000000\">"
    "> next #12 - <b>some song title</b> </font><font face=\"arial\" color=\"#0000ff\"> ×•·.</font>";

void BM_ChatSend(benchmark::State& state, const char* version) {
  testing::VirtualEventLoop loop;
  sim::SimulatedClient client(loop, version, "Some Member");
  long reports = 0;
  client.Start([&](const Speaker&, const std::string&) { ++reports; });
  client.MemberTypes("half typed");
  long sent = 0;
  for (auto _ : state) {
    ChatSend(client, loop, kReply);
    loop.RunUntilIdle();
    // Keep the room's memory flat over millions of lines.
    if (++sent % 4096 == 0) client.ClearTranscript();
  }
  if (reports != sent) state.SkipWithError("a line did not reach the scanner");
}
BENCHMARK_CAPTURE(BM_ChatSend, v6_0_older_layout, "6.0");
BENCHMARK_CAPTURE(BM_ChatSend, v9_0_newer_layout, "9.0");

void BM_AolVersion(benchmark::State& state, const char* version) {
  testing::VirtualEventLoop loop;
  sim::SimulatedClient client(loop, version, "Some Member");
  for (auto _ : state) benchmark::DoNotOptimize(AolVersion(client));
}
BENCHMARK_CAPTURE(BM_AolVersion, v9_0, "9.0");
BENCHMARK_CAPTURE(BM_AolVersion, v6_0, "6.0");

void BM_FindChatInput7(benchmark::State& state) {
  testing::VirtualEventLoop loop;
  sim::SimulatedClient client(loop, "9.0", "Some Member");
  for (auto _ : state) benchmark::DoNotOptimize(FindChatInput7(client));
}
BENCHMARK(BM_FindChatInput7);

}  // namespace
}  // namespace wavecrest
