#include "commands/modes.h"

#include "playback/music_library.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::Scenario;
using Lines = std::vector<std::string>;

struct Modes {
  bool con, order, rep;
  bool operator==(const Modes&) const = default;
};

Modes ModesOf(Scenario& s) {
  return {s.bot().tmrCon->Enabled(), s.bot().tmrOrder->Enabled(), s.bot().tmrRep->Enabled()};
}

TEST(ModeToggles, AtMostOneModeRunsAndEachCommandAnswersItsState) {
  const struct {
    Lines said;
    Lines bodies;
    Modes modes;
  } cases[] = {
      {{"con"}, {"> continuous play: <b>on</b> "}, {true, false, false}},
      {{"order"}, {"> order play: <b>on</b> "}, {false, true, false}},
      {{"rep"}, {"> repeat play: <b>on</b> "}, {false, false, true}},
      {{"order", "order"}, {"> order play: <b>on</b> ", "> order play: <b>off</b> "}, {false, false, false}},
      {{"con", "order"}, {"> continuous play: <b>on</b> ", "> order play: <b>on</b> "}, {false, true, false}},
      {{"rep", "con", "con"},
       {"> repeat play: <b>on</b> ", "> continuous play: <b>on</b> ", "> continuous play: <b>off</b> "},
       {false, false, false}},
      {{"con please"}, {}, {false, false, false}},
      {{"rep "}, {}, {false, false, false}},
  };
  for (const auto& c : cases) {
    Scenario s;
    for (const auto& line : c.said) s.MemberSays(line);
    EXPECT_EQ(s.Bodies(), c.bodies) << c.said.back();
    EXPECT_EQ(ModesOf(s), c.modes) << c.said.back();
  }
}

TEST(ModeToggles, RepliesIgnoreSilentModeAndNothingStartsAtOnce) {
  Scenario s;
  LoadLibrary(s, {"s0", "s1"});
  s.bot().form1.lblSi = "on";
  s.MemberSays("order");
  EXPECT_EQ(s.Bodies(), (Lines{"> order play: <b>on</b> "}));
  EXPECT_TRUE(s.t.player.opened.empty());
}

TEST(ModeQuery, NamesAudioStateAndStyle) {
  const struct {
    const char* name;
    PlayStateValue playState;
    bool mute;
    bool failReads;
    Lines modes;
    std::string body;
  } cases[] = {
      {"nothing loaded", PlayStateValue::Stopped, false, false, {}, "normal</b>, playstate: <b>stop</b>, playstyle: <b>none"},
      {"playing muted in order", PlayStateValue::Playing, true, false, {"con", "order"}, "mute</b>, playstate: <b>play</b>, playstyle: <b>order"},
      {"paused on repeat", PlayStateValue::Paused, false, false, {"rep"}, "normal</b>, playstate: <b>pause</b>, playstyle: <b>repeat"},
      {"continuous", PlayStateValue::Playing, false, false, {"con"}, "normal</b>, playstate: <b>play</b>, playstyle: <b>continuous"},
      {"a value outside the three", static_cast<PlayStateValue>(7), false, false, {}, "normal</b>, playstate: <b>stop</b>, playstyle: <b>none"},
      {"unreadable player", PlayStateValue::Playing, false, true, {}, "mute</b>, playstate: <b>stop</b>, playstyle: <b>none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    for (const auto& line : c.modes) s.MemberSays(line);
    s.TakeBodies();
    s.t.player.playState = c.playState;
    s.t.player.mute = c.mute;
    s.t.player.failReads = c.failReads;
    s.MemberSays("mode?");
    EXPECT_EQ(s.Bodies(), (Lines{"> current media - audio: <b>" + c.body + "</b> "}));
  }
}

TEST(Silent, TogglesAndReports) {
  Scenario s;
  s.MemberSays("si?");
  s.MemberSays("si");
  EXPECT_EQ(s.bot().form1.lblSi, "on");
  s.MemberSays("si?");
  s.MemberSays("si");
  s.MemberSays("si?");
  s.MemberSays("si now");
  EXPECT_EQ(s.bot().form1.lblSi, "off");
  EXPECT_EQ(s.Bodies(),
            (Lines{"> current silent mp3 play: <b>off</b> ", "> silent mp3 play: <b>on</b> ",
                   "> current silent mp3 play: <b>on</b> ", "> silent mp3 play: <b>off</b> ",
                   "> current silent mp3 play: <b>off</b> "}));
}

TEST(Silent, NothingWrittenToTheSettings) {
  Scenario s;
  for (const char* line : {"si", "con", "order", "rep", "rep"}) s.MemberSays(line);
  EXPECT_TRUE(s.t.settings.content.empty());
}

}  // namespace
}  // namespace wavecrest
