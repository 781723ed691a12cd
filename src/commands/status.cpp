#include "commands/status.h"

#include "commands/command_table.h"
#include "core/bot.h"
#include "core/calendar_names.h"
#include "core/collation.h"
#include "core/pause.h"
#include "core/reply.h"
#include "core/text.h"

#include <algorithm>
#include <cstdio>

namespace wavecrest {

void BuildCommandList(Bot& bot) {
  std::vector<std::string> items;
  for (const CommandEntry& entry : bot.commandTable) {
    std::string line = CommandListLine(entry, bot.form1.Trig, bot.form1.lblExt);
    // Words that share a line (the three count words) are listed once.
    if (std::find(items.begin(), items.end(), line) == items.end()) items.push_back(std::move(line));
  }
  // List1 is a sorted list box: each line is filed at its sorted place.
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

CommandResult TrigQueryCommand(Bot& bot, const std::string&) {
  const std::string trigger = bot.form1.Trig.empty() ? "none" : bot.form1.Trig;
  return Answer(bot, "> current trigger: <b>" + trigger + "</b> ");
}

CommandResult ExitCommand(Bot& bot, const std::string&) {
  if (bot.form2.visible) {
    bot.form2 = Form2{};  // closed and unloaded: its rows are gone
    bot.matchesView.Refresh();
  }
  SendReply(bot, kBannerBody);
  WaitSeconds(bot.loop, 1);
  SendReply(bot, "> goodbye - <b>" + bot.form1.lblHandle + "</b>, aol - <b>" + bot.chat.AolVersion() +
                     "</b>, off - <b>" + bot.form1.lblLoad + "</b> ");
  bot.End();
  return Answered();
}

CommandResult AdvCommand(Bot& bot, const std::string&) {
  SendReply(bot, "> wavecr<u>e</u>st system <i>" WAVECREST_VERSION "</i> for <b>AOL 4-9</b> ");
  WaitSeconds(bot.loop, 1);
  return Answer(bot, "> download this @ <b>" + bot.downloadHost + "</b> ");
}

CommandResult ComsCommand(Bot& bot, const std::string&) {
  if (!bot.form1.visible) {
    bot.form1.visible = true;
    bot.mainView.Refresh();
    return Answer(bot, "> viewing <b>" + std::to_string(bot.form1.List1.ListCount()) + "</b> commands, and <b>" +
                          std::to_string(bot.form1.List2.ListCount()) + "</b> " + bot.form1.lblExt + "s ");
  }
  const std::string& s = bot.form1.Text1;
  const std::string squeezed = LowerCase(RemoveSpaces(s));
  if (CodePointCount(s) < 3 || squeezed.empty() || squeezed == "screennamehere") {
    std::string why = "the screen-name box holds no screen name (\"" + s +
                      "\"): the window stays, and a message box asks for one";
    bot.mainView.MessageBox("Please enter your current AOL Screen Name in the box below!", "Interface Error");
    return Refused(std::move(why));
  }
  bot.form1.visible = false;
  bot.mainView.Refresh();
  return Answer(bot, "> command list and/or " + bot.form1.lblExt + "s list hidden ");
}

CommandResult DateQueryCommand(Bot& bot, const std::string&) {
  return Answer(bot, "> current date: <b>" + CurrentDateText(bot.loop.LocalNow()) + "</b> ");
}

CommandResult TimeQueryCommand(Bot& bot, const std::string&) {
  return Answer(bot, "> current time: <b>" + CurrentTimeText(bot.loop.LocalNow()) + "</b> ");
}

}  // namespace wavecrest
