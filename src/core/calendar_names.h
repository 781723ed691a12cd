#pragma once

// Weekday and month names in the person's language, as the date is told in
// the room. The language is a locale name as the environment gives it
// ("de_DE.UTF-8", "fr_FR", "C"); the names come from ICU's own data, so a
// language needs no locale generated on the machine.

#include <string>
#include <string_view>

namespace wavecrest {

// The full name of weekday 0 (Sunday) … 6 and of month 1 … 12, as a date
// writes them ("Sonntag", "Dezember"); English for an empty locale name, C and
// POSIX. Empty for a number out of range.
std::string WeekdayName(int weekday, std::string_view localeName);
std::string MonthName(int month, std::string_view localeName);

}  // namespace wavecrest
