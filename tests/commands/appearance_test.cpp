#include "commands/appearance.h"

#include "support/scenario.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::Scenario;
using Lines = std::vector<std::string>;

TEST(AppearanceCommands, StoreSaveAndConfirmInTheNewLook) {
  const struct {
    const char* line;
    std::string Form1::*label;
    const char* key;
    const char* value;
    const char* body;
    const char* lookInLine;  // how the confirmation already wears the new value
  } cases[] = {
      {"fcolor FF0000", &Form1::lblColor, "color", "ff0000", "> new font color: <b>ff0000</b> ",
       "color=#ff0000> new font color"},
      {"font Times New Roman", &Form1::lblFont, "font", "times new roman", "> new font: <b>times new roman</b> ",
       "<font face=\"times new roman\" color=#000000> new font"},
      {"fascii *~*", &Form1::lblFrontAscii, "front ascii", "*~*", "> new front ascii: <b>*~*</b> ",
       "color=#0000ff>*~*<font"},
      {"fascii ABC", &Form1::lblFrontAscii, "front ascii", "abc", "> new front ascii: <b>abc</b> ", ">abc<font"},
      {"fafont Arial", &Form1::lblFrontAsciiFont, "front ascii font", "arial",
       "> new front ascii font: <b>arial</b> ", "<font face=\"arial\" color=#0000ff>"},
      {"facolor 00ff00", &Form1::lblFrontAsciiColor, "front ascii color", "00ff00",
       "> new front ascii color: #<b>00ff00</b> ", "color=#00ff00>.·•×"},
      {"eascii  spaced ", &Form1::lblEndAscii, "end ascii", " spaced ", "> new end ascii: <b> spaced </b> ",
       "color=#0000ff> spaced "},
      {"eafont Comic Sans", &Form1::lblEndAsciiFont, "end ascii font", "comic sans",
       "> new end ascii font: <b>comic sans</b> ", "<font face=\"comic sans\" color=#0000ff>×•·."},
      {"eacolor zzzzzz", &Form1::lblEndAsciiColor, "end ascii color", "zzzzzz",
       "> new end ascii color: #<b>zzzzzz</b> ", "color=#zzzzzz>×•·."},
      {"handle DJ Bob", &Form1::lblHandle, "handle", "dj bob", "> new handle: <b>dj bob</b> ", "dj bob"},
  };
  for (const auto& c : cases) {
    Scenario s;
    s.MemberSays(c.line);
    EXPECT_EQ(s.bot().form1.*c.label, c.value) << c.line;
    EXPECT_EQ(s.bot().ReadSetting(c.key), c.value) << c.line;
    ASSERT_EQ(s.t.chat.lines.size(), 1u) << c.line;
    EXPECT_EQ(s.Bodies()[0], c.body) << c.line;
    EXPECT_NE(s.t.chat.lines[0].find(c.lookInLine), std::string::npos) << c.line << "\n" << s.t.chat.lines[0];
  }
}

TEST(AppearanceCommands, NewKeysAreWrittenInUpperCase) {
  Scenario s;
  s.MemberSays("fcolor ff0000");
  EXPECT_EQ(s.t.settings.content, "[settings]\nCOLOR=ff0000\n");
}

TEST(AppearanceCommands, ColoursOfTheWrongLengthChangeNothing) {
  Scenario s;
  s.MemberSays("fcolor ff00f");
  s.MemberSays("fcolor ff00ff0");
  EXPECT_TRUE(s.t.chat.lines.empty());
  EXPECT_EQ(s.bot().form1.lblColor, "000000");
  EXPECT_EQ(s.t.settings.content, "");
}

TEST(AppearanceCommands, AFailedSaveStillChangesTheLookForThisRun) {
  Scenario s;
  s.t.settings.failWrites = true;
  s.MemberSays("font arial");
  EXPECT_EQ(s.bot().form1.lblFont, "arial");
  EXPECT_EQ(s.Bodies(), (Lines{"> new font: <b>arial</b> "}));
}

TEST(Trig, SetsChecksAndRemovesTheTrigger) {
  Scenario s;
  s.MemberSays("trig !");
  EXPECT_EQ(s.bot().ReadSetting("trigger"), "!");
  EXPECT_EQ(s.bot().form1.List1.items.front(), "!adv [advertise this program]");
  s.MemberSays("p xyz");     // now an ordinary chat line
  s.MemberSays("!trig ab");  // too long
  EXPECT_EQ(s.bot().form1.Trig, "!");
  s.MemberSays("!trig none");
  EXPECT_EQ(s.bot().ReadSetting("trigger"), "none");
  EXPECT_EQ(s.bot().form1.Trig, "");
  s.MemberSays("trig é");  // one character, even when it takes two bytes
  EXPECT_EQ(s.bot().form1.Trig, "é");
  EXPECT_EQ(s.Bodies(), (Lines{"> new trigger: <b>!</b> ", "> trigger is invalid, must be within <b>1</b> character ",
                               "> new trigger: <b>none</b> ", "> new trigger: <b>é</b> "}));
}

}  // namespace
}  // namespace wavecrest
