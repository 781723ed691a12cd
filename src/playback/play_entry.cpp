#include "playback/play_entry.h"

#include "core/bot.h"
#include "core/pause.h"
#include "core/reply.h"
#include "trackinfo/format.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace wavecrest {
namespace {

// Selecting -1 clears a list's selection; a row past its end cannot be
// selected and leaves the selection as it was.
void Select(ListBox& list, int row) {
  if (row == -1 || list.HasRow(row)) list.listIndex = row;
}

}  // namespace

std::string Announcement(const std::string& word, int n, const std::string& name) {
  return word + std::to_string(n) + " - <b>" + name + "</b> ";
}

bool PlayEntry(Bot& bot, int p, const std::string& word, CallerKind kind) {
  Select(bot.form1.List3, p);
  Select(bot.form1.List2, p);

  // No file is opened for a position without an entry: the one loaded plays on.
  const std::string path = bot.form1.List3.RowText(p);
  if (!path.empty()) bot.player.Open(path);

  bot.form1.lblSong = bot.form1.List2.RowText(p);
  bot.mainView.Refresh();
  if (kind == CallerKind::PlayModeTimer && bot.form1.lblSong.empty()) return false;

  const bool announced = !SilentPlay(bot.form1);
  if (announced) SendReply(bot, Announcement(word, p + 1, bot.form1.lblSong));

  if (kind == CallerKind::MatchesWindow) {
    bot.form2.visible = false;
    bot.matchesView.Refresh();
  }

  WaitSeconds(bot.loop, 1);

  // Read after the wait: a nested PlayEntry may have started another entry.
  // The length is counted first because counting lets events run too.
  const std::string length = FormatTime(bot.player, bot.loop);
  bot.form1.lblSong2 = "*** " + bot.form1.List2.SelectedText() + " (" + length + ") ";
  bot.mainView.Refresh();
  return announced;
}

int NextPosition(const ListBox& library) {
  const int current = library.listIndex;
  return current < 0 || current + 1 >= library.ListCount() ? 0 : current + 1;
}

int RandomIndex(Bot& bot, int n) {
  if (n <= 0) return 0;
  // Reseeded from the clock (to the millisecond) on every draw.
  const double now = bot.loop.SecondsSinceMidnight();
  std::mt19937 generator(static_cast<std::uint32_t>(std::llround(now * 1000.0)));
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double r = unit(generator);
  const int index = static_cast<int>(std::floor(n * r));
  return std::clamp(index, 0, n - 1);
}

void List2_Click(Bot& bot) {
  bot.form1.List2.toolTipText = bot.form1.List2.SelectedText();
  bot.mainView.Refresh();
}

void List2_DblClick(Bot& bot) {
  PlayEntry(bot, bot.form1.List2.listIndex, "> playing #", CallerKind::LibraryList);
}

void ClickLibraryRow(Bot& bot, int row) {
  if (bot.form1.List2.HasRow(row)) bot.form1.List2.listIndex = row;
  List2_Click(bot);
}

void DoubleClickLibraryRow(Bot& bot, int row) {
  if (bot.form1.List2.HasRow(row)) bot.form1.List2.listIndex = row;
  List2_DblClick(bot);
}

}  // namespace wavecrest
