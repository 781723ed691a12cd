#include "playback/play_entry.h"

#include "playback/music_library.h"

#include <gtest/gtest.h>

#include <set>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::Scenario;
using Lines = std::vector<std::string>;

TEST(PlayEntry, LoadsSelectsAnnouncesThenSetsTheNowPlayingTextAfterTheWait) {
  Scenario s;
  LoadLibrary(s, {"alpha", "beta", "gamma"}, 185.2);
  const double before = s.t.loop.Now();
  std::string song2DuringWait;
  s.t.chat.onSend = [&] { song2DuringWait = s.bot().form1.lblSong2; };
  PlayEntry(s.bot(), 2, "> playing #", CallerKind::Command);
  const Form1& f = s.bot().form1;
  EXPECT_EQ(s.Bodies(), (Lines{"> playing #3 - <b>gamma</b> "}));
  EXPECT_EQ(s.t.player.opened, (Lines{MusicPath("gamma")}));
  EXPECT_EQ(f.List3.listIndex, 2);
  EXPECT_EQ(f.List2.listIndex, 2);
  EXPECT_EQ(f.lblSong, "gamma");
  EXPECT_EQ(song2DuringWait, kSong2DesignText);  // set only after the wait
  EXPECT_EQ(f.lblSong2, "*** gamma (3:05) ");
  EXPECT_GE(s.t.loop.Now() - before, 0.5);
}

TEST(PlayEntry, EachCallerKindAtAPositionWithAndWithoutAnEntry) {
  const struct {
    const char* name;
    CallerKind kind;
    int p;
    Lines bodies;
    std::string song;
    std::string song2;
  } cases[] = {
      {"first entry is number 1", CallerKind::Command, 0, {"> w #1 - <b>alpha</b> "}, "alpha", "*** alpha (3:00) "},
      {"timer over an entry", CallerKind::PlayModeTimer, 1, {"> w #2 - <b>beta</b> "}, "beta", "*** beta (3:00) "},
      {"timer with no entry stops", CallerKind::PlayModeTimer, -1, {}, "", kSong2DesignText},
      {"timer past the end stops", CallerKind::PlayModeTimer, 7, {}, "", kSong2DesignText},
      {"list with no selection announces 0", CallerKind::LibraryList, -1, {"> w #0 - <b></b> "}, "", "***  (0:00) "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    LoadLibrary(s, {"alpha", "beta"});
    PlayEntry(s.bot(), c.p, "> w #", c.kind);
    EXPECT_EQ(s.Bodies(), c.bodies);
    EXPECT_EQ(s.bot().form1.lblSong, c.song);
    EXPECT_EQ(s.bot().form1.lblSong2, c.song2);
    EXPECT_EQ(s.t.player.opened.size(), c.song.empty() ? 0u : 1u);
  }
}

TEST(PlayEntry, SilentModeSendsNothingButStillSetsTheTexts) {
  Scenario s;
  LoadLibrary(s, {"alpha"});
  s.bot().form1.lblSi = "on";
  PlayEntry(s.bot(), 0, "> next #", CallerKind::Command);
  EXPECT_TRUE(s.Bodies().empty());
  EXPECT_EQ(s.bot().form1.lblSong, "alpha");
  EXPECT_EQ(s.bot().form1.lblSong2, "*** alpha (3:00) ");
}

TEST(PlayEntry, MatchesWindowHidesBeforeTheWaitOthersLeaveItShown) {
  for (const CallerKind kind : {CallerKind::MatchesWindow, CallerKind::Command}) {
    Scenario s;
    LoadLibrary(s, {"alpha"});
    s.bot().form2.loaded = s.bot().form2.visible = true;
    bool visibleAfterWait = true;
    s.t.loop.Post([&] { visibleAfterWait = s.bot().form2.visible; });  // runs inside the wait
    PlayEntry(s.bot(), 0, "> playing #", kind);
    EXPECT_EQ(visibleAfterWait, kind != CallerKind::MatchesWindow);
    EXPECT_EQ(s.bot().form2.visible, kind != CallerKind::MatchesWindow);
    EXPECT_TRUE(s.bot().form2.loaded);
  }
}

TEST(PlayEntry, ANestedStartDuringTheWaitDecidesTheNowPlayingText) {
  Scenario s;
  LoadLibrary(s, {"alpha", "beta"});
  s.t.player.durations[MusicPath("beta")] = 61;
  bool nested = false;
  s.t.chat.onSend = [&] {
    if (nested) return;
    nested = true;
    PlayEntry(s.bot(), 1, "> next #", CallerKind::Command);
  };
  PlayEntry(s.bot(), 0, "> playing #", CallerKind::Command);
  EXPECT_EQ(s.bot().form1.lblSong2, "*** beta (1:01) ");
  EXPECT_EQ(s.bot().form1.lblSong, "beta");
}

TEST(RandomIndex, CoversTheRangeAndOnlyTheRange) {
  Scenario s;
  EXPECT_EQ(RandomIndex(s.bot(), 0), 0);
  EXPECT_EQ(RandomIndex(s.bot(), -3), 0);
  EXPECT_EQ(RandomIndex(s.bot(), 1), 0);
  std::set<int> seen;
  for (int i = 0; i < 400; ++i) {
    const int r = RandomIndex(s.bot(), 5);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 5);
    seen.insert(r);
    s.Wait(0.37);
  }
  EXPECT_EQ(seen.size(), 5u);
}

TEST(RandomIndex, TheSameClockGivesTheSameDraw) {
  // Reseeded from the clock on every call: two draws at one instant agree.
  Scenario s;
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(RandomIndex(s.bot(), 1000), RandomIndex(s.bot(), 1000));
    s.Wait(1.3);
  }
}

TEST(LibraryList, ClickChangesTheTooltipOnly) {
  Scenario s;
  LoadLibrary(s, {"alpha", "beta"});
  PlayEntry(s.bot(), 0, "> playing #", CallerKind::Command);
  s.TakeBodies();
  ClickLibraryRow(s.bot(), 1);
  const Form1& f = s.bot().form1;
  EXPECT_EQ(f.List2.toolTipText, "beta");
  EXPECT_EQ(f.List2.listIndex, 1);
  EXPECT_EQ(f.List3.listIndex, 0);
  EXPECT_EQ(f.lblSong, "alpha");
  EXPECT_EQ(s.t.player.opened.size(), 1u);
  EXPECT_TRUE(s.Bodies().empty());
}

TEST(LibraryList, DoubleClickPlaysTheRowWithItsLibraryNumber) {
  Scenario s;
  LoadLibrary(s, {"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9", "a10", "a11"});
  DoubleClickLibraryRow(s.bot(), 11);
  EXPECT_EQ(s.Bodies(), (Lines{"> playing #12 - <b>a11</b> "}));
  EXPECT_EQ(s.t.player.fileName, MusicPath("a11"));
}

TEST(LibraryList, DoubleClickInAnEmptyListAnnouncesNothingPlaying) {
  Scenario s;
  DoubleClickLibraryRow(s.bot(), 3);
  EXPECT_EQ(s.Bodies(), (Lines{"> playing #0 - <b></b> "}));
  EXPECT_TRUE(s.t.player.opened.empty());
}

}  // namespace
}  // namespace wavecrest
