#include "library/matches.h"

#include "playback/music_library.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::Scenario;
using Lines = std::vector<std::string>;

// A library whose search "song" finds `matches` entries, shown in the window.
void Search(Scenario& s, int matches) {
  std::vector<std::string> names = {"intro"};
  for (int i = 1; i <= matches; ++i) names.push_back("song " + std::to_string(i));
  names.push_back("zzz outro");
  LoadLibrary(s, names);
  s.MemberSays("p song");
  s.TakeBodies();
}

TEST(MatchesWindow, FillLoadsShowsAndLinesUpRowsWithPositions) {
  Scenario s;
  Search(s, 3);
  const Form2& m = s.bot().form2;
  EXPECT_TRUE(m.loaded && m.visible);
  EXPECT_EQ(m.caption, "double-click to play mp3");
  EXPECT_EQ(m.List1.items, (Lines{"song 1", "song 2", "song 3"}));
  EXPECT_EQ(s.bot().form1.List4.items, (Lines{"1", "2", "3"}));
  EXPECT_TRUE(m.Command1Enabled);
  EXPECT_FALSE(m.Command2Enabled);
}

TEST(MatchesWindow, ScrollPostsEveryRowNumberedFromOneASecondApart) {
  Scenario s;
  Search(s, 3);
  std::vector<double> times;
  s.t.chat.onSend = [&] { times.push_back(s.t.loop.Now()); };
  Command1_Click(s.bot());
  EXPECT_EQ(s.Bodies(), (Lines{"> 1 - <b>song 1</b> ", "> 2 - <b>song 2</b> ", "> 3 - <b>song 3</b> "}));
  ASSERT_EQ(times.size(), 3u);
  EXPECT_NEAR(times[1] - times[0], 1.0, 0.5);
  EXPECT_NEAR(times[2] - times[1], 1.0, 0.5);
  EXPECT_TRUE(s.bot().form2.Command1Enabled);
  EXPECT_FALSE(s.bot().form2.Command2Enabled);
}

