#pragma once

// Commands that tell the room about the system itself or end it, and the
// command list of the main window.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;
struct LocalDateTime;

// Empties List1 and files in the lines of the Bot's command table with the
// current trigger and extension (42 lines: the three count words share one;
// two more with the network's words, one more when the run streams).
void BuildCommandList(Bot& bot);

// "sunday, 06 december 2026" (the names in the language of now.timeLocale,
// lower-cased) and "9:05 pm".
std::string CurrentDateText(const LocalDateTime& now);
std::string CurrentTimeText(const LocalDateTime& now);

CommandResult TrigQueryCommand(Bot& bot, const std::string& input);  // .trig?
CommandResult ExitCommand(Bot& bot, const std::string& input);
CommandResult AdvCommand(Bot& bot, const std::string& input);
CommandResult ComsCommand(Bot& bot, const std::string& input);
CommandResult DateQueryCommand(Bot& bot, const std::string& input);  // date?
CommandResult TimeQueryCommand(Bot& bot, const std::string& input);  // time?

// The version banner every start and every goodbye begins with.
inline constexpr const char* kBannerBody = "> wavecr<u>e</u>st system <i>" WAVECREST_VERSION "</i> - by - quillon ";

}  // namespace wavecrest
