#include "commands/status.h"

#include "core/bot.h"
#include "core/calendar_names.h"
#include "core/collation.h"
#include "core/pause.h"
#include "core/reply.h"
#include "core/text.h"

#include <array>
#include <cstdio>

namespace wavecrest {

void BuildCommandList(Bot& bot) {
  const std::string& t = bot.form1.Trig;
  const std::string& e = bot.form1.lblExt;
  const std::array<std::string, 42> lines = {
      ".trig? [default command to get trigger]",
      t + "adv [advertise this program]",
      t + "coms [hide/view command list and/or " + e + "s list]",
      t + "con [turn continuous play on/off]",
      t + "dir x [set directory, x as path]",
      t + "dir? [get current set directory]",
      t + "eacolor x [ set end ascii color, x as 6 hex digits]",
      t + "eafont x [set end ascii font type, x as font type]",
      t + "eascii x [ set end ascii, x as ascii]",
      t + "exit [exit wavecrest system]",
      t + "facolor x [ set front ascii color, x as 6 hex digits]",
      t + "fafont x [set front ascii font type, x as font type]",
      t + "fascii x [set font ascii, x as ascii]",
      t + "fcolor x [set font color, x as 6 hex digits]",
      t + "font x [set font type, x as font type]",
      t + "handle x [set your handle, x as handle]",
      t + "id3 [get id3_v1 tag/" + e + " infos]",
      t + "idle x [turn idle on, x as reason]",
      t + "idleoff [turn idle off]",
      t + e + "s [get total " + e + " count from directory]",
      t + "mute [mute/unmute current song]",
      t + "next [play next song on " + e + " list]",
      t + "order [turn order play on/off]",
      t + "p x [play a song, x as string]",
      t + "pause [pause/unpause current song]",
      t + "prev [play previous song on " + e + " list]",
      t + "r [play a song at random]",
      t + "ref [refresh " + e + " list]",
      t + "rep [turn repeat play on/off]",
      t + "skip x [skip current song to x, x as seconds]",
      t + "song [get current song playing]",
      t + "stop [stop current song playing]",
      t + "trig x [set x as trigger, 'none' to remove]",
      t + "vol x [set volume, x as integer 1-100]",
      t + "vol? [get current set volume]",
      t + "ext? [get current set file extension]",
      t + "ext x [set file extension, x as 'mp3, wav, or wma'",
      t + "si? [get current silent mp3 play is on or off]",
      t + "si [turn silent mp3 play on/off]",
      t + "mode? [get current media modes]",
      t + "date? [get current date]",
      t + "time? [get current time]",
  };
  // List1 is a sorted list box: each line is filed at its sorted place.
  std::vector<std::string> items(lines.begin(), lines.end());
  SortForListBox(items);
  bot.form1.List1.Clear();
  bot.form1.List1.items = std::move(items);
}

std::string CurrentDateText(const LocalDateTime& now) {
  const std::string weekday = WeekdayName(now.weekday, now.timeLocale);
  const std::string month = MonthName(now.month, now.timeLocale);
  if (weekday.empty() || month.empty()) return {};
  char day[16];
  char year[16];
  std::snprintf(day, sizeof day, "%02d", now.day);
  std::snprintf(year, sizeof year, "%04d", now.year);
  return LowerCase(weekday + ", " + day + " " + month + " " + year);
}

std::string CurrentTimeText(const LocalDateTime& now) {
  const int hour12 = now.hour % 12 == 0 ? 12 : now.hour % 12;
  char text[16];
  // The leading zero of the hour is dropped: 09:05 pm reads 9:05 pm.
  std::snprintf(text, sizeof text, "%d:%02d %s", hour12, now.minute, now.hour < 12 ? "am" : "pm");
  return text;
}

void TrigQueryCommand(Bot& bot, const std::string&) {
  const std::string trigger = bot.form1.Trig.empty() ? "none" : bot.form1.Trig;
  SendReply(bot, "> current trigger: <b>" + trigger + "</b> ");
}

void ExitCommand(Bot& bot, const std::string&) {
  if (bot.form2.visible) {
    bot.form2 = Form2{};  // closed and unloaded: its rows are gone
    bot.matchesView.Refresh();
  }
  SendReply(bot, kBannerBody);
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> goodbye - <b>" + bot.form1.lblHandle + "</b>, aol - <b>" + bot.chat.AolVersion() +
                     "</b>, off - <b>" + bot.form1.lblLoad + "</b> ");
  bot.End();
}

void AdvCommand(Bot& bot, const std::string&) {
  SendReply(bot, "> wavecr<u>e</u>st system <i>" WAVECREST_VERSION "</i> for <b>AOL 4-9</b> ");
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> download this @ <b>" + bot.downloadHost + "</b> ");
}

void ComsCommand(Bot& bot, const std::string&) {
  if (!bot.form1.visible) {
    bot.form1.visible = true;
    bot.mainView.Refresh();
    SendReply(bot, "> viewing <b>" + std::to_string(bot.form1.List1.ListCount()) + "</b> commands, and <b>" +
                       std::to_string(bot.form1.List2.ListCount()) + "</b> " + bot.form1.lblExt + "s ");
    return;
  }
  const std::string& s = bot.form1.Text1;
  const std::string squeezed = LowerCase(RemoveSpaces(s));
  if (CodePointCount(s) < 3 || squeezed.empty() || squeezed == "screennamehere") {
    bot.mainView.MessageBox("Please enter your current AOL Screen Name in the box below!", "Interface Error");
    return;
  }
  bot.form1.visible = false;
  bot.mainView.Refresh();
  SendReply(bot, "> command list and/or " + bot.form1.lblExt + "s list hidden ");
}

void DateQueryCommand(Bot& bot, const std::string&) {
  SendReply(bot, "> current date: <b>" + CurrentDateText(bot.loop.LocalNow()) + "</b> ");
}

void TimeQueryCommand(Bot& bot, const std::string&) {
  SendReply(bot, "> current time: <b>" + CurrentTimeText(bot.loop.LocalNow()) + "</b> ");
}

}  // namespace wavecrest
