#include "playback/play_modes.h"

#include "playback/music_library.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::NothingLoaded;
using testing::PlayToEnd;
using testing::Scenario;
using Lines = std::vector<std::string>;

TEST(SongEnded, OnlyAnExactEndOrAFailedReadCounts) {
  const struct {
    double position, duration;
    bool failReads;
    bool ended;
  } cases[] = {
      {180, 180, false, true},   {179.999, 180, false, false}, {0, 180, false, false},
      {-1, 0, false, false},     {12, 180, true, true},        {0, 0, false, true},
  };
  for (const auto& c : cases) {
    Scenario s;
    s.t.player.position = c.position;
    s.t.player.duration = c.duration;
    s.t.player.failReads = c.failReads;
    EXPECT_EQ(SongEnded(s.bot()), c.ended) << c.position << "/" << c.duration;
  }
}

// A library of three, the given entry playing, the mode switched on.
void Start(Scenario& s, int entry, const char* mode) {
  LoadLibrary(s, {"s0", "s1", "s2"}, 100);
  s.bot().form1.List3.listIndex = entry;
  s.bot().form1.List2.listIndex = entry;
  if (entry >= 0) {
    s.t.player.Open(MusicPath("s" + std::to_string(entry)));
    s.bot().form1.lblSong = "s" + std::to_string(entry);
  } else {
    NothingLoaded(s);
  }
  s.MemberSays(mode);
  s.TakeBodies();
  s.t.player.opened.clear();
}

TEST(PlayModes, WhatFollowsTheEndOfASong) {
  const struct {
    const char* name;
    const char* mode;
    int entry;
    Lines bodies;
    int current;
  } cases[] = {
      {"order over the last entry", "order", 2, {"> order #1 - <b>s0</b> "}, 0},
      {"order in the middle", "order", 0, {"> order #2 - <b>s1</b> "}, 1},
      {"repeat replays the same number", "rep", 1, {"> repeat #2 - <b>s1</b> "}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    Start(s, c.entry, c.mode);
    s.Wait(5);
    EXPECT_TRUE(s.Bodies().empty());  // the song has not ended yet
    PlayToEnd(s);
    s.Wait(1.5);
    EXPECT_EQ(s.Bodies(), c.bodies);
    EXPECT_EQ(s.bot().form1.List3.listIndex, c.current);
    EXPECT_EQ(s.t.player.position, 0);  // started over from its beginning
    EXPECT_EQ(s.t.player.playState, PlayStateValue::Playing);
  }
}

TEST(PlayModes, OrderWithNoCurrentEntryStartsTheFirst) {
  Scenario s;
  Start(s, 1, "order");
  s.bot().form1.List3.listIndex = -1;
  PlayToEnd(s);
  s.Wait(1.5);
  EXPECT_EQ(s.Bodies(), (Lines{"> order #1 - <b>s0</b> "}));
}

TEST(PlayModes, ContinuousPicksAnEntryOfTheLibrary) {
  Scenario s;
  Start(s, 0, "con");
  PlayToEnd(s);
  s.Wait(1.5);
  const int p = s.bot().form1.List3.listIndex;
  ASSERT_GE(p, 0);
  ASSERT_LT(p, 3);
  EXPECT_EQ(s.Bodies(), (Lines{"> continuous #" + std::to_string(p + 1) + " - <b>s" + std::to_string(p) + "</b> "}));
}

TEST(PlayModes, RepeatWithNoCurrentEntryFollowsWithNothing) {
  Scenario s;
  Start(s, 1, "rep");
  LoadLibrary(s, {"n0", "n1"});  // rebuilt: nothing is current, the old file plays on
  PlayToEnd(s);
  const std::string song2 = s.bot().form1.lblSong2;
  s.Wait(3);
  EXPECT_TRUE(s.Bodies().empty());
  EXPECT_TRUE(s.t.player.opened.empty());
  EXPECT_EQ(s.bot().form1.lblSong, "");
  EXPECT_EQ(s.bot().form1.lblSong2, song2);
}

TEST(PlayModes, AnEmptyLibraryOpensNothingAndSendsNothing) {
  for (const char* mode : {"con", "order", "rep"}) {
    Scenario s;
    Start(s, 0, mode);
    LoadLibrary(s, {});
    PlayToEnd(s);
    s.Wait(3);
    EXPECT_TRUE(s.Bodies().empty()) << mode;
    EXPECT_TRUE(s.t.player.opened.empty()) << mode;
    EXPECT_EQ(s.bot().form1.lblSong2, kSong2DesignText) << mode;
  }
}

TEST(PlayModes, SwitchedOnWithNothingLoadedStartsNothing) {
  for (const char* mode : {"con", "order", "rep"}) {
    Scenario s;
    Start(s, -1, mode);
    s.Wait(10);
    EXPECT_TRUE(s.Bodies().empty()) << mode;
    EXPECT_TRUE(s.t.player.opened.empty()) << mode;
  }
}

TEST(PlayModes, PauseHoldsTheModeUntilTheSongIsResumedAndEnds) {
  Scenario s;
  Start(s, 0, "order");
  s.t.player.position = 50;
  s.MemberSays("pause");
  s.TakeBodies();
  s.Wait(10);
  EXPECT_TRUE(s.t.player.opened.empty());
  s.MemberSays("pause");
  s.TakeBodies();
  PlayToEnd(s);
  s.Wait(1.5);
  EXPECT_EQ(s.Bodies(), (Lines{"> order #2 - <b>s1</b> "}));
}

TEST(PlayModes, SilentModeChainsSongsWithoutAWord) {
  Scenario s;
  Start(s, 0, "order");
  s.MemberSays("si");
  s.TakeBodies();
  for (int song = 1; song <= 4; ++song) {
    PlayToEnd(s);
    s.Wait(2);
    EXPECT_EQ(s.bot().form1.List3.listIndex, song % 3);
    EXPECT_EQ(s.bot().form1.lblSong, "s" + std::to_string(song % 3));
  }
  EXPECT_TRUE(s.Bodies().empty());
  EXPECT_EQ(s.t.player.opened.size(), 4u);
}

TEST(PlayModes, ATickDuringTheWaitFindsTheNewSongShortOfItsEnd) {
  Scenario s;
  Start(s, 0, "rep");
  PlayToEnd(s);
  s.Wait(4);
  EXPECT_EQ(s.t.player.opened.size(), 1u);
  EXPECT_EQ(s.Bodies().size(), 1u);
}

}  // namespace
}  // namespace wavecrest
