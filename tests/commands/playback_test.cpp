#include "commands/playback.h"

#include "playback/music_library.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::Scenario;
using Lines = std::vector<std::string>;

constexpr const char* kSelectDirectory = "> please select a directory ";
constexpr const char* kShortPlayString = "> play string must be <b>3</b> or more characters ";

TEST(PlaybackCommands, EveryStartingCommandOverAnEmptyLibraryAsksForADirectory) {
  for (const char* line : {"r", "next", "prev", "p ab", "p abc"}) {
    SCOPED_TRACE(line);
    Scenario s;
    s.MemberSays(line);
    EXPECT_EQ(s.Bodies(), (Lines{kSelectDirectory}));
    EXPECT_TRUE(s.t.player.opened.empty());
  }
}

TEST(NextPrev, WrapAroundAndStartAtTheEndsWithNothingCurrent) {
  const struct {
    const char* line;
    int current;
    std::string body;
  } cases[] = {
      {"next", -1, "> next #1 - <b>s0</b> "},     {"next", 0, "> next #2 - <b>s1</b> "},
      {"next", 2, "> next #1 - <b>s0</b> "},      {"prev", -1, "> previous #3 - <b>s2</b> "},
      {"prev", 0, "> previous #3 - <b>s2</b> "},  {"prev", 2, "> previous #2 - <b>s1</b> "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " from " + std::to_string(c.current));
    Scenario s;
    LoadLibrary(s, {"s0", "s1", "s2"});
    s.bot().form1.List3.listIndex = c.current;
    s.MemberSays(c.line);
    EXPECT_EQ(s.Bodies(), (Lines{c.body}));
  }
}

TEST(NextPrev, TrailingTextIsDropped) {
  Scenario s;
  LoadLibrary(s, {"s0"});
  s.MemberSays("next ");
  s.MemberSays("prev please");
  EXPECT_TRUE(s.Bodies().empty());
}

TEST(R, PlaysAnEntryOfTheLibraryAnnouncedAsRandom) {
  Scenario s;
  LoadLibrary(s, {"s0", "s1", "s2", "s3"});
  s.MemberSays("r");
  const int p = s.bot().form1.List3.listIndex;
  ASSERT_GE(p, 0);
  ASSERT_LT(p, 4);
  const std::string name = "s" + std::to_string(p);
  EXPECT_EQ(s.Bodies(), (Lines{"> random #" + std::to_string(p + 1) + " - <b>" + name + "</b> "}));
  EXPECT_EQ(s.t.player.fileName, MusicPath(name));
}

TEST(P, SearchesDisplayNamesByLengthAndCount) {
  const struct {
    const char* line;
    Lines bodies;
    std::string playing;
  } cases[] = {
      {"p ab", {kShortPlayString}, ""},
      {"p a   b", {kShortPlayString}, ""},
      {"p zzz", {"> no matches for <b>zzz</b> were found "}, ""},
      {"p a b c", {"> no matches for <b>a b c</b> were found "}, ""},
      {"p SUN", {"> playing #2 - <b>Sunrise Song</b> "}, "Sunrise Song"},
      {"p e so", {"> playing #2 - <b>Sunrise Song</b> "}, "Sunrise Song"},  // blanks kept in the search
      {"p music", {"> no matches for <b>music</b> were found "}, ""},  // never the directory
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Scenario s;
    LoadLibrary(s, {"Dawn", "Sunrise Song", "Moonrise"});
    s.MemberSays(c.line);
    EXPECT_EQ(s.Bodies(), c.bodies);
    EXPECT_EQ(s.bot().form1.lblSong, c.playing);
    EXPECT_FALSE(s.bot().form2.visible);
  }
}

