#include "core/dispatcher.h"

#include "core/bot.h"
#include "core/diagnostics.h"
#include "core/reply.h"
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

// What matching a line came to: the dispatch, or why there is none and, when
// the first word was a key, whose test the line failed.
struct Outcome {
  std::optional<Dispatch> dispatch;
  NoCommand why = NoCommand::UnknownWord;
  const CommandEntry* entry = nullptr;
};

Outcome Fails(NoCommand why, const CommandEntry& entry) { return Outcome{std::nullopt, why, &entry}; }

Outcome Match(std::span<const CommandEntry> table, std::string_view trigger, std::string_view extension,
              std::string_view lowerLine) {
  const std::string_view word = FirstWord(lowerLine);
  for (const CommandEntry& entry : table) {
    if (!KeyEquals(entry, trigger, word)) continue;
    switch (entry.form) {
      case MatchForm::Exact:
        if (lowerLine != word) return Fails(NoCommand::TextAfterWord, entry);
        if (!ConditionHolds(entry.condition, extension, {})) return Fails(NoCommand::OtherExtension, entry);
        return Outcome{Dispatch{&entry, std::string(lowerLine)}};
      case MatchForm::Argument: {
        if (lowerLine == word) return Fails(NoCommand::NoArgument, entry);
        const std::string_view argument = lowerLine.substr(word.size() + 1);
        if (RemoveSpaces(argument).empty()) return Fails(NoCommand::NoArgument, entry);
        if (!ConditionHolds(entry.condition, extension, argument)) return Fails(NoCommand::NotSixCharacters, entry);
        return Outcome{Dispatch{&entry, std::string(argument)}};
      }
      case MatchForm::WholeLine:
        return Outcome{Dispatch{&entry, std::string(lowerLine)}};
    }
  }
  if (trigger.empty()) return {};
  for (const CommandEntry& entry : table) {
    if (entry.trigger == TriggerUse::Prefixed && word == entry.word) return Fails(NoCommand::TriggerMissing, entry);
  }
  return {};
}

// How every note about a member's line that got no answer begins.
std::string NoAnswerTo(std::string_view line) { return "no answer to \"" + std::string(line) + "\": "; }

// The note --verbose shows for a member's line the dispatcher dropped.
std::string NoAnswerNote(const Outcome& outcome, std::string_view trigger, std::string_view extension,
                         std::string_view line) {
  std::string note = NoAnswerTo(line);
  const std::string word = outcome.entry ? std::string(outcome.entry->word) : std::string(FirstWord(line));
  switch (outcome.why) {
    case NoCommand::UnknownWord:
      return note + "\"" + word + "\" is no command" +
             (trigger.empty() ? "" : " (the trigger is \"" + std::string(trigger) + "\")");
    case NoCommand::TriggerMissing:
      return note + "the trigger is missing: say \"" + std::string(trigger) + word + "\"";
    case NoCommand::TextAfterWord:
      return note + "\"" + word + "\" takes nothing after it";
    case NoCommand::NoArgument:
      return note + "\"" + word + "\" needs something after a space";
    case NoCommand::NotSixCharacters:
      return note + "\"" + word + "\" takes exactly 6 characters (a colour such as ff0000)";
    case NoCommand::OtherExtension:
      return note + "\"" + word + "\" is answered only while the extension is " + word.substr(0, 3) +
             " (it is " + std::string(extension) + ")";
  }
  return note;
}

}  // namespace

std::string_view FirstWord(std::string_view line) { return line.substr(0, line.find(' ')); }

std::optional<Dispatch> MatchCommand(std::span<const CommandEntry> table, std::string_view trigger,
                                     std::string_view extension, std::string_view lowerLine) {
  return Match(table, trigger, extension, lowerLine).dispatch;
}

std::optional<NoCommand> WhyNoCommand(std::span<const CommandEntry> table, std::string_view trigger,
                                      std::string_view extension, std::string_view lowerLine) {
  const Outcome outcome = Match(table, trigger, extension, lowerLine);
  if (outcome.dispatch) return std::nullopt;
  return outcome.why;
}

bool IsScreenNameInBox(const Form1& form, std::string_view speaker) {
  return RemoveSpaces(LowerCase(speaker)) == RemoveSpaces(LowerCase(form.Text1));
}

bool IsMembersLine(const OwnerRule& rule, const Form1& form, const Speaker& speaker) {
  if (speaker.source != LineSource::kRoom) return IsScreenNameInBox(form, speaker.name);
  if (rule.account) return speaker.account && LowerCase(*speaker.account) == LowerCase(*rule.account);
  if (speaker.mask == MaskCheck::kFailed) return false;
  if (speaker.mask == MaskCheck::kNoMask && rule.roomSpeakers == RoomSpeakers::kOnlyVouched) return false;
  return IsScreenNameInBox(form, speaker.name);
}

namespace {

void HandleChatLine(Bot& bot, const Speaker& speaker, const std::string& text) {
  if (bot.Ended()) return;
  // Other people's lines fail the owner check, and so do the member's while
  // the box holds another name: which were the member's only the front-end
  // knows, so it is the one that says why those got no answer.
  if (!IsMembersLine(bot.ownerRule, bot.form1, speaker)) return;
  const std::string line = LowerCase(text);
  bot.form1.Trig = LowerCase(bot.form1.Trig);
  const Outcome outcome = Match(bot.commandTable, bot.form1.Trig, bot.form1.lblExt, line);
  if (!outcome.dispatch) {
    // The room repeats the system's own replies: no commands, and no note is
    // wanted for them.
    if (Diagnosing() && !text.starts_with(kReplyStart)) {
      Diagnose(NoAnswerNote(outcome, bot.form1.Trig, bot.form1.lblExt, line));
    }
    return;
  }
  const Dispatch& dispatch = *outcome.dispatch;
  if (dispatch.entry->handler == nullptr) {
    if (Diagnosing()) Diagnose(NoAnswerTo(line) + "nothing answers \"" + std::string(dispatch.entry->word) + "\"");
    return;
  }
  bot.RunCounted([&bot, &dispatch, &line] {
    const CommandResult result = dispatch.entry->handler(bot, dispatch.input);
    if (!result.answered && Diagnosing()) Diagnose(NoAnswerTo(line) + result.reason);
    bot.mainView.Refresh();
  });
}

}  // namespace

void DispatchChatLine(Bot& bot, const Speaker& speaker, const std::string& text) {
  bot.TakeLine([&bot, speaker, text] { HandleChatLine(bot, speaker, text); });
}

void DispatchChatLine(Bot& bot, const std::string& speaker, const std::string& text) {
  DispatchChatLine(bot, Speaker{speaker}, text);
}

}  // namespace wavecrest
