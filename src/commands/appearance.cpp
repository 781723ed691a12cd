#include "commands/appearance.h"

#include "commands/status.h"
#include "core/bot.h"
#include "core/reply.h"
#include "core/settings_keys.h"
#include "core/text.h"

namespace wavecrest {
namespace {

struct ValueCommand {
  std::string Form1::*label;
  Setting setting;
  const char* lead;
};

// Set the label, save it, then confirm in the new look.
CommandResult SetValue(Bot& bot, const ValueCommand& command, const std::string& argument) {
  bot.form1.*command.label = argument;
  bot.WriteSetting(SettingKey(command.setting), argument);
  return Answer(bot, command.lead + argument + "</b> ");
}

// Saves the trigger and refiles the command list, whose lines carry it.
void SetTrigger(Bot& bot, const std::string& saved, const std::string& trigger) {
  bot.WriteSetting(SettingKey(Setting::Trigger), saved);
  bot.form1.Trig = trigger;
  BuildCommandList(bot);
}

}  // namespace

CommandResult FontCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblFont, Setting::Font, "> new font: <b>"}, a);
}
CommandResult FcolorCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblColor, Setting::Color, "> new font color: <b>"}, a);
}
CommandResult FasciiCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblFrontAscii, Setting::FrontAscii, "> new front ascii: <b>"}, a);
}
CommandResult FafontCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblFrontAsciiFont, Setting::FrontAsciiFont, "> new front ascii font: <b>"}, a);
}
CommandResult FacolorCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblFrontAsciiColor, Setting::FrontAsciiColor, "> new front ascii color: #<b>"}, a);
}
CommandResult EasciiCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblEndAscii, Setting::EndAscii, "> new end ascii: <b>"}, a);
}
CommandResult EafontCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblEndAsciiFont, Setting::EndAsciiFont, "> new end ascii font: <b>"}, a);
}
CommandResult EacolorCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblEndAsciiColor, Setting::EndAsciiColor, "> new end ascii color: #<b>"}, a);
}
CommandResult HandleCommand(Bot& bot, const std::string& a) {
  return SetValue(bot, {&Form1::lblHandle, Setting::Handle, "> new handle: <b>"}, a);
}

CommandResult TrigCommand(Bot& bot, const std::string& argument) {
  if (argument == "none") {
    SetTrigger(bot, "none", "");
    return Answer(bot, "> new trigger: <b>none</b> ");
  }
  if (CodePointCount(argument) >= 2) return Answer(bot, "> trigger is invalid, must be within <b>1</b> character ");
  SetTrigger(bot, argument, argument);
  return Answer(bot, "> new trigger: <b>" + bot.form1.Trig + "</b> ");
}

}  // namespace wavecrest