TEST(P, SeveralMatchesFillTheMatchesWindowAndPlayNothing) {
  Scenario s;
  LoadLibrary(s, {"Dawn", "Moonrise", "Sunrise Song", "Zed"});
  s.bot().form1.lblExt = "wav";
  s.MemberSays("p rise");
  EXPECT_EQ(s.Bodies(), (Lines{"> viewing <b>2</b> matches for <b>rise</b> "}));
  const Form2& m = s.bot().form2;
  EXPECT_TRUE(m.loaded);
  EXPECT_TRUE(m.visible);
  EXPECT_EQ(m.caption, "double-click to play wav");
  EXPECT_EQ(m.List1.items, (Lines{"Moonrise", "Sunrise Song"}));
  EXPECT_EQ(s.bot().form1.List4.items, (Lines{"1", "2"}));
  EXPECT_EQ(s.bot().form1.List2.listIndex, 2);  // the library selection ends on the last match
  EXPECT_EQ(s.bot().form1.List3.listIndex, -1);
  EXPECT_TRUE(s.t.player.opened.empty());
  EXPECT_GE(s.t.matchesView.refreshes, 1);
}

// A song loaded and playing, for the commands that steer it.
Scenario& Playing(Scenario& s, double length = 180) {
  LoadLibrary(s, {"s0", "s1", "s2"}, length);
  s.MemberSays("next");
  s.MemberSays("next");
  s.TakeBodies();
  return s;
}

TEST(PauseStopMuteSong, ConfirmWithTheCurrentEntry) {
  Scenario s;
  Playing(s);
  s.MemberSays("pause");
  EXPECT_EQ(s.t.player.playState, PlayStateValue::Paused);
  s.MemberSays("pause");
  EXPECT_EQ(s.t.player.playState, PlayStateValue::Playing);
  s.MemberSays("mute");
  EXPECT_TRUE(s.t.player.mute);
  s.MemberSays("mute");
  EXPECT_FALSE(s.t.player.mute);
  s.MemberSays("song");
  s.MemberSays("pause");
  s.MemberSays("stop");  // a paused song can be stopped
  EXPECT_EQ(s.t.player.playState, PlayStateValue::Stopped);
  s.MemberSays("song");  // nothing to say once stopped
  EXPECT_EQ(s.Bodies(), (Lines{"> pause #2 - <b>s1</b> ", "> unpause #2 - <b>s1</b> ", "> mute #2 - <b>s1</b> ",
                               "> unmute #2 - <b>s1</b> ", "> current song #2 - <b>s1</b> ", "> pause #2 - <b>s1</b> ",
                               "> stop #2 - <b>s1</b> "}));
}

TEST(PauseStopMuteSong, NothingLoadedOrUnreadableSendsNothing) {
  for (const bool unreadable : {false, true}) {
    Scenario s;
    if (unreadable) {
      Playing(s);
      s.t.player.failReads = true;
    }
    for (const char* line : {"pause", "stop", "mute", "song", "skip 5"}) s.MemberSays(line);
    EXPECT_TRUE(s.Bodies().empty());
  }
}

TEST(PauseStopMuteSong, SilentModeActsWithoutConfirmingButSongStillAnswers) {
  Scenario s;
  Playing(s);
  s.bot().form1.lblSi = "on";
  s.MemberSays("pause");
  s.MemberSays("mute");
  s.MemberSays("song");
  s.MemberSays("stop");
  EXPECT_EQ(s.Bodies(), (Lines{"> current song #2 - <b>s1</b> "}));
  EXPECT_TRUE(s.t.player.mute);
  EXPECT_EQ(s.t.player.playState, PlayStateValue::Stopped);
}

TEST(Song, AfterTheLibraryWasRebuiltReportsNumberZeroWithTheLastName) {
  Scenario s;
  Playing(s);
  LoadLibrary(s, {"new0", "new1"});
  s.MemberSays("song");
  EXPECT_EQ(s.Bodies(), (Lines{"> current song #0 - <b>s1</b> "}));
}

