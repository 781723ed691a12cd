// The room listens: what the member's player plays is what a listener of the
// Icecast mount hears, song by song and step by step.
#include "app/stream_e2e.h"

#include <chrono>
#include <cmath>
#include <regex>

namespace wavecrest::testing {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string Joined(const std::vector<std::string>& titles) {
  std::string out;
  for (const auto& t : titles) out += "[" + t + "] ";
  return out;
}

TEST_F(StreamE2E, ASongIsHeardWithItsTitleAndNextFollowsOnTheSameConnection) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming());
  ToneListener ear(ListenUrl());
  TitleListener player(ListenUrl());
  EXPECT_TRUE(ear.AwaitSilence(1, 20)) << "nothing loaded is silence: " << ear.Transcript();

  ASSERT_TRUE(Say("p alpha", "playing #1 - <b>alpha echo</b>"));
  const auto alpha = ear.Await(Song(kAlpha), 20);
  ASSERT_TRUE(alpha) << ear.Transcript();
  EXPECT_EQ(ear.Windows()[*alpha].step, 0) << "from its start: " << ear.Transcript();
  EXPECT_TRUE(player.AwaitTitle("Zoë Vale - Echo Tide", 20)) << Joined(player.Titles());

  const std::size_t before = ear.Windows().size();
  const auto asked = Clock::now();
  ASSERT_TRUE(Say("next", "next #2 - <b>bravo wave</b>"));
  const auto bravo = ear.Await(Song(kBravo), 20, before);
  const double waited = SecondsSince(asked);
  ASSERT_TRUE(bravo) << ear.Transcript(before);
  EXPECT_LE(waited, kBurstSeconds + 1) << ear.Transcript(before);
  EXPECT_EQ(ear.Windows()[*bravo].step, 0) << ear.Transcript(before);
  EXPECT_TRUE(ear.Connected()) << "the same listener heard both songs";
  EXPECT_TRUE(player.AwaitTitle("Bram - Wave", 20)) << Joined(player.Titles());
}

TEST_F(StreamE2E, PauseIsSilenceOnTheSameConnectionAndTheSongResumesAtTheSameStep) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming());
  ToneListener ear(ListenUrl());
  ASSERT_TRUE(Say("p alpha", "playing #1"));
  // Past its first step, so that starting over could not pass for resuming.
  const auto playing = ear.Await([](const Heard& h) { return h.IsTone(kAlpha) && h.step >= 1; }, 30);
  ASSERT_TRUE(playing) << ear.Transcript();

  ASSERT_TRUE(Say("pause", "pause #1"));
  // Two steps of silence: a song that went on under it would come back
  // at least two steps on.
  const auto silence = ear.AwaitSilence(2 * kStepSeconds, 40, *playing);
  ASSERT_TRUE(silence) << ear.Transcript(*playing);
  EXPECT_TRUE(ear.Connected());
  const auto paused = ear.LastToneBefore(*silence);
  ASSERT_TRUE(paused && paused->song == kAlpha) << ear.Transcript(*playing);

  ASSERT_TRUE(Say("pause", "unpause #1"));
  const auto resumed = ear.Await([](const Heard& h) { return h.kind == Heard::Kind::kTone; }, 20, *silence);
  ASSERT_TRUE(resumed) << ear.Transcript(*silence);
  const Heard again = ear.Windows()[*resumed];
  EXPECT_EQ(again.song, kAlpha) << ear.Transcript(*playing);
  // Paused near the end of a step, the next one may come first.
  EXPECT_TRUE(again.step == paused->step || again.step == paused->step + 1)
      << "paused at step " << paused->step << ": " << ear.Transcript(*playing);
}

TEST_F(StreamE2E, SkipLandsOnTheStepOfTheNewPosition) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming());
  ToneListener ear(ListenUrl());
  ASSERT_TRUE(Say("p alpha", "playing #1"));
  ASSERT_TRUE(ear.Await(Song(kAlpha), 20)) << ear.Transcript();
  const std::size_t before = ear.Windows().size();
  const auto reply = Say("skip 20", "skipped <b>20</b> seconds, position: ");
  ASSERT_TRUE(reply);
  std::smatch position;
  ASSERT_TRUE(std::regex_search(*reply, position, std::regex("position: (\\d+):(\\d\\d)/"))) << *reply;
  const double at = std::stoi(position[1]) * 60 + std::stoi(position[2]);
  // The reply rounds the position; the stream may take a moment to follow.
  const int earliest = static_cast<int>(std::floor((at - 0.5) / kStepSeconds));
  const int latest = static_cast<int>(std::floor((at + 1.5) / kStepSeconds));
  // Played on without the skip, the song would reach step 2 only after 8 s.
  const auto landed = ear.Await([](const Heard& h) { return h.IsTone(kAlpha) && h.step >= 2; }, 20, before);
  ASSERT_TRUE(landed) << ear.Transcript(before);
  const int step = ear.Windows()[*landed].step;
  EXPECT_TRUE(step >= earliest && step <= latest) << *reply << "; " << ear.Transcript(before);
}

// Each heard at its own pitch: a song resampled from the wrong rate would
// put every step off its frequency and be heard as no song at all.
TEST_F(StreamE2E, AMonoWavAndAWmaPlayInTheSameStream) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming("wav"));
  ToneListener ear(ListenUrl());
  ASSERT_TRUE(Say("p gamma", "playing #1 - <b>gamma low</b>"));
  const auto gamma = ear.Await(Song(kGamma), 20);
  ASSERT_TRUE(gamma) << ear.Transcript();
  // Without a tag the title is the song's display name.
  const auto titled = AwaitMount(*icecast_, "/live", [](const MountStats& m) { return m.title == "gamma low"; }, 10);
  EXPECT_EQ(titled ? titled->title : "(no mount)", "gamma low");

  ASSERT_TRUE(Say("ext wma", "file extension <b>wma</b> set", 30));
  ASSERT_TRUE(Say("p delta", "playing #1 - <b>delta wide</b>"));
  const auto delta = ear.Await(Song(kDelta), 20, *gamma);
  EXPECT_TRUE(delta) << ear.Transcript(*gamma);
  EXPECT_TRUE(ear.Connected());
}

TEST_F(StreamE2E, ListenCountsTheOneListener) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming());
  ToneListener ear(ListenUrl());
  ASSERT_TRUE(AwaitMount(*icecast_, "/live", [](const MountStats& m) { return m.listeners == 1; }, 20));
  const std::string expected = " listen at <b>" + ListenUrl() + "</b> - <b>1</b> listeners ";
  // The count may be up to 30 s old: ask again, a second of listening
  // apart, until it has caught up.
  const auto counted = Clock::now();
  std::optional<std::string> reply;
  do {
    reply = Say("listen", " listen at <b>");
    ASSERT_TRUE(reply) << "no answer to listen";
    if (reply->find(expected) != std::string::npos) break;
    int windows = 0;
    ear.Await([&](const Heard&) { return ++windows * kWindowSeconds >= 1; }, 10, ear.Windows().size());
  } while (SecondsSince(counted) < 32);
  EXPECT_NE(reply->find(expected), std::string::npos) << *reply;
}

}  // namespace
}  // namespace wavecrest::testing
