#include "commands/appearance.h"

#include "commands/status.h"
#include "core/bot.h"
#include "core/reply.h"
#include "core/text.h"

namespace wavecrest {
namespace {

struct ValueCommand {
  std::string Form1::*label;
  const char* settingsKey;
  const char* lead;
};

// Set the label, save it, then confirm in the new look.
void SetValue(Bot& bot, const ValueCommand& command, const std::string& argument) {
  bot.form1.*command.label = argument;
  bot.WriteSetting(command.settingsKey, argument);
  SendReply(bot, command.lead + argument + "</b> ");
}

}  // namespace

void FontCommand(Bot& bot, const std::string& a) { SetValue(bot, {&Form1::lblFont, "font", "> new font: <b>"}, a); }
void FcolorCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblColor, "color", "> new font color: <b>"}, a);
}
void FasciiCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblFrontAscii, "front ascii", "> new front ascii: <b>"}, a);
}
void FafontCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblFrontAsciiFont, "front ascii font", "> new front ascii font: <b>"}, a);
}
void FacolorCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblFrontAsciiColor, "front ascii color", "> new front ascii color: #<b>"}, a);
}
void EasciiCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblEndAscii, "end ascii", "> new end ascii: <b>"}, a);
}
void EafontCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblEndAsciiFont, "end ascii font", "> new end ascii font: <b>"}, a);
}
void EacolorCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblEndAsciiColor, "end ascii color", "> new end ascii color: #<b>"}, a);
}
void HandleCommand(Bot& bot, const std::string& a) {
  SetValue(bot, {&Form1::lblHandle, "handle", "> new handle: <b>"}, a);
}

void TrigCommand(Bot& bot, const std::string& argument) {
  if (argument == "none") {
    bot.WriteSetting("trigger", "none");
    bot.form1.Trig.clear();
    BuildCommandList(bot);
    SendReply(bot, "> new trigger: <b>none</b> ");
    return;
  }
  if (CodePointCount(argument) >= 2) {
    SendReply(bot, "> trigger is invalid, must be within <b>1</b> character ");
    return;
  }
  bot.WriteSetting("trigger", argument);
  bot.form1.Trig = argument;
  BuildCommandList(bot);
  SendReply(bot, "> new trigger: <b>" + bot.form1.Trig + "</b> ");
}

}  // namespace wavecrest
