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
// The room's own words, for the notes of lines it does not answer.
constexpr const char* kNoSong = "no currently song is playing";
constexpr const char* kInvalidSkip = "invalid skip length: ";

// The library counts as empty when it holds no full paths.
bool LibraryEmpty(const Bot& bot) { return bot.form1.List3.ListCount() == 0; }

int CurrentNumber(const Bot& bot) { return bot.form1.List3.listIndex + 1; }

// Why silent mode left a line unanswered: "> pause #" and 3 say "pause #3".
CommandResult Unsaid(const std::string& word, int n) {
  return Refused("silent mp3 play is on: \"" + word.substr(2) + std::to_string(n) + "\" is not said");
}

// A confirmation, left out in silent mode.
CommandResult Confirm(Bot& bot, const std::string& word) {
  if (SilentPlay(bot.form1)) return Unsaid(word, CurrentNumber(bot));
  return Answer(bot, Announcement(word, CurrentNumber(bot), bot.form1.lblSong));
}

// Starts position p as the member's command asked.
CommandResult Start(Bot& bot, int p, const std::string& word) {
  if (PlayEntry(bot, p, word, CallerKind::Command)) return Answered();
  return Unsaid(word, p + 1);
}

// The text after the first occurrence of `marker` in the line.
std::optional<std::string> After(const std::string& line, const std::string& marker) {
  const std::size_t at = line.find(marker);
  if (at == std::string::npos) return std::nullopt;
  return line.substr(at + marker.size());
}

}  // namespace

CommandResult RCommand(Bot& bot, const std::string&) {
  if (LibraryEmpty(bot)) return Answer(bot, kSelectDirectoryBody);
  return Start(bot, RandomIndex(bot, bot.form1.List3.ListCount()), "> random #");
}

CommandResult PCommand(Bot& bot, const std::string& x) {
  if (LibraryEmpty(bot)) return Answer(bot, kSelectDirectoryBody);
  if (CodePointCount(RemoveSpaces(x)) < 3) return Answer(bot, "> play string must be <b>3</b> or more characters ");
  const std::string needle = LowerCase(x);
  ListBox& matches = bot.form1.List4;
  matches.Clear();
  const std::vector<std::string>& names = bot.form1.List2.items;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (LowerCase(names[i]).find(needle) != std::string::npos) matches.items.push_back(std::to_string(i));
  }
  if (matches.ListCount() == 0) return Answer(bot, "> no matches for <b>" + x + "</b> were found ");
  if (matches.ListCount() == 1) return Start(bot, std::stoi(matches.items.front()), "> playing #");
  FillMatchesWindow(bot);
  return Answer(bot, "> viewing <b>" + std::to_string(bot.form1.List4.ListCount()) + "</b> matches for <b>" + x +
                        "</b> ");
}

CommandResult NextCommand(Bot& bot, const std::string&) {
  if (LibraryEmpty(bot)) return Answer(bot, kSelectDirectoryBody);
  return Start(bot, NextPosition(bot.form1.List3), "> next #");
}

CommandResult PrevCommand(Bot& bot, const std::string&) {
  if (LibraryEmpty(bot)) return Answer(bot, kSelectDirectoryBody);
  const int current = bot.form1.List3.listIndex;
  const int count = bot.form1.List3.ListCount();
  const int p = current <= 0 || current > count ? count - 1 : current - 1;
  return Start(bot, p, "> previous #");
}

CommandResult PauseCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return Refused(kNoSong);
  // The confirmation goes out before the player is told.
  if (bot.player.PlayState() == PlayStateValue::Paused) {
    CommandResult result = Confirm(bot, "> unpause #");
    bot.player.Play();
    return result;
  }
  CommandResult result = Confirm(bot, "> pause #");
  bot.player.Pause();
  return result;
}

CommandResult StopCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return Refused(kNoSong);
  CommandResult result = Confirm(bot, "> stop #");
  bot.player.Stop();
  return result;
}

CommandResult MuteCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return Refused(kNoSong);
  // A mute state that cannot be read is taken as not muted.
  const bool muted = bot.player.Mute().value_or(false);
  CommandResult result = Confirm(bot, muted ? "> unmute #" : "> mute #");
  bot.player.SetMute(!muted);
  return result;
}

CommandResult SongCommand(Bot& bot, const std::string&) {
  if (!SongLoaded(bot.player)) return Refused(kNoSong);
  return Answer(bot, Announcement("> current song #", CurrentNumber(bot), bot.form1.lblSong));
}

CommandResult SkipCommand(Bot& bot, const std::string& line) {
  const auto argument = After(line, "skip ");
  const std::string x = argument ? RemoveSpaces(*argument) : std::string();
  if (x.empty()) return Refused(std::string(kInvalidSkip) + "no number of seconds after \"skip\"");
  if (!SongLoaded(bot.player)) return Refused(kNoSong);
  const auto v = DecimalNumber(x);
  if (!v) return Refused(kInvalidSkip + ("\"" + x + "\" is not a number"));
  // The limit is the whole length of the file, not the time left in it.
  const auto duration = bot.player.Duration();
  if (*v < 1 || !duration || *v > *duration) return Answer(bot, "> invalid skip length ");
  if (const auto position = bot.player.CurrentPosition()) bot.player.SetCurrentPosition(*position + *v);
  const auto after = bot.player.CurrentPosition();
  if (!after) return Refused("skipped, but the player's position cannot be read back");
  const long long t = std::llround(std::nearbyint(*after));
  if (t == 0) return Refused("skipped, but the player's position reads back as 0");
  const std::string unit = std::trunc(*v) >= 2 ? "seconds" : "second";
  const long long seconds = t % 60;
  const std::string position = std::to_string(t / 60) + ":" + (seconds < 10 ? "0" : "") + std::to_string(seconds);
  return Answer(bot, "> skipped <b>" + x + "</b> " + unit + ", position: " + position + "/" +
                        FormatTime(bot.player, bot.loop) + " ");
}

CommandResult VolCommand(Bot& bot, const std::string& line) {
  // With no "vol " in the line the word was given alone: what follows its
  // third character is taken, which is empty without a trigger.
  const std::string x = After(line, "vol ").value_or(line.size() > 3 ? line.substr(3) : std::string());
  if (x.find_first_not_of(' ') == std::string::npos) {
    return Refused("invalid volume, must be from 1-100: no number after \"vol\"");
  }
  const auto v = DecimalNumber(x);
  if (!v || *v < 1 || *v > 100) return Answer(bot, "> invalid volume, must be from 1-100 ");
  bot.player.SetMute(false);
  bot.player.SetVolume(VolumeForPercent(*v));
  bot.WriteSetting(SettingKey(Setting::Volume), x);
  return Answer(bot, "> new volume: <b>" + x + "%</b> ");
}

CommandResult VolQueryCommand(Bot& bot, const std::string&) {
  const std::string value = ReadSettingOrStart(bot, Setting::Volume);
  return Answer(bot, "> current volume: <b>" + value + "%</b> ");
}

}  // namespace wavecrest
