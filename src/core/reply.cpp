#include "core/reply.h"

#include "core/bot.h"

namespace wavecrest {

std::string ComposeReply(const Form1& form, std::string_view body) {
  std::string line;
  line.reserve(96 + body.size() + form.lblFrontAscii.size() + form.lblEndAscii.size());
  line.append(kReplyStart).append("<font face=\"").append(form.lblFrontAsciiFont);
  line.append("\" color=#").append(form.lblFrontAsciiColor);
  line.append(">").append(form.lblFrontAscii);
  line.append("<font face=\"").append(form.lblFont);
  line.append("\" color=#").append(form.lblColor);
  line.append(body);
  line.append("<font face=\"").append(form.lblEndAsciiFont);
  line.append("\" color=#").append(form.lblEndAsciiColor);
  line.append(">").append(form.lblEndAscii);
  return line;
}

void SendReply(Bot& bot, std::string_view body) {
  // Once the program has ended nothing more is said, even by work (a scroll,
  // a pause) that was still unwinding when it ended.
  if (bot.Ended()) return;
  bot.chat.ChatSend(ComposeReply(bot.form1, body));
  const Bot::LineHold hold(bot);
  bot.chat.AwaitTurn();
}

CommandResult Answer(Bot& bot, std::string_view body) {
  SendReply(bot, body);
  return Answered();
}

}  // namespace wavecrest
