// The player that loads libmpv with the first song.
#include "app/modules/lazy_player.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <memory>

namespace wavecrest {
namespace {

using testing::FakeMediaPlayer;

struct Made {
  int calls = 0;
  FakeMediaPlayer* player = nullptr;
  LazyPlayer::Factory Factory(bool fails = false) {
    return [this, fails]() -> std::unique_ptr<MediaPlayer> {
      ++calls;
      if (fails) return nullptr;
      auto made = std::make_unique<FakeMediaPlayer>();
      made->durations["a.mp3"] = 5;
      player = made.get();
      return made;
    };
  }
};

// What a player with nothing loaded answers.
void ExpectEmpty(MediaPlayer& player) {
  EXPECT_EQ(player.FileName(), "");
  EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
  EXPECT_EQ(player.CurrentPosition(), -1.0);
  EXPECT_EQ(player.Duration(), 0.0);
}

TEST(LazyPlayer, AnswersAsAFreshPlayerUntilTheFirstOpenThenHandsOverMuteAndVolume) {
  Made made;
  LazyPlayer player(made.Factory());
  ExpectEmpty(player);
  EXPECT_EQ(player.Mute(), false);
  EXPECT_FALSE(player.Play() || player.Pause() || player.Stop() || player.SetCurrentPosition(1));
  EXPECT_TRUE(player.SetMute(true) && player.SetVolume(-1200));
  EXPECT_EQ(player.Mute(), true);
  EXPECT_EQ(made.calls, 0) << "nothing but an Open makes the real player";

  EXPECT_FALSE(player.Open("missing.mp3"));
  EXPECT_TRUE(player.Open("a.mp3"));
  EXPECT_EQ(made.calls, 1);
  EXPECT_TRUE(made.player->mute && made.player->volume == -1200);
  EXPECT_EQ(player.Duration(), 5.0);
  EXPECT_TRUE(player.Pause() && made.player->playState == PlayStateValue::Paused);
}

TEST(LazyPlayer, APlayerThatCannotBeMadeStaysEmptyAndIsTriedOnce) {
  Made made;
  LazyPlayer player(made.Factory(/*fails=*/true));
  for (int i = 0; i < 2; ++i) EXPECT_FALSE(player.Open("a.mp3"));
  EXPECT_EQ(made.calls, 1);
  ExpectEmpty(player);
  EXPECT_EQ(player.Mute(), std::nullopt);
  EXPECT_FALSE(player.SetMute(true) || player.SetVolume(0));
}

}  // namespace
}  // namespace wavecrest
