#include "commands/startup.h"

#include "commands/status.h"
#include "core/bot.h"
#include "core/dispatcher.h"
#include "core/numbers.h"
#include "core/pause.h"
#include "core/reply.h"
#include "library/scan.h"

namespace wavecrest {
namespace {

// Settings read at start-up, in order, with the value used when the file
// yields nothing. The screen name is not here: it goes through Text1.
struct StartValue {
  const char* key;
  std::string Form1::*label;
  const char* whenEmpty;  // nullptr: stays empty
};

constexpr StartValue kStartValues[] = {
    {"handle", &Form1::lblHandle, "new user"},
    {"front ascii", &Form1::lblFrontAscii, ".·•×"},
    {"front ascii font", &Form1::lblFrontAsciiFont, "times new roman"},
    {"front ascii color", &Form1::lblFrontAsciiColor, "0000ff"},
    {"end ascii", &Form1::lblEndAscii, "×•·."},
    {"end ascii font", &Form1::lblEndAsciiFont, "times new roman"},
    {"end ascii color", &Form1::lblEndAsciiColor, "0000ff"},
    {"font", &Form1::lblFont, "times new roman"},
    {"color", &Form1::lblColor, "000000"},
    {"load", &Form1::lblLoad, "0"},
    {"directory", &Form1::lblDir, nullptr},
    {"ext", &Form1::lblExt, "mp3"},
};

void LoadSettings(Bot& bot) {
  for (const StartValue& v : kStartValues) bot.form1.*v.label = bot.ReadSetting(v.key);
  bot.SetText1(bot.ReadSetting("screen name"));
  for (const StartValue& v : kStartValues) {
    if (v.whenEmpty != nullptr && (bot.form1.*v.label).empty()) bot.form1.*v.label = v.whenEmpty;
  }
  if (bot.form1.Text1.empty()) bot.SetText1(kScreenNamePlaceholder);
}

void LayOutScreenName(Form1& form) {
  if (form.Text1 == kScreenNamePlaceholder) {
    form.Label1Visible = true;
    return;
  }
  // The prompt is hidden and the box and the bar take the room it leaves.
  form.Label1Visible = false;
  form.Text1Place = Twips{1210, 1620, 1575, 315};
  form.Picture1Place = Twips{2840, 1620, 1330, 315};
}

void ApplySavedVolume(Bot& bot) {
  std::string volume = bot.ReadSetting("volume");
  if (volume.empty()) volume = "100";
  if (const auto v = DecimalNumber(volume)) bot.player.SetVolume(VolumeForPercent(*v));
}

}  // namespace

void Form_Load(Bot& bot) {
  LoadSettings(bot);

  if (bot.instanceLock.AnotherInstanceRunning()) {
    SendReply(bot, "> wavecr<u>e</u>st system is currently running... ");
    bot.End();
    return;
  }

  const std::string trigger = bot.ReadSetting("trigger");
  bot.form1.Trig = trigger == "none" ? "" : trigger;
  BuildCommandList(bot);
  ScanLibrary(bot);
  LayOutScreenName(bot.form1);

  // Count this start; a count that is not a number is written back unchanged.
  if (const auto load = WholeNumber(bot.form1.lblLoad)) bot.form1.lblLoad = std::to_string(*load + 1);
  bot.WriteSetting("load", bot.form1.lblLoad);

  SendReply(bot, kBannerBody);
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> welcome - <b>" + bot.form1.lblHandle + "</b>, aol - <b>" + bot.chat.AolVersion() +
                     "</b>, on - <b>" + bot.form1.lblLoad + "</b> ");

  bot.scanner.Start([&bot](const std::string& speaker, const std::string& text) {
    DispatchChatLine(bot, speaker, text);
  });
  bot.form1.caption = std::string(kCaptionBase) + " - " + bot.form1.lblExt;
  ApplySavedVolume(bot);
  bot.Timer1->SetEnabled(true);
  bot.form1.visible = true;
  bot.mainView.Refresh();
}

}  // namespace wavecrest
