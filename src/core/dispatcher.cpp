#include "core/dispatcher.h"

#include "core/bot.h"
#include "core/text.h"

namespace wavecrest {
namespace {

bool ConditionHolds(ExtraCondition condition, std::string_view extension, std::string_view argument) {
  switch (condition) {
    case ExtraCondition::None:
      return true;
    case ExtraCondition::SixCharacters:
      return CodePointCount(argument) == 6;
    case ExtraCondition::ExtIsMp3:
      return extension == "mp3";
    case ExtraCondition::ExtIsWav:
      return extension == "wav";
    case ExtraCondition::ExtIsWma:
      return extension == "wma";
  }
  return false;
}

bool KeyEquals(const CommandEntry& entry, std::string_view trigger, std::string_view word) {
  if (entry.trigger == TriggerUse::Never) return word == entry.word;
  return word.size() == trigger.size() + entry.word.size() && word.starts_with(trigger) &&
         word.substr(trigger.size()) == entry.word;
}

}  // namespace

std::string_view FirstWord(std::string_view line) { return line.substr(0, line.find(' ')); }

std::optional<Dispatch> MatchCommand(std::span<const CommandEntry> table, std::string_view trigger,
                                     std::string_view extension, std::string_view lowerLine) {
  const std::string_view word = FirstWord(lowerLine);
  for (const CommandEntry& entry : table) {
    if (!KeyEquals(entry, trigger, word)) continue;
    switch (entry.form) {
      case MatchForm::Exact:
        if (lowerLine != word || !ConditionHolds(entry.condition, extension, {})) return std::nullopt;
        return Dispatch{&entry, std::string(lowerLine)};
      case MatchForm::Argument: {
        if (lowerLine == word) return std::nullopt;
        const std::string_view argument = lowerLine.substr(word.size() + 1);
        if (RemoveSpaces(argument).empty()) return std::nullopt;
        if (!ConditionHolds(entry.condition, extension, argument)) return std::nullopt;
        return Dispatch{&entry, std::string(argument)};
      }
      case MatchForm::WholeLine:
        return Dispatch{&entry, std::string(lowerLine)};
    }
  }
  return std::nullopt;
}

void DispatchChatLine(Bot& bot, const std::string& speaker, const std::string& text) {
  if (bot.Ended()) return;
  if (RemoveSpaces(LowerCase(speaker)) != RemoveSpaces(LowerCase(bot.form1.Text1))) return;
  const std::string line = LowerCase(text);
  bot.form1.Trig = LowerCase(bot.form1.Trig);
  const auto dispatch = MatchCommand(bot.commandTable, bot.form1.Trig, bot.form1.lblExt, line);
  if (!dispatch || dispatch->entry->handler == nullptr) return;
  const BusyScope busy(bot.busyDepth);
  dispatch->entry->handler(bot, dispatch->input);
  bot.mainView.Refresh();
}

}  // namespace wavecrest
