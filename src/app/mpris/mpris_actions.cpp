#include "app/mpris/mpris_actions.h"

#include "commands/playback.h"
#include "commands/status.h"
#include "core/bot.h"
#include "playback/play_entry.h"

#include <algorithm>
#include <cmath>

namespace wavecrest {
namespace {

void Play(Bot& bot) {
  if (SongLoaded(bot.player)) {
    if (bot.player.PlayState() == PlayStateValue::Paused) PauseCommand(bot, "pause");
    return;
  }
  const ListBox& library = bot.form1.List3;
  if (library.ListCount() == 0) return;
  DoubleClickLibraryRow(bot, library.HasRow(library.listIndex) ? library.listIndex : 0);
}

// The desktop's buttons run the member's own commands; what a command came
// to shows in the room (or not) as for the member's line.
void Perform(Bot& bot, MprisAction action) {
  switch (action) {
    case MprisAction::Play:
      return Play(bot);
    case MprisAction::Pause:
      if (SongLoaded(bot.player) && bot.player.PlayState() == PlayStateValue::Playing) PauseCommand(bot, "pause");
      return;
    case MprisAction::PlayPause:
      if (!SongLoaded(bot.player)) return Play(bot);
      PauseCommand(bot, "pause");
      return;
    case MprisAction::Stop:
      StopCommand(bot, "stop");
      return;
    case MprisAction::Next:
      NextCommand(bot, "next");
      return;
    case MprisAction::Previous:
      PrevCommand(bot, "prev");
      return;
    case MprisAction::Quit:
      ExitCommand(bot, "exit");
      return;
  }
}

}  // namespace

void RunMprisAction(Bot& bot, MprisAction action) {
  if (bot.Ended()) return;
  bot.RunCounted([&bot, action] {
    Perform(bot, action);
    bot.mainView.Refresh();
  });
}

int VolumePercent(double volume) {
  return static_cast<int>(std::clamp(std::lround(volume * 100), 1L, 100L));
}

void SetMprisVolume(Bot& bot, double volume) {
  if (bot.Ended() || !std::isfinite(volume)) return;
  bot.RunCounted([&bot, volume] {
    VolCommand(bot, "vol " + std::to_string(VolumePercent(volume)));
    bot.mainView.Refresh();
  });
}

}  // namespace wavecrest
