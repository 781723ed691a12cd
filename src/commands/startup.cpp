#include "commands/startup.h"

#include "commands/status.h"
#include "core/bot.h"
#include "core/dispatcher.h"
#include "core/numbers.h"
#include "core/pause.h"
#include "core/reply.h"
#include "core/settings_keys.h"
#include "library/scan.h"

namespace wavecrest {
namespace {

// Settings read at start-up into the window's labels, in order; each starts
// from its start value when the file yields nothing. The screen name is not
// here: it goes through Text1.
struct LabelSetting {
  Setting setting;
  std::string Form1::*label;
};

constexpr LabelSetting kStartValues[] = {
    {Setting::Handle, &Form1::lblHandle},
    {Setting::FrontAscii, &Form1::lblFrontAscii},
    {Setting::FrontAsciiFont, &Form1::lblFrontAsciiFont},
    {Setting::FrontAsciiColor, &Form1::lblFrontAsciiColor},
    {Setting::EndAscii, &Form1::lblEndAscii},
    {Setting::EndAsciiFont, &Form1::lblEndAsciiFont},
    {Setting::EndAsciiColor, &Form1::lblEndAsciiColor},
    {Setting::Font, &Form1::lblFont},
    {Setting::Color, &Form1::lblColor},
    {Setting::Load, &Form1::lblLoad},
    {Setting::Directory, &Form1::lblDir},
    {Setting::Extension, &Form1::lblExt},
};

void LoadSettings(Bot& bot) {
  for (const LabelSetting& v : kStartValues) bot.form1.*v.label = bot.ReadSetting(SettingKey(v.setting));
  bot.SetText1(bot.ReadSetting(SettingKey(Setting::ScreenName)));
  for (const LabelSetting& v : kStartValues) {
    if ((bot.form1.*v.label).empty()) bot.form1.*v.label = StartValue(v.setting);
  }
  if (bot.form1.Text1.empty()) bot.SetText1(std::string(StartValue(Setting::ScreenName)));
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
  if (const auto v = DecimalNumber(ReadSettingOrStart(bot, Setting::Volume))) bot.player.SetVolume(VolumeForPercent(*v));
}

}  // namespace

void Form_Load(Bot& bot) {
  LoadSettings(bot);

  if (bot.instanceLock.AnotherInstanceRunning()) {
    SendReply(bot, "> wavecr<u>e</u>st system is currently running... ");
    bot.End();
    return;
  }

  const std::string trigger = bot.ReadSetting(SettingKey(Setting::Trigger));
  bot.form1.Trig = trigger == "none" ? "" : trigger;
  BuildCommandList(bot);
  ScanLibrary(bot);
  LayOutScreenName(bot.form1);

  // Count this start; a count that is not a number is written back unchanged.
  if (const auto load = WholeNumber(bot.form1.lblLoad)) bot.form1.lblLoad = std::to_string(*load + 1);
  bot.WriteSetting(SettingKey(Setting::Load), bot.form1.lblLoad);

  SendReply(bot, kBannerBody);
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> welcome - <b>" + bot.form1.lblHandle + "</b>, aol - <b>" + bot.chat.AolVersion() +
                     "</b>, on - <b>" + bot.form1.lblLoad + "</b> ");

  bot.scanner.Start([&bot](const Speaker& speaker, const std::string& text) {
    DispatchChatLine(bot, speaker, text);
  });
  bot.form1.caption = std::string(kCaptionBase) + " - " + bot.form1.lblExt;
  ApplySavedVolume(bot);
  bot.Timer1->SetEnabled(true);
  bot.form1.visible = true;
  bot.mainView.Refresh();
}

}  // namespace wavecrest
