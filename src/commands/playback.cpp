#include "commands/playback.h"

#include "core/bot.h"
#include "core/numbers.h"
#include "core/reply.h"
#include "core/settings_keys.h"
#include "core/text.h"
#include "library/matches.h"
#include "core/media_player.h"
#include "playback/play_entry.h"
#include "trackinfo/format.h"

#include <cmath>

namespace wavecrest {
namespace {

constexpr const char* kSelectDirectoryBody = "> please select a directory ";

// The library counts as empty when it holds no full paths.
bool LibraryEmpty(Bot& bot) {
  if (bot.form1.List3.ListCount() > 0) return false;
  SendReply(bot, kSelectDirectoryBody);
  return true;
}

int CurrentNumber(const Bot& bot) { return bot.form1.List3.listIndex + 1; }

// A confirmation, left out in silent mode.
void Confirm(Bot& bot, const std::string& word) {
  if (SilentPlay(bot.form1)) return;
  SendReply(bot, Announcement(word, CurrentNumber(bot), bot.form1.lblSong));
}

// The text after the first occurrence of `marker` in the line.
std::optional<std::string> After(const std::string& line, const std::string& marker) {
  const std::size_t at = line.find(marker);
  if (at == std::string::npos) return std::nullopt;
  return line.substr(at + marker.size());
}

}  // namespace

void RCommand(Bot& bot, const std::string&) {
  if (LibraryEmpty(bot)) return;
  PlayEntry(bot, RandomIndex(bot, bot.form1.List3.ListCount()), "> random #", CallerKind::Command);
}

void PCommand(Bot& bot, const std::string& x) {
  if (LibraryEmpty(bot)) return;
  if (CodePointCount(RemoveSpaces(x)) < 3) {
    SendReply(bot, "> play string must be <b>3</b> or more characters ");
    return;
  }
  const std::string needle = LowerCase(x);
  ListBox& matches = bot.form1.List4;
  matches.Clear();
  const std::vector<std::string>& names = bot.form1.List2.items;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (LowerCase(names[i]).find(needle) != std::string::npos) matches.items.push_back(std::to_string(i));
  }
  if (matches.ListCount() == 0) {
    SendReply(bot, "> no matches for <b>" + x + "</b> were found ");
    return;
  }
  if (matches.ListCount() == 1) {
    PlayEntry(bot, std::stoi(matches.items.front()), "> playing #", CallerKind::Command);
    return;
  }
  FillMatchesWindow(bot);
  SendReply(bot, "> viewing <b>" + std::to_string(bot.form1.List4.ListCount()) + "</b> matches for <b>" + x +
                     "</b> ");
}

void NextCommand(Bot& bot, const std::string&) {
  if (LibraryEmpty(bot)) return;
  PlayEntry(bot, NextPosition(bot.form1.List3), "> next #", CallerKind::Command);
}

void PrevCommand(Bot& bot, const std::string&) {
  if (LibraryEmpty(bot)) return;
  const int current = bot.form1.List3.listIndex;
  const int count = bot.form1.List3.ListCount();
  const int p = current <= 0 || current > count ? count - 1 : current - 1;
  PlayEntry(bot, p, "> previous #", CallerKind::Command);
}

void PauseCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return;
  // The confirmation goes out before the player is told.
  if (bot.player.PlayState() == PlayStateValue::Paused) {
    Confirm(bot, "> unpause #");
    bot.player.Play();
  } else {
    Confirm(bot, "> pause #");
    bot.player.Pause();
  }
}

void StopCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return;
  Confirm(bot, "> stop #");
  bot.player.Stop();
}

void MuteCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return;
  // A mute state that cannot be read is taken as not muted.
  if (!bot.player.Mute().value_or(false)) {
    Confirm(bot, "> mute #");
    bot.player.SetMute(true);
  } else {
    Confirm(bot, "> unmute #");
    bot.player.SetMute(false);
  }
}

void SongCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return;
  SendReply(bot, Announcement("> current song #", CurrentNumber(bot), bot.form1.lblSong));
}

void SkipCommand(Bot& bot, const std::string& line) {
  const auto argument = After(line, "skip ");
  if (!argument) return;
  const std::string x = RemoveSpaces(*argument);
  if (x.empty() || !SongLoaded(bot.player)) return;
  const auto v = DecimalNumber(x);
  if (!v) return;
  // The limit is the whole length of the file, not the time left in it.
  const auto duration = bot.player.Duration();
  if (*v < 1 || !duration || *v > *duration) {
    SendReply(bot, "> invalid skip length ");
    return;
  }
  if (const auto position = bot.player.CurrentPosition()) bot.player.SetCurrentPosition(*position + *v);
  const auto after = bot.player.CurrentPosition();
  if (!after) return;
  const long long t = std::llround(std::nearbyint(*after));
  if (t == 0) return;
  const std::string unit = std::trunc(*v) >= 2 ? "seconds" : "second";
  const long long seconds = t % 60;
  const std::string position = std::to_string(t / 60) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds);
  SendReply(bot, "> skipped <b>" + x + "</b> " + unit + ", position: " + position + "/" + FormatTime(bot.player, bot.loop) + " ");
}

void VolCommand(Bot& bot, const std::string& line) {
  // With no "vol " in the line the word was given alone: what follows its
  // third character is taken, which is empty without a trigger.
  const std::string x = After(line, "vol ").value_or(line.size() > 3 ? line.substr(3) : std::string());
  if (x.find_first_not_of(' ') == std::string::npos) return;
  const auto v = DecimalNumber(x);
  if (!v || *v < 1 || *v > 100) {
    SendReply(bot, "> invalid volume, must be from 1-100 ");
    return;
  }
  bot.player.SetMute(false);
  bot.player.SetVolume(VolumeForPercent(*v));
  bot.WriteSetting(SettingKey(Setting::Volume), x);
  SendReply(bot, "> new volume: <b>" + x + "%</b> ");
}

void VolQueryCommand(Bot& bot, const std::string&) {
  const std::string value = ReadSettingOrStart(bot, Setting::Volume);
  SendReply(bot, "> current volume: <b>" + value + "%</b> ");
}

}  // namespace wavecrest
