#pragma once

// Commands that tell the room about the system itself or end it, and the
// command list of the main window.

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

void TrigQueryCommand(Bot& bot, const std::string& input);  // .trig?
void ExitCommand(Bot& bot, const std::string& input);
void AdvCommand(Bot& bot, const std::string& input);
void ComsCommand(Bot& bot, const std::string& input);
void DateQueryCommand(Bot& bot, const std::string& input);  // date?
void TimeQueryCommand(Bot& bot, const std::string& input);  // time?

// The version banner every start and every goodbye begins with.
inline constexpr const char* kBannerBody = "> wavecr<u>e</u>st system <i>" WAVECREST_VERSION "</i> - by - quillon ";

}  // namespace wavecrest
