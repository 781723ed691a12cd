#include "commands/idle.h"

#include "core/bot.h"
#include "core/numbers.h"
#include "core/reply.h"

namespace wavecrest {

std::string IdleTimeText(const std::string& hours, const std::string& minutes) {
  const auto m = WholeNumber(minutes);
  return hours + ":" + (m && *m < 10 ? "0" : "") + minutes;
}

CommandResult IdleCommand(Bot& bot, const std::string& reason) {
  if (bot.tmrIdle->Enabled()) {
    return Refused("already idle (reason \"" + bot.form1.lblReason + "\"): idleoff ends it first");
  }
  bot.tmrIdle->SetEnabled(true);
  bot.form1.lblReason = reason;
  SendReply(bot, "> " + bot.form1.lblHandle + " is going <b>idle</b> ");
  bot.chat.SetAway(reason);
  return Answered();
}

CommandResult IdleoffCommand(Bot& bot, const std::string&) {
  if (!bot.tmrIdle->Enabled()) return Refused("idle is not on");
  bot.tmrIdle->SetEnabled(false);
  bot.chat.SetAway("");
  SendReply(bot, "> <b>idle</b> off, " + bot.form1.lblHandle + " idled for <b>" +
                     IdleTimeText(bot.form1.lblHour, bot.form1.lblMins) + "</b> ");
  bot.form1.lblMins = "0";
  bot.form1.lblHour = "0";
  return Answered();
}

void tmrIdle_Timer(Bot& bot) {
  // A count that is not a number is left as it is, and the tick goes on.
  if (const auto m = WholeNumber(bot.form1.lblMins)) bot.form1.lblMins = std::to_string(*m + 1);
  if (bot.form1.lblMins == "60") {
    if (const auto h = WholeNumber(bot.form1.lblHour)) bot.form1.lblHour = std::to_string(*h + 1);
    bot.form1.lblMins = "0";
  }
  SendReply(bot, "> wavecr<u>e</u>st - idle: <b>" + IdleTimeText(bot.form1.lblHour, bot.form1.lblMins) +
                     "</b> - reason: <b>" + bot.form1.lblReason + "</b> ");
}

}  // namespace wavecrest