TEST(Skip, RepliesAndUnits) {
  const struct {
    const char* line;
    double position;
    double length;
    Lines bodies;
    double positionAfter;
  } cases[] = {
      {"skip 1", 10, 200, {"> skipped <b>1</b> second, position: 0:11/3:20 "}, 11},
      {"skip 1.5", 10, 200, {"> skipped <b>1.5</b> second, position: 0:12/3:20 "}, 11.5},
      {"skip 2", 10, 200, {"> skipped <b>2</b> seconds, position: 0:12/3:20 "}, 12},
      {"skip 1 05", 0, 200, {"> skipped <b>105</b> seconds, position: 1:45/3:20 "}, 105},
      {"skip 0", 10, 200, {"> invalid skip length "}, 10},
      {"skip 0.9", 10, 200, {"> invalid skip length "}, 10},
      {"skip -3", 10, 200, {"> invalid skip length "}, 10},
      {"skip 201", 10, 200, {"> invalid skip length "}, 10},
      {"skip 150", 100, 200, {"> skipped <b>150</b> seconds, position: 4:10/3:20 "}, 250},  // the whole length counts
      {"skip abc", 10, 200, {}, 10},
      {"skip ", 10, 200, {}, 10},
      {"skip", 10, 200, {}, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Scenario s;
    Playing(s, c.length);
    s.t.player.position = c.position;
    s.MemberSays(c.line);
    EXPECT_EQ(s.Bodies(), c.bodies);
    EXPECT_DOUBLE_EQ(s.t.player.position, c.positionAfter);
  }
}

TEST(Skip, APositionThatReadsZeroAfterwardsGetsNoReply) {
  Scenario s;
  Playing(s);
  s.t.player.position = -1.2;  // the player's own idea of the position
  s.MemberSays("skip 1");
  EXPECT_TRUE(s.Bodies().empty());
}

TEST(Vol, AcceptsOneToHundredAndSavesTheTextAsTyped) {
  const struct {
    const char* line;
    std::string trigger;
    Lines bodies;
    std::optional<int> volume;
    std::string saved;
  } cases[] = {
      {"vol 100", "", {"> new volume: <b>100%</b> "}, 0, "100"},
      {"vol 1", "", {"> new volume: <b>1%</b> "}, -2475, "1"},
      {"vol 50", "", {"> new volume: <b>50%</b> "}, -1250, "50"},
      {"vol  75 ", "", {"> new volume: <b> 75 %</b> "}, -625, " 75 "},
      {"vol 0", "", {"> invalid volume, must be from 1-100 "}, std::nullopt, ""},
      {"vol 0.5", "", {"> invalid volume, must be from 1-100 "}, std::nullopt, ""},
      {"vol 101", "", {"> invalid volume, must be from 1-100 "}, std::nullopt, ""},
      {"vol -5", "", {"> invalid volume, must be from 1-100 "}, std::nullopt, ""},
      {"vol abc", "", {"> invalid volume, must be from 1-100 "}, std::nullopt, ""},
      {"vol    ", "", {}, std::nullopt, ""},
      {"vol", "", {}, std::nullopt, ""},
      {"!vol", "!", {"> invalid volume, must be from 1-100 "}, std::nullopt, ""},
      {"!vol 20", "!", {"> new volume: <b>20%</b> "}, -2000, "20"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Scenario s;
    s.bot().form1.Trig = c.trigger;
    s.MemberSays(c.line);
    EXPECT_EQ(s.Bodies(), c.bodies);
    EXPECT_EQ(s.t.player.volume, c.volume);
    EXPECT_EQ(s.bot().ReadSetting("volume"), c.saved);
  }
}

TEST(Vol, SettingAVolumeUnmutes) {
  Scenario s;
  Playing(s);
  s.MemberSays("mute");
  ASSERT_TRUE(s.t.player.mute);
  s.MemberSays("vol 50");
  EXPECT_FALSE(s.t.player.mute);
  EXPECT_EQ(s.t.player.volume, -1250);
}

TEST(VolQuery, ReportsTheSavedTextOrOneHundred) {
  Scenario s;
  s.MemberSays("vol?");
  s.MemberSays("vol 42");
  s.MemberSays("vol?");
  s.bot().form1.lblSi = "on";  // not subject to silent mode
  s.MemberSays("vol?");
  EXPECT_EQ(s.Bodies(), (Lines{"> current volume: <b>100%</b> ", "> new volume: <b>42%</b> ",
                               "> current volume: <b>42%</b> ", "> current volume: <b>42%</b> "}));
}

}  // namespace
}  // namespace wavecrest
