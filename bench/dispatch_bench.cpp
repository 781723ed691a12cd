// The cost of the front door: every line said in the room passes through it.
#include "commands/command_table.h"
#include "core/dispatcher.h"
#include "core/reply.h"
#include "support/fakes.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace wavecrest {
namespace {

int g_handled = 0;
CommandResult CountOnly(Bot&, const std::string&) {
  ++g_handled;
  return Answered();
}

std::vector<CommandEntry> CountingTable() {
  std::vector<CommandEntry> table(CommandTable().begin(), CommandTable().end());
  for (auto& entry : table) entry.handler = &CountOnly;
  return table;
}

struct BenchBot {
  const std::vector<CommandEntry> table = CountingTable();
  testing::TestBot t{testing::NoRoutines(table)};
  BenchBot() {
    t.bot.form1.Text1 = "Some Member";
    t.bot.form1.Trig = "!";
    t.bot.form1.lblExt = "mp3";
  }
};

void BM_DispatchOtherPersonsLine(benchmark::State& state) {
  BenchBot b;
  const std::string speaker = "Someone Else";
  const std::string text = "Hey, what is this song? It is great!";
  for (auto _ : state) DispatchChatLine(b.t.bot, speaker, text);
}
BENCHMARK(BM_DispatchOtherPersonsLine);

void BM_DispatchMemberCommand(benchmark::State& state) {
  BenchBot b;
  const std::string speaker = "SomeMember";
  const std::string text = "!VOL 50";  // the 28th entry: most of the table is walked
  for (auto _ : state) DispatchChatLine(b.t.bot, speaker, text);
  benchmark::DoNotOptimize(g_handled);
}
BENCHMARK(BM_DispatchMemberCommand);

void BM_DispatchMemberCommandUnicode(benchmark::State& state) {
  BenchBot b;
  const std::string speaker = "SomeMember";
  const std::string text = "!HANDLE JOSÉ ÁLVAREZ";
  for (auto _ : state) DispatchChatLine(b.t.bot, speaker, text);
}
BENCHMARK(BM_DispatchMemberCommandUnicode);

void BM_ComposeReply(benchmark::State& state) {
  Form1 form;
  form.lblFrontAsciiFont = form.lblFont = form.lblEndAsciiFont = "times new roman";
  form.lblFrontAsciiColor = form.lblEndAsciiColor = "0000ff";
  form.lblColor = "000000";
  form.lblFrontAscii = ".·•×";
  form.lblEndAscii = "×•·.";
  for (auto _ : state) {
    auto line = ComposeReply(form, "> next #12 - <b>some song title</b> ");
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_ComposeReply);

}  // namespace
}  // namespace wavecrest
