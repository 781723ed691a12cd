#include "library/matches.h"

#include "core/bot.h"
#include "core/pause.h"
#include "core/reply.h"
#include "playback/play_entry.h"

#include <charconv>
#include <optional>

namespace wavecrest {
namespace {

// Generations are unique for the whole run, so a window unloaded (0) and
// filled again never repeats the number an older scroll is holding.
unsigned long long NextGeneration() {
  static unsigned long long last = 0;
  return ++last;
}

std::optional<int> Position(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

void Refresh(Bot& bot) {
  bot.matchesView.Refresh();
  bot.mainView.Refresh();
}

}  // namespace

void FillMatchesWindow(Bot& bot) {
  Form2& window = bot.form2;
  if (!window.visible) {
    if (!window.loaded) {
      window = Form2{};  // a window loaded anew starts idle
      window.loaded = true;
    }
    window.visible = true;
  }
  window.caption = "double-click to play " + bot.form1.lblExt;
  window.List1.Clear();
  window.List1.toolTipText.clear();
  ListBox& matches = bot.form1.List4;
  ListBox& library = bot.form1.List2;
  for (int j = 0; j < matches.ListCount(); ++j) {
    matches.listIndex = j;
    const auto p = Position(matches.RowText(j));
    // A row that names no entry still gets a row here, so that row j of
    // both lists keeps describing the same match.
    if (p && library.HasRow(*p)) library.listIndex = *p;
    window.List1.items.push_back(p ? library.RowText(*p) : std::string());
  }
  window.generation = NextGeneration();
  window.Command1Enabled = true;
  window.Command2Enabled = false;
  Refresh(bot);
}

void List1_Click(Bot& bot) {
  if (!bot.form2.loaded) return;
  bot.form2.List1.toolTipText = bot.form2.List1.SelectedText();
  bot.matchesView.Refresh();
}

bool List1_DblClick(Bot& bot) {
  if (!bot.form2.loaded) return false;
  const int row = bot.form2.List1.listIndex;
  if (!bot.form2.List1.HasRow(row) || !bot.form1.List4.HasRow(row)) return false;
  bot.form1.List4.listIndex = row;
  const auto p = Position(bot.form1.List4.RowText(row));
  if (!p) return false;
  const std::string name = bot.form2.List1.RowText(row);
  // The library may have been rebuilt since the window was filled.
  if (!bot.form1.List3.HasRow(*p) || bot.form1.List2.RowText(*p) != name) return false;
  PlayEntry(bot, *p, "> playing #", CallerKind::MatchesWindow);
  return true;
}

void Command1_Click(Bot& bot) {
  if (!bot.form2.loaded || !bot.form2.Command1Enabled) return;  // a disabled button takes no click
  bot.form2.Command1Enabled = false;
  bot.form2.Command2Enabled = true;
  bot.matchesView.Refresh();
  const unsigned long long generation = bot.form2.generation;
  const int rows = bot.form2.List1.ListCount();
  for (int j = 0; j < rows; ++j) {
    const Form2& window = bot.form2;
    if (!window.Command2Enabled || window.generation != generation || !window.List1.HasRow(j)) return;
    SendReply(bot, "> " + std::to_string(j + 1) + " - <b>" + window.List1.RowText(j) + "</b> ");
    WaitSeconds(bot.loop, 1);
  }
  // A window filled again or closed meanwhile has its own buttons.
  if (bot.form2.generation != generation) return;
  bot.form2.Command1Enabled = true;
  bot.form2.Command2Enabled = false;
  bot.matchesView.Refresh();
}

void Command2_Click(Bot& bot) {
  if (!bot.form2.loaded) return;
  bot.form2.Command2Enabled = false;
  bot.form2.Command1Enabled = true;
  bot.matchesView.Refresh();
}

void Command3_Click(Bot& bot) {
  if (!bot.form2.loaded) return;
  bot.form2 = Form2{};
  bot.matchesView.Refresh();
}

void ClickMatchesRow(Bot& bot, int row) {
  if (!bot.form2.visible) return;
  if (bot.form2.List1.HasRow(row)) bot.form2.List1.listIndex = row;
  List1_Click(bot);
}

bool DoubleClickMatchesRow(Bot& bot, int row) {
  if (!bot.form2.visible) return false;
  if (bot.form2.List1.HasRow(row)) bot.form2.List1.listIndex = row;
  return List1_DblClick(bot);
}

}  // namespace wavecrest
