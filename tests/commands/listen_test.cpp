// `listen`: where the room listens, and how many do.
#include "commands/listen.h"

#include "commands/status.h"
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavecrest {
namespace {

using testing::Scenario;

constexpr const char* kUrl = "http://radio.example.org:8000/live";

std::string Reply(const std::string& count) {
  return "> listen at <b>" + std::string(kUrl) + "</b> - <b>" + count + "</b> listeners ";
}

TEST(Listen, TellsACountNoOlderThanThirtySecondsAndWaitsAtMostASecondForAFreshOne) {
  const struct {
    const char* name;
    std::optional<double> ageOfLastCount;  // seconds; nothing: never asked yet
    std::optional<int> serverSays;
    std::optional<double> answerAfter;  // seconds; nothing: no answer at all
    std::string reply;
    int refreshes;
  } cases[] = {
      {"fresh: told at once", 29.5, 9, 0.2, Reply("3"), 0},
      {"stale: asked again", 31, 9, 0.4, Reply("9"), 1},
      {"first time: asked", std::nullopt, 0, 0.1, Reply("0"), 1},
      {"the server could not say", 45, std::nullopt, 0.1, Reply("unknown"), 1},
      {"no answer within the second", 60, 9, 1.5, Reply("unknown"), 1},
      {"never an answer", std::nullopt, 9, std::nullopt, Reply("unknown"), 1},
  };
  for (const auto& c : cases) {
    Scenario s(RoomKind::kLocal, StreamCommands::With);
    testing::FakeAudioStream& stream = s.t.stream;
    if (c.ageOfLastCount) {
      stream.count = ListenerCount{3, s.t.loop.SecondsSinceMidnight() - *c.ageOfLastCount, 1};
    }
    stream.listeners = c.serverSays;
    stream.answerAfter = c.answerAfter;
    const double start = s.t.loop.Now();
    s.MemberSays("listen");
    EXPECT_EQ(s.Bodies(), std::vector<std::string>{c.reply}) << c.name;
    EXPECT_EQ(stream.refreshes, c.refreshes) << c.name;
    EXPECT_LE(s.t.loop.Now() - start, 1.0 + 1e-6) << c.name << ": the reply waited too long";
  }
}

TEST(Listen, OtherEventsRunWhileTheReplyWaitsForTheCount) {
  Scenario s(RoomKind::kLocal, StreamCommands::With);
  s.t.stream.listeners = 2;
  s.t.stream.answerAfter = 0.5;
  s.bot().form1.Trig = "!";
  int ticks = 0;
  const auto timer = s.t.loop.CreateTimer(std::chrono::milliseconds(100), [&ticks] { ++ticks; });
  timer->SetEnabled(true);
  s.MemberSays("!listen");
  EXPECT_EQ(s.Bodies(), std::vector<std::string>{Reply("2")});
  EXPECT_GE(ticks, 4);
}

TEST(Listen, IsACommandOnlyWhileTheRunStreams) {
  Scenario plain;
  BuildCommandList(plain.bot());
  plain.MemberSays("listen");
  EXPECT_TRUE(plain.Bodies().empty());
  EXPECT_EQ(plain.bot().form1.List1.ListCount(), 42);

  Scenario streaming(RoomKind::kLocal, StreamCommands::With);
  streaming.bot().form1.Trig = "!";
  BuildCommandList(streaming.bot());
  const auto& lines = streaming.bot().form1.List1.items;
  EXPECT_EQ(lines.size(), 43u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "!listen [get where to listen and how many listen]"), lines.end());
  streaming.t.stream.count = ListenerCount{5, streaming.t.loop.SecondsSinceMidnight(), 1};
  streaming.MemberSays("listen");
  EXPECT_TRUE(streaming.Bodies().empty()) << "the trigger applies";
  streaming.MemberSays("!listen");
  EXPECT_EQ(streaming.Bodies(), std::vector<std::string>{Reply("5")});
}

}  // namespace
}  // namespace wavecrest