TEST(MatchesWindow, WhatEndsARunningScrollDuringTheWaitAfterRowOne) {
  const struct {
    const char* name;
    void (*action)(Scenario&);
    Lines posted;
    bool scrollEnabledAfter;
  } cases[] = {
      {"stop scroll", [](Scenario& s) { Command2_Click(s.bot()); }, {"> 1 - <b>song 1</b> "}, true},
      {"exit button", [](Scenario& s) { Command3_Click(s.bot()); }, {"> 1 - <b>song 1</b> "}, true},
      {"exit command", [](Scenario& s) { s.MemberSays("exit"); }, {"> 1 - <b>song 1</b> "}, true},
      {"refilled by a new search",
       [](Scenario& s) { s.MemberSays("p song 1"); },  // "song 1", "song 10"
       {"> 1 - <b>song 1</b> "},
       true},
      // After the program has ended (the console's /quit) nothing more is said.
      {"the program ends", [](Scenario& s) { s.bot().End(); }, {"> 1 - <b>song 1</b> "}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    Search(s, 10);
    int sent = 0;
    s.t.chat.onSend = [&] {
      if (++sent == 1) s.t.loop.Post([&s, &c] { c.action(s); });
    };
    Command1_Click(s.bot());
    const Lines bodies = s.Bodies();
    ASSERT_GE(bodies.size(), 1u);
    EXPECT_EQ(bodies[0], c.posted[0]);
    for (std::size_t i = 1; i < bodies.size(); ++i) {
      EXPECT_EQ(bodies[i].find("> 2 - "), std::string::npos) << bodies[i];
    }
    EXPECT_EQ(s.bot().form2.Command1Enabled, c.scrollEnabledAfter);
    EXPECT_FALSE(s.bot().form2.Command2Enabled);
  }
}

TEST(MatchesWindow, StopAfterRowOneOfFivePostsOnlyRowOne) {
  Scenario s;
  Search(s, 5);
  s.t.chat.onSend = [&] {
    if (s.t.chat.lines.size() == 1) s.t.loop.Post([&] { Command2_Click(s.bot()); });
  };
  Command1_Click(s.bot());
  s.Wait(10);
  EXPECT_EQ(s.Bodies(), (Lines{"> 1 - <b>song 1</b> "}));
}

TEST(MatchesWindow, ASecondScrollCannotStartWhileOneRuns) {
  Scenario s;
  Search(s, 2);
  s.t.chat.onSend = [&] {
    if (s.t.chat.lines.size() == 1) s.t.loop.Post([&] { Command1_Click(s.bot()); });
  };
  Command1_Click(s.bot());
  EXPECT_EQ(s.Bodies(), (Lines{"> 1 - <b>song 1</b> ", "> 2 - <b>song 2</b> "}));
}

TEST(MatchesWindow, DoubleClickOnRowTwoPlaysItsLibraryEntryAndHides) {
  Scenario s;
  Search(s, 3);
  DoubleClickMatchesRow(s.bot(), 1);
  EXPECT_EQ(s.Bodies(), (Lines{"> playing #3 - <b>song 2</b> "}));
  EXPECT_EQ(s.t.player.fileName, MusicPath("song 2"));
  EXPECT_EQ(s.bot().form1.List3.listIndex, 2);
  EXPECT_EQ(s.bot().form1.List4.listIndex, 1);
  EXPECT_FALSE(s.bot().form2.visible);
  EXPECT_TRUE(s.bot().form2.loaded);  // hidden, rows kept
  EXPECT_EQ(s.bot().form2.List1.ListCount(), 3);
  EXPECT_EQ(s.bot().form1.lblSong2, "*** song 2 (3:00) ");
}

TEST(MatchesWindow, DoubleClickInSilentModePlaysAndHidesWithoutAWord) {
  Scenario s;
  Search(s, 2);
  s.bot().form1.lblSi = "on";
  DoubleClickMatchesRow(s.bot(), 0);
  EXPECT_TRUE(s.Bodies().empty());
  EXPECT_EQ(s.t.player.fileName, MusicPath("song 1"));
  EXPECT_FALSE(s.bot().form2.visible);
}

TEST(MatchesWindow, DoubleClicksThatPlayNothing) {
  const struct {
    const char* name;
    void (*setUp)(Scenario&);
    int row;
  } cases[] = {
      {"no row selected", [](Scenario&) {}, 5},
      {"library rebuilt under the window", [](Scenario& s) { LoadLibrary(s, {"intro", "other 1", "other 2"}); }, 0},
      {"library shrunk under the window", [](Scenario& s) { LoadLibrary(s, {"intro"}); }, 1},
      {"window unloaded", [](Scenario& s) { Command3_Click(s.bot()); }, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    Search(s, 2);
    c.setUp(s);
    DoubleClickMatchesRow(s.bot(), c.row);
    EXPECT_TRUE(s.Bodies().empty());
    EXPECT_TRUE(s.t.player.opened.empty());
    EXPECT_EQ(s.bot().form1.lblSong, "");
  }
}

TEST(MatchesWindow, DirAndRefRefuseWhileShownAndWorkOnceHidden) {
  Scenario s;
  Search(s, 2);
  s.MemberSays("ref");
  EXPECT_EQ(s.TakeBodies(), (Lines{"> make a selection, or close the matches window "}));
  DoubleClickMatchesRow(s.bot(), 0);
  s.TakeBodies();
  s.MemberSays("ref");
  EXPECT_NE(s.TakeBodies().front(), "> make a selection, or close the matches window ");
}

TEST(MatchesWindow, ClickSetsTheTooltipOnly) {
  Scenario s;
  Search(s, 3);
  ClickMatchesRow(s.bot(), 2);
  EXPECT_EQ(s.bot().form2.List1.toolTipText, "song 3");
  EXPECT_TRUE(s.t.player.opened.empty());
  EXPECT_TRUE(s.bot().form2.visible);
}

TEST(MatchesWindow, ExitUnloadsKeepsList4AndTheNextSearchLoadsItIdle) {
  Scenario s;
  Search(s, 3);
  s.bot().form2.Command1Enabled = false;
  Command3_Click(s.bot());
  EXPECT_FALSE(s.bot().form2.loaded);
  EXPECT_TRUE(s.bot().form2.List1.items.empty());
  EXPECT_EQ(s.bot().form1.List4.ListCount(), 3);
  s.MemberSays("p song");
  EXPECT_TRUE(s.bot().form2.loaded && s.bot().form2.visible);
  EXPECT_TRUE(s.bot().form2.Command1Enabled);
  EXPECT_EQ(s.bot().form2.List1.ListCount(), 3);
}

}  // namespace
}  // namespace wavecrest
