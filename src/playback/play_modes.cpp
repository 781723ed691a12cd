#include "playback/play_modes.h"

#include "core/bot.h"
#include "playback/play_entry.h"

namespace wavecrest {

bool SongEnded(Bot& bot) {
  const auto position = bot.player.CurrentPosition();
  const auto duration = bot.player.Duration();
  if (!position || !duration) return true;
  return *position == *duration;
}

void tmrCon_Timer(Bot& bot) {
  if (!SongEnded(bot)) return;
  PlayEntry(bot, RandomIndex(bot, bot.form1.List3.ListCount()), "> continuous #", CallerKind::PlayModeTimer);
}

void tmrOrder_Timer(Bot& bot) {
  if (!SongEnded(bot)) return;
  PlayEntry(bot, NextPosition(bot.form1.List3), "> order #", CallerKind::PlayModeTimer);
}

void tmrRep_Timer(Bot& bot) {
  if (!SongEnded(bot)) return;
  PlayEntry(bot, bot.form1.List3.listIndex, "> repeat #", CallerKind::PlayModeTimer);
}

}  // namespace wavecrest
