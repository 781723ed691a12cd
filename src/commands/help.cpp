#include "commands/help.h"

#include "commands/command_table.h"
#include "core/bot.h"
#include "core/text.h"

#include <algorithm>

namespace wavecrest {
namespace {

// The word a command answers to now: the count words all stand for the
// current extension's.
std::string ShownWord(const CommandEntry& entry, std::string_view extension) {
  if (entry.condition == ExtraCondition::ExtIsMp3 || entry.condition == ExtraCondition::ExtIsWav ||
      entry.condition == ExtraCondition::ExtIsWma) {
    return std::string(extension) + "s";
  }
  return std::string(entry.word);
}

}  // namespace

std::string PrivateHelpText(const Bot& bot, std::string_view word) {
  const Form1& form = bot.form1;
  const std::string trigger = LowerCase(form.Trig);
  if (word.empty()) {
    std::vector<std::string> words;
    for (const CommandEntry& entry : bot.commandTable) {
      std::string shown = ShownWord(entry, form.lblExt);
      if (std::find(words.begin(), words.end(), shown) == words.end()) words.push_back(std::move(shown));
    }
    std::string text = "commands:";
    for (const std::string& w : words) text += " " + w;
    if (!trigger.empty()) text += " (say them after the trigger " + trigger + ")";
    return text + "; help WORD tells more";
  }
  std::string asked = LowerCase(std::string(word));
  if (!trigger.empty() && asked.starts_with(trigger) && asked != ".trig?") asked.erase(0, trigger.size());
  for (const CommandEntry& entry : bot.commandTable) {
    if (ShownWord(entry, form.lblExt) == asked) return CommandListLine(entry, trigger, form.lblExt);
  }
  return "no command " + asked + "; help lists them";
}

}  // namespace wavecrest
