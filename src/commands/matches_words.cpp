#include "commands/matches_words.h"

#include "core/bot.h"
#include "core/numbers.h"
#include "core/text.h"
#include "library/matches.h"

namespace wavecrest {

void MatchesCommand(Bot& bot, const std::string&) { Command1_Click(bot); }

void PickCommand(Bot& bot, const std::string& input) {
  const auto row = WholeNumber(RemoveSpaces(input));
  if (!row || *row < 1 || *row > bot.form2.List1.ListCount()) return;
  DoubleClickMatchesRow(bot, static_cast<int>(*row - 1));
}

}  // namespace wavecrest
