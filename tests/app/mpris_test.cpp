#include "app/mpris/mpris_actions.h"

#include "app/mpris/mpris_state.h"
#include "playback/music_library.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::Scenario;
using Lines = std::vector<std::string>;

// The desktop's buttons say in the room what the member's commands say.
TEST(MprisActions, RunTheMembersCommands) {
  using enum MprisAction;
  using enum PlayStateValue;
  const struct {
    MprisAction action;
    int current;         // library position loaded; -1: nothing loaded
    PlayStateValue state;
    Lines bodies;
    PlayStateValue after;
    const char* file;  // loaded after the action
  } cases[] = {
      {Play, -1, Stopped, {"> playing #1 - <b>s0</b> "}, Playing, "s0"},
      {Play, 1, Stopped, {"> playing #2 - <b>s1</b> "}, Playing, "s1"},
      {Play, 1, Paused, {"> unpause #2 - <b>s1</b> "}, Playing, "s1"},
      {Play, 1, Playing, {}, Playing, "s1"},
      {Pause, 1, Playing, {"> pause #2 - <b>s1</b> "}, Paused, "s1"},
      {Pause, 1, Paused, {}, Paused, "s1"},
      {Pause, -1, Stopped, {}, Stopped, ""},
      {PlayPause, 1, Playing, {"> pause #2 - <b>s1</b> "}, Paused, "s1"},
      {PlayPause, 1, Paused, {"> unpause #2 - <b>s1</b> "}, Playing, "s1"},
      {PlayPause, 2, Stopped, {"> playing #3 - <b>s2</b> "}, Playing, "s2"},
      {Stop, 1, Playing, {"> stop #2 - <b>s1</b> "}, Stopped, "s1"},
      {Stop, 1, Stopped, {}, Stopped, "s1"},
      {Next, 2, Playing, {"> next #1 - <b>s0</b> "}, Playing, "s0"},
      {Previous, 1, Playing, {"> previous #1 - <b>s0</b> "}, Playing, "s0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.action)) + " at " + std::to_string(c.current));
    Scenario s;
    LoadLibrary(s, {"s0", "s1", "s2"});
    if (c.current >= 0) {
      s.bot().form1.List3.listIndex = s.bot().form1.List2.listIndex = c.current;
      s.bot().form1.lblSong = s.bot().form1.List2.items[static_cast<std::size_t>(c.current)];
      s.t.player.Open(MusicPath(s.bot().form1.lblSong));
      s.t.player.playState = c.state;
    }
    RunMprisAction(s.bot(), c.action);
    s.Wait(2);
    EXPECT_EQ(s.Bodies(), c.bodies);
    EXPECT_EQ(s.t.player.playState, c.after);
    EXPECT_EQ(s.t.player.fileName, *c.file ? MusicPath(c.file) : "");
    EXPECT_EQ(s.bot().BusyDepth(), 0);
  }
}

TEST(MprisActions, QuitSaysGoodbyeAndAnEmptyLibraryPlaysNothing) {
  Scenario s;
  for (const MprisAction action : {MprisAction::Play, MprisAction::PlayPause, MprisAction::Next}) {
    RunMprisAction(s.bot(), action);
  }
  EXPECT_TRUE(s.t.player.opened.empty());
  EXPECT_EQ(s.Bodies(), (Lines{"> please select a directory "})) << "next answers as it does in the room";
  s.TakeBodies();
  RunMprisAction(s.bot(), MprisAction::Quit);
  s.Wait(2);
  ASSERT_EQ(s.Bodies().size(), 2u);
  EXPECT_NE(s.Bodies()[1].find("goodbye"), std::string::npos) << s.Bodies()[1];
  EXPECT_TRUE(s.bot().Ended());
  RunMprisAction(s.bot(), MprisAction::Play);
  EXPECT_EQ(s.Bodies().size(), 2u) << "nothing runs once the program has ended";
}

TEST(MprisActions, VolumeIsVolOfItsPercent) {
  const struct {
    double volume;
    const char* saved;  // nullptr: ignored
  } cases[] = {{0.5, "50"}, {1.0, "100"}, {0.004, "1"}, {0.0, "1"}, {-2, "1"}, {1.7, "100"}, {0.333, "33"}, {0.996, "100"},
               {NAN, nullptr}, {INFINITY, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.volume);
    Scenario s;
    SetMprisVolume(s.bot(), c.volume);
    if (c.saved == nullptr) {
      EXPECT_TRUE(s.Bodies().empty());
      continue;
    }
    EXPECT_EQ(s.Bodies(), (Lines{std::string("> new volume: <b>") + c.saved + "%</b> "}));
    EXPECT_EQ(s.t.settings.ReadIni("settings", "volume"), c.saved);
    EXPECT_DOUBLE_EQ(MprisVolume(s.bot()), std::stod(c.saved) / 100);
  }
}

std::string Field(std::string text, std::size_t width) {
  text.resize(width, '\0');
  return text;
}

TEST(MprisState, ReadsStatusTrackTagsAndVolume) {
  testing::TempTree tree;
  const std::string tagged = tree.Bytes(
      "tagged.mp3", std::string(300, '\xFF') + "TAG" + Field("Title", 30) + Field("Band \x1b[31m", 30) +
                        Field("Album\r\nX", 30) + "2001" + Field("", 30) + '\x0c');
  const std::string untagged = tree.Bytes("plain.mp3", std::string(400, '\0'));
  const struct {
    std::string file;
    PlayStateValue state;
    std::string volume;
    const char* status;
    std::string artist, album;
    double expectedVolume;
  } cases[] = {
      {"", PlayStateValue::Stopped, "", "Stopped", "", "", 1.0},
      {tagged, PlayStateValue::Playing, "50", "Playing", "Band [31m", "AlbumX", 0.5},
      {tagged, PlayStateValue::Paused, " 7 ", "Paused", "Band [31m", "AlbumX", 0.07},
      {untagged, PlayStateValue::Stopped, "150", "Stopped", "", "", 1.0},
      {untagged, PlayStateValue::Playing, "loud", "Playing", "", "", 1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + c.status);
    Scenario s;
    Form1& f = s.bot().form1;
    f.List3.items = {"/elsewhere.mp3", c.file};
    f.List3.listIndex = 1;
    f.lblSong = "song\tname";
    s.t.player.fileName = c.file;
    s.t.player.playState = c.state;
    s.t.player.duration = 61.25;
    s.t.settings.WriteIni("settings", "volume", c.volume);
    const MprisState state = ReadMprisState(s.bot(), nullptr);
    EXPECT_EQ(state.playbackStatus, c.status);
    EXPECT_DOUBLE_EQ(state.volume, c.expectedVolume);
    EXPECT_TRUE(state.canPlay && state.canGoNext);
    EXPECT_EQ(state.canPause, c.state != PlayStateValue::Stopped && !c.file.empty());
    ASSERT_EQ(state.track.has_value(), !c.file.empty());
    if (!state.track) continue;
    EXPECT_EQ(*state.track, (MprisTrack{2, c.file, "songname", c.artist, c.album, 61'250'000}));
    // The library rebuilt under the song: it is no longer numbered, and a
    // later reading of the same file takes the tag it already read.
    f.List3.Clear();
    MprisState stale = state;
    stale.track->artist = "remembered";
    const MprisState again = ReadMprisState(s.bot(), &stale);
    EXPECT_EQ(again.track->number, 0);
    EXPECT_EQ(again.track->artist, "remembered");
    EXPECT_FALSE(again.canGoNext);
  }
}

}  // namespace
}  // namespace wavecrest
