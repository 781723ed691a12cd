#include "core/calendar_names.h"

#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace wavecrest {
namespace {

// The language part of an environment locale name: "de_DE.UTF-8@euro" is
// de_DE to ICU. C and POSIX mean no language: English.
icu::Locale LocaleOf(std::string_view localeName) {
  const std::string_view language = localeName.substr(0, localeName.find_first_of(".@"));
  if (language.empty() || language == "C" || language == "POSIX") return icu::Locale::getEnglish();
  return icu::Locale(std::string(language).c_str());
}

enum class Names { Weekdays, Months };

// Entry `index` of the locale's full (wide) names as a date uses them; ICU
// counts weekdays from 1 = Sunday and months from 0 = January.
std::string Name(Names names, int index, std::string_view localeName) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::DateFormatSymbols symbols(LocaleOf(localeName), status);
  if (U_FAILURE(status)) return {};
  int32_t count = 0;
  const icu::UnicodeString* list =
      names == Names::Weekdays
          ? symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE)
          : symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  if (list == nullptr || index < 0 || index >= count) return {};
  std::string name;
  list[index].toUTF8String(name);
  return name;
}

}  // namespace

std::string WeekdayName(int weekday, std::string_view localeName) {
  if (weekday < 0 || weekday > 6) return {};
  return Name(Names::Weekdays, weekday + 1, localeName);
}

std::string MonthName(int month, std::string_view localeName) {
  if (month < 1 || month > 12) return {};
  return Name(Names::Months, month - 1, localeName);
}

}  // namespace wavecrest
