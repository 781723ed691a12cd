#pragma once

// The front door: every line said in the room passes here. Lines from anyone
// but the member are dropped; the member's lines are lower-cased, their first
// word looked up in the command table, and handed to the one handler that
// owns that word.

#include "core/chat_scanner.h"
#include "core/command_result.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wavecrest {

class Bot;
struct Form1;
struct OwnerRule;

// How an entry accepts a line whose first word equals its key.
enum class MatchForm {
  Exact,      // the whole line equals the key
  Argument,   // the key, a space, and an argument with a non-space character
  WholeLine,  // the handler parses the line itself
};

// A test made here before the handler is called.
enum class ExtraCondition { None, SixCharacters, ExtIsMp3, ExtIsWav, ExtIsWma };

// Whether the key is the trigger followed by the word, or the word alone.
enum class TriggerUse { Prefixed, Never };

using CommandHandler = CommandResult (*)(Bot& bot, const std::string& input);

struct CommandEntry {
  std::string_view word;
  MatchForm form;
  ExtraCondition condition;
  TriggerUse trigger;
  CommandHandler handler;  // nullptr: the word is known and nothing answers it
  // The entry's line in the main window's command list, without the trigger;
  // kExtensionMark stands for the current extension.
  std::string_view help;
};

inline constexpr std::string_view kExtensionMark = "{ext}";

// The entry a member line goes to and what its handler receives: the argument
// for the argument form, the whole lower-cased line otherwise.
struct Dispatch {
  const CommandEntry* entry;
  std::string input;
};

// Matches an already lower-cased line against `table`, walked in order; the
// first entry whose key equals the first word decides. Nothing when the line
// is no command or fails that entry's test.
std::optional<Dispatch> MatchCommand(std::span<const CommandEntry> table, std::string_view trigger,
                                     std::string_view extension, std::string_view lowerLine);

// Why MatchCommand gives nothing for a line.
enum class NoCommand {
  UnknownWord,       // the first word is no key
  TriggerMissing,    // it is a command word, said without the trigger
  TextAfterWord,     // an exact-form word with more after it
  NoArgument,        // an argument-form word with nothing (or only spaces) after it
  NotSixCharacters,  // a colour word whose argument is not 6 characters long
  OtherExtension,    // mp3s, wavs or wmas while another extension is current
};

// Why `lowerLine` reaches no handler; nothing when MatchCommand dispatches it.
std::optional<NoCommand> WhyNoCommand(std::span<const CommandEntry> table, std::string_view trigger,
                                      std::string_view extension, std::string_view lowerLine);

// The first word: the line up to its first space (empty when it begins with one).
std::string_view FirstWord(std::string_view line);

// The owner check: whether `speaker` is the screen name in the box, case and
// spaces ignored on both sides.
bool IsScreenNameInBox(const Form1& form, std::string_view speaker);

// The owner check: whether `speaker`'s line is the member's. Lines typed
// here, or by the member's own identity on another client, are the member's
// when the screen name they were said under is the one in the box. Other
// lines: with an owner account, exactly those the network says come from
// it; otherwise those said under the box's name, less those failing the
// owner mask, and less all that the network cannot vouch for when the
// member is in the room in person.
bool IsMembersLine(const OwnerRule& rule, const Form1& form, const Speaker& speaker);

// Handles one line of the room (the chat scanner's line event), nesting
// bounded (Bot::TakeLine). A line of the member's that gets no answer is
// never answered in the room; with a diagnostic sink set, a note says why,
// whether the dispatcher dropped it or its handler refused it (the system's
// own replies pass without one).
void DispatchChatLine(Bot& bot, const Speaker& speaker, const std::string& text);
// The same for a line said by someone in the room under `speaker`.
void DispatchChatLine(Bot& bot, const std::string& speaker, const std::string& text);

}  // namespace wavecrest
