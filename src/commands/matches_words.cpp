#include "commands/matches_words.h"

#include "core/bot.h"
#include "core/numbers.h"
#include "core/text.h"
#include "library/matches.h"

namespace wavecrest {
namespace {

constexpr const char* kNoWindow = "there is no matches window: \"p x\" with several matches opens one";

}  // namespace

CommandResult MatchesCommand(Bot& bot, const std::string&) {
  // The scroll button takes no click without a window, nor while it runs.
  if (!bot.form2.loaded) return Refused(kNoWindow);
  if (!bot.form2.Command1Enabled) return Refused("the matches are being posted already");
  Command1_Click(bot);
  return Answered();
}

CommandResult PickCommand(Bot& bot, const std::string& input) {
  const auto row = WholeNumber(RemoveSpaces(input));
  const int rows = bot.form2.List1.ListCount();
  if (rows == 0) return Refused(kNoWindow);
  if (!row || *row < 1 || *row > rows) {
    return Refused("the matches window's rows are 1 to " + std::to_string(rows));
  }
  if (!bot.form2.visible) return Refused("the matches window is hidden: a song was picked from it already");
  // Silent mode is read as PlayEntry reads it, before anything can change it.
  const bool silent = SilentPlay(bot.form1);
  if (!DoubleClickMatchesRow(bot, static_cast<int>(*row - 1))) {
    return Refused("the library was rebuilt since the matches were found: row " + std::to_string(*row) +
                   " names none of its songs now");
  }
  if (silent) return Refused("silent mp3 play is on: the picked song is not announced");
  return Answered();
}

}  // namespace wavecrest
