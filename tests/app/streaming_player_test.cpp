// The player of a run that streams: what the stream is told for each call.
#include "app/modules/streaming_player.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace wavecrest {
namespace {

using testing::FakeAudioStream;
using testing::FakeMediaPlayer;
using Told = std::vector<std::string>;

struct Rig {
  testing::VirtualEventLoop loop;
  FakeMediaPlayer real;
  FakeAudioStream stream{loop};
  testing::FakeTagReader tags;
  StreamingPlayer player{real, stream, tags};
  Rig() {
    real.durations = {{"/music/Echo Valley.mp3", 60}, {"/music/tide.wav", 30}};
  }
};

TEST(StreamingPlayer, TellsTheStreamWhatThePlayerNowPlays) {
  const struct {
    const char* name;
    std::function<void(Rig&)> act;
    Told told;
  } cases[] = {
      {"open", [](Rig& r) { r.player.Open("/music/Echo Valley.mp3"); },
       {"open /music/Echo Valley.mp3 @0 Echo Valley"}},
      {"a file the player cannot open is silence", [](Rig& r) { r.player.Open("/music/gone.mp3"); }, {"stop"}},
      {"an Open inside an Open: the later one is told, once",
       [](Rig& r) {
         r.real.duringOpen = [&r] { r.player.Open("/music/tide.wav"); };
         r.player.Open("/music/Echo Valley.mp3");
       },
       {"open /music/tide.wav @0 tide"}},
      {"a failed Open inside an Open: the outer one has lost too",
       [](Rig& r) {
         r.real.duringOpen = [&r] { r.player.Open("/music/gone.mp3"); };
         r.player.Open("/music/Echo Valley.mp3");
       },
       {"stop"}},
      {"pause and resume",
       [](Rig& r) {
         r.player.Open("/music/tide.wav");
         r.real.position = 7.5;
         r.player.Pause();
         r.player.Play();
       },
       {"open /music/tide.wav @0 tide", "pause", "resume"}},
      {"play after stop starts the stream where the player starts",
       [](Rig& r) {
         r.player.Open("/music/tide.wav");
         r.player.Stop();
         r.real.position = 0;
         r.player.Play();
       },
       {"open /music/tide.wav @0 tide", "stop", "open /music/tide.wav @0 tide"}},
      {"play while playing changes nothing",
       [](Rig& r) {
         r.player.Open("/music/tide.wav");
         r.player.Play();
       },
       {"open /music/tide.wav @0 tide"}},
      {"skip: the stream jumps to where the player is",
       [](Rig& r) {
         r.player.Open("/music/Echo Valley.mp3");
         r.real.position = 4;
         r.player.SetCurrentPosition(24);
       },
       {"open /music/Echo Valley.mp3 @0 Echo Valley", "seek 24"}},
      {"a skip the player refuses", [](Rig& r) { r.player.SetCurrentPosition(5); }, {}},
      {"a skip while stopped is not the stream's",
       [](Rig& r) {
         r.player.Open("/music/tide.wav");
         r.player.Stop();
         r.player.SetCurrentPosition(5);
       },
       {"open /music/tide.wav @0 tide", "stop"}},
      {"mute and volume are the member's speakers",
       [](Rig& r) {
         r.player.Open("/music/tide.wav");
         r.player.SetMute(true);
         r.player.SetVolume(-1250);
       },
       {"open /music/tide.wav @0 tide"}},
      {"pause, stop and play with nothing loaded",
       [](Rig& r) {
         r.player.Pause();
         r.player.Stop();
         r.player.Play();
       },
       {}},
  };
  for (const auto& c : cases) {
    Rig rig;
    c.act(rig);
    EXPECT_EQ(rig.stream.told, c.told) << c.name;
  }
}

TEST(StreamingPlayer, AnswersAsTheRealPlayerDoes) {
  Rig rig;
  EXPECT_TRUE(rig.player.Open("/music/tide.wav"));
  EXPECT_FALSE(rig.player.Open("/music/gone.mp3"));
  rig.real.Open("/music/tide.wav");
  rig.real.position = 3;
  EXPECT_EQ(rig.player.FileName(), "/music/tide.wav");
  EXPECT_EQ(rig.player.Duration(), 30.0);
  EXPECT_EQ(rig.player.CurrentPosition(), 3.0);
  EXPECT_TRUE(rig.player.SetMute(true));
  EXPECT_EQ(rig.player.Mute(), true);
  EXPECT_TRUE(rig.player.SetVolume(-100));
  EXPECT_EQ(rig.real.volume, -100);
}

}  // namespace
}  // namespace wavecrest
