#include "commands/modes.h"

#include "core/bot.h"
#include "core/reply.h"

#include <memory>

namespace wavecrest {
namespace {

using TimerSlot = std::unique_ptr<Timer> Bot::*;

// Turning a mode on says so first and then switches the timers, so the mode
// being replaced may still start a song while the reply is sent.
CommandResult ToggleMode(Bot& bot, TimerSlot own, TimerSlot other1, TimerSlot other2, const std::string& name) {
  if (!(bot.*own)->Enabled()) {
    SendReply(bot, "> " + name + " play: <b>on</b> ");
    (bot.*other1)->SetEnabled(false);
    (bot.*other2)->SetEnabled(false);
    (bot.*own)->SetEnabled(true);
  } else {
    (bot.*own)->SetEnabled(false);
    SendReply(bot, "> " + name + " play: <b>off</b> ");
  }
  bot.mainView.Refresh();
  return Answered();
}

}  // namespace

CommandResult ConCommand(Bot& bot, const std::string&) {
  return ToggleMode(bot, &Bot::tmrCon, &Bot::tmrOrder, &Bot::tmrRep, "continuous");
}

CommandResult OrderCommand(Bot& bot, const std::string&) {
  return ToggleMode(bot, &Bot::tmrOrder, &Bot::tmrCon, &Bot::tmrRep, "order");
}

CommandResult RepCommand(Bot& bot, const std::string&) {
  return ToggleMode(bot, &Bot::tmrRep, &Bot::tmrCon, &Bot::tmrOrder, "repeat");
}

CommandResult SiCommand(Bot& bot, const std::string&) {
  bot.form1.lblSi = SilentPlay(bot.form1) ? "off" : "on";
  bot.mainView.Refresh();
  return Answer(bot, "> silent mp3 play: <b>" + bot.form1.lblSi + "</b> ");
}

CommandResult SiQueryCommand(Bot& bot, const std::string&) {
  return Answer(bot, "> current silent mp3 play: <b>" + bot.form1.lblSi + "</b> ");
}

CommandResult ModeQueryCommand(Bot& bot, const std::string&) {
  // A player that cannot be read counts as muted and stopped.
  const std::string audio = bot.player.Mute().value_or(true) ? "mute" : "normal";
  const auto state = bot.player.PlayState();
  const std::string play = state == PlayStateValue::Paused ? "pause" : state == PlayStateValue::Playing ? "play" : "stop";
  std::string style = "none";
  if (bot.tmrCon->Enabled()) style = "continuous";
  if (bot.tmrOrder->Enabled()) style = "order";
  if (bot.tmrRep->Enabled()) style = "repeat";
  return Answer(bot, "> current media - audio: <b>" + audio + "</b>, playstate: <b>" + play + "</b>, playstyle: <b>" +
                        style + "</b> ");
}

}  // namespace wavecrest
