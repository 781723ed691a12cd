#include "commands/status.h"

#include "core/event_loop.h"
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavecrest {
namespace {

using testing::Scenario;
using Lines = std::vector<std::string>;

TEST(TrigQuery, AnswersWithTheTriggerOrNone) {
  Scenario s;
  s.MemberSays(".trig?");
  s.bot().form1.Trig = "!";
  s.MemberSays("!.trig?");
  s.MemberSays(".trig?");
  EXPECT_EQ(s.Bodies(), (Lines{"> current trigger: <b>none</b> ", "> current trigger: <b>!</b> "}));
}

TEST(Exit, SaysGoodbyeAfterThePauseAndEnds) {
  Scenario s;
  s.bot().form1.lblHandle = "dj bob";
  s.bot().form1.lblLoad = "12";
  s.bot().form2.loaded = s.bot().form2.visible = true;
  s.bot().form2.List1.items = {"a", "b"};
  const double before = s.t.loop.Now();
  s.MemberSays("exit");
  EXPECT_FALSE(s.bot().form2.visible);
  EXPECT_FALSE(s.bot().form2.loaded);
  EXPECT_TRUE(s.bot().form2.List1.items.empty());
  EXPECT_EQ(s.Bodies(), (Lines{"> wavecr<u>e</u>st system <i>0.0.8</i> - by - quillon ",
                               "> goodbye - <b>dj bob</b>, aol - <b>9.0</b>, off - <b>12</b> "}));
  EXPECT_GE(s.t.loop.Now() - before, 0.5);
  EXPECT_TRUE(s.bot().Ended());
  s.MemberSays(".trig?");  // nothing answers after the end
  EXPECT_EQ(s.Bodies().size(), 2u);
}

TEST(Exit, ACommandDuringItsPauseRunsBeforeTheEnd) {
  Scenario s;
  s.t.loop.Post([&] { s.MemberSays("time?"); });
  s.MemberSays("exit");
  const auto bodies = s.Bodies();
  ASSERT_EQ(bodies.size(), 3u);
  EXPECT_EQ(bodies[1].substr(0, 16), "> current time: ");
}

TEST(Adv, TwoLinesWithThePauseBetween) {
  Scenario s;
  s.bot().downloadHost = "example.net";
  s.MemberSays("adv");
  EXPECT_EQ(s.Bodies(), (Lines{"> wavecr<u>e</u>st system <i>0.0.8</i> for <b>AOL 4-9</b> ",
                               "> download this @ <b>example.net</b> "}));
}

TEST(Coms, RefusesToHideWithoutAScreenName) {
  const struct {
    const char* screenName;
    bool hides;
  } cases[] = {{"screen name here", false}, {"ab", false}, {"Screen  Name Here", false}, {"   ", false},
               {"Some One", true},          {"abc", true}};
  for (const auto& c : cases) {
    Scenario s;
    s.bot().form1.Text1 = c.screenName;
    s.OtherSays(c.screenName, "coms");
    EXPECT_EQ(s.bot().form1.visible, !c.hides) << c.screenName;
    if (c.hides) {
      EXPECT_EQ(s.Bodies(), (Lines{"> command list and/or mp3s list hidden "})) << c.screenName;
      EXPECT_TRUE(s.t.mainView.messageBoxes.empty());
    } else {
      EXPECT_TRUE(s.Bodies().empty()) << c.screenName;
      EXPECT_EQ(s.t.mainView.messageBoxes,
                (Lines{"Interface Error: Please enter your current AOL Screen Name in the box below!"}))
          << c.screenName;
    }
  }
}

TEST(Coms, ShowingCountsCommandsAndLibrary) {
  Scenario s;
  s.bot().form1.lblExt = "wav";
  BuildCommandList(s.bot());
  s.bot().form1.List2.items.assign(120, "song");
  s.bot().form1.visible = false;
  s.MemberSays("coms");
  EXPECT_TRUE(s.bot().form1.visible);
  EXPECT_EQ(s.Bodies(), (Lines{"> viewing <b>42</b> commands, and <b>120</b> wavs "}));
}

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(BuildCommandList, CarriesTriggerAndExtensionInSortedOrder) {
  Scenario s;
  s.bot().form1.Trig = "!";
  s.bot().form1.lblExt = "wma";
  BuildCommandList(s.bot());
  const Lines& items = s.bot().form1.List1.items;
  ASSERT_EQ(items.size(), 42u);
  EXPECT_TRUE(Contains(items, "!adv [advertise this program]"));
  EXPECT_TRUE(Contains(items, ".trig? [default command to get trigger]"));
  EXPECT_TRUE(Contains(items, "!wmas [get total wma count from directory]"));
  EXPECT_TRUE(Contains(items, "!ext x [set file extension, x as 'mp3, wav, or wma'"));
  EXPECT_EQ(items.front(), "!adv [advertise this program]");  // "!" sorts before "."
  EXPECT_EQ(items.back(), ".trig? [default command to get trigger]");

  s.bot().form1.Trig = "";
  BuildCommandList(s.bot());
  const Lines& plain = s.bot().form1.List1.items;
  EXPECT_TRUE(Contains(plain, "wmas [get total wma count from directory]"));
  // Case-insensitive, punctuation-aware order: "date?" before "dir x", "vol x" before "vol?".
  const auto at = [&](const std::string& prefix) {
    return std::find_if(plain.begin(), plain.end(), [&](const std::string& l) { return l.starts_with(prefix); }) -
           plain.begin();
  };
  EXPECT_LT(at("adv"), at("coms"));
  EXPECT_LT(at("date?"), at("dir x"));
  EXPECT_LT(at("si "), at("skip"));
  EXPECT_LT(at("p x"), at("pause"));
}

TEST(TimeAndDate, AreWrittenAsTheRoomReadsThem) {
  const struct {
    int hour, minute;
    const char* text;
  } times[] = {{21, 5, "9:05 pm"}, {0, 5, "12:05 am"}, {0, 30, "12:30 am"}, {10, 0, "10:00 am"},
               {12, 0, "12:00 pm"}, {23, 59, "11:59 pm"}};
  for (const auto& c : times) {
    LocalDateTime now;
    now.hour = c.hour;
    now.minute = c.minute;
    EXPECT_EQ(CurrentTimeText(now), c.text);
  }
  LocalDateTime day;
  day.year = 2026;
  day.month = 12;
  day.day = 6;
  day.weekday = 0;
  EXPECT_EQ(CurrentDateText(day), "sunday, 06 december 2026");
  day.month = 3;
  day.day = 19;
  day.weekday = 4;
  EXPECT_EQ(CurrentDateText(day), "thursday, 19 march 2026");
}

TEST(TimeAndDate, TheDateIsToldInTheLanguageOfTheTimeLocale) {
  const struct {
    const char* locale;
    const char* date;  // Sunday, 6 December 2026
  } cases[] = {{"de_DE.UTF-8", "sonntag, 06 dezember 2026"},  {"fr_FR.UTF-8", "dimanche, 06 décembre 2026"},
               {"ru_RU.UTF-8", "воскресенье, 06 декабря 2026"}, {"es_ES@euro", "domingo, 06 diciembre 2026"},
               {"C", "sunday, 06 december 2026"},             {"POSIX", "sunday, 06 december 2026"},
               {"C.UTF-8", "sunday, 06 december 2026"},       {"", "sunday, 06 december 2026"}};
  for (const auto& c : cases) {
    const LocalDateTime day{2026, 12, 6, 0, 21, 5, 0, c.locale};
    EXPECT_EQ(CurrentDateText(day), c.date) << c.locale;
  }
}

TEST(TimeAndDate, CommandsReadTheLoopsClock) {
  Scenario s;  // the virtual clock starts at noon on Sunday, 6 December 2026
  s.MemberSays("date?");
  s.MemberSays("time?");
  EXPECT_EQ(s.Bodies(), (Lines{"> current date: <b>sunday, 06 december 2026</b> ", "> current time: <b>12:00 pm</b> "}));
}

}  // namespace
}  // namespace wavecrest
