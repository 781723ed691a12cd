#include "commands/startup.h"

#include "commands/wiring.h"
#include "core/reply.h"
#include "support/scenario.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::BodyOf;
using testing::TestBot;

std::vector<std::string> Bodies(const TestBot& t) {
  std::vector<std::string> bodies;
  for (const auto& line : t.chat.lines) bodies.push_back(BodyOf(line));
  return bodies;
}

void Start(TestBot& t) {
  Form_Load(t.bot);
  t.loop.RunUntilIdle();
}

TEST(FormLoad, FirstStartWithNoSettingsFile) {
  TestBot t(CommandRoutines());
  t.chat.version = "6.0";
  Start(t);
  EXPECT_EQ(Bodies(t), (std::vector<std::string>{
                           "> wavecr<u>e</u>st system <i>0.0.8</i> - by - quillon ",
                           "> welcome - <b>new user</b>, aol - <b>6.0</b>, on - <b>1</b> "}));
  // The start-value look wraps the lines.
  EXPECT_TRUE(t.chat.lines[1].starts_with(
      "</b></u></i><font face=\"times new roman\" color=#0000ff>.·•×<font face=\"times new roman\" color=#000000>"));
  EXPECT_TRUE(t.chat.lines[1].ends_with("<font face=\"times new roman\" color=#0000ff>×•·."));
  EXPECT_TRUE(t.bot.form1.Label1Visible);
  EXPECT_EQ(t.bot.form1.caption, "wavecrest system - 0.0.8 - mp3");
  EXPECT_EQ(t.bot.form1.List1.ListCount(), 42);
  EXPECT_EQ(t.bot.ReadSetting("load"), "1");
  EXPECT_EQ(t.bot.ReadSetting("screen name"), "screen name here");
  EXPECT_EQ(t.bot.ReadSetting("handle"), "");  // start values are not written
  EXPECT_EQ(t.scanner.starts, 1);
  EXPECT_TRUE(t.bot.Timer1->Enabled());
  EXPECT_FALSE(t.bot.tmrCon->Enabled() || t.bot.tmrOrder->Enabled() || t.bot.tmrRep->Enabled() ||
               t.bot.tmrIdle->Enabled());
}

TEST(FormLoad, TheWelcomeComesAboutOneSecondAfterTheBanner) {
  TestBot t(CommandRoutines());
  Form_Load(t.bot);
  // Form_Load returns only after its pause: the clock moved between the lines.
  EXPECT_GE(t.loop.Now(), 12 * 3600.0 + 1.0);
  EXPECT_EQ(t.chat.lines.size(), 2u);
}

TEST(FormLoad, EachStartRaisesTheCount) {
  TestBot first(CommandRoutines());
  Start(first);
  TestBot second(CommandRoutines());
  second.settings.content = first.settings.content;
  Start(second);
  EXPECT_EQ(BodyOf(second.chat.lines.back()), "> welcome - <b>new user</b>, aol - <b>9.0</b>, on - <b>2</b> ");
  EXPECT_EQ(second.bot.ReadSetting("load"), "2");
}

TEST(FormLoad, StoredSettingsAreLoaded) {
  TestBot t(CommandRoutines());
  t.settings.content =
      "[Settings]\nhandle=DJ Bob\nscreen name=Some One\ntrigger=!\nfont=arial\nload=41\next=wav\nvolume=40\n";
  Start(t);
  const Form1& f = t.bot.form1;
  EXPECT_EQ(f.lblHandle, "DJ Bob");
  EXPECT_EQ(f.Trig, "!");
  EXPECT_EQ(f.lblFont, "arial");
  EXPECT_EQ(f.lblLoad, "42");
  EXPECT_EQ(f.caption, "wavecrest system - 0.0.8 - wav");
  EXPECT_FALSE(f.Label1Visible);
  EXPECT_EQ(f.Text1Place, (Twips{1210, 1620, 1575, 315}));
  EXPECT_EQ(f.Picture1Place, (Twips{2840, 1620, 1330, 315}));
  EXPECT_EQ(t.player.volume, -1500);
}

TEST(FormLoad, TriggerNoneAndVolumeStartValues) {
  const struct {
    const char* settings;
    const char* trigger;
    std::optional<int> volume;
  } cases[] = {
      {"[settings]\ntrigger=none\n", "", 0},
      {"[settings]\ntrigger=!\nvolume=1\n", "!", -2475},
      {"[settings]\nvolume=50\n", "", -1250},
      {"[settings]\nvolume=loud\n", "", std::nullopt},  // not a number: the step is skipped
  };
  for (const auto& c : cases) {
    TestBot t(CommandRoutines());
    t.settings.content = c.settings;
    Start(t);
    EXPECT_EQ(t.bot.form1.Trig, c.trigger) << c.settings;
    EXPECT_EQ(t.player.volume, c.volume) << c.settings;
  }
}

TEST(FormLoad, ANonNumericCountIsWrittenBackUnchanged) {
  TestBot t(CommandRoutines());
  t.settings.content = "[settings]\nload=many\n";
  Start(t);
  EXPECT_EQ(t.bot.ReadSetting("load"), "many");
  EXPECT_EQ(BodyOf(t.chat.lines.back()), "> welcome - <b>new user</b>, aol - <b>9.0</b>, on - <b>many</b> ");
}

TEST(FormLoad, ASecondInstanceOnlySaysSoAndEnds) {
  TestBot t(CommandRoutines());
  t.settings.content = "[settings]\nload=7\n";
  t.instanceLock.otherRunning = true;
  Start(t);
  EXPECT_EQ(Bodies(t), (std::vector<std::string>{"> wavecr<u>e</u>st system is currently running... "}));
  EXPECT_TRUE(t.bot.Ended());
  EXPECT_EQ(t.bot.ReadSetting("load"), "7");
  EXPECT_EQ(t.scanner.starts, 0);
}

TEST(Text1Change, EveryChangeIsSaved) {
  TestBot t;
  t.bot.SetText1("Some One");
  EXPECT_EQ(t.bot.ReadSetting("screen name"), "Some One");
  t.bot.SetText1("");
  EXPECT_EQ(t.bot.ReadSetting("screen name"), "");
}

}  // namespace
}  // namespace wavecrest
