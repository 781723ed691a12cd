#include "app/mpris/mpris_state.h"

#include "core/control_characters.h"
#include "core/bot.h"
#include "core/numbers.h"
#include "trackinfo/id3.h"
#include "trackinfo/track_info.h"

#include <cmath>

namespace wavecrest {
namespace {

// A tag field as the desktop shows it: up to its padding, and none of the
// control characters a hostile tag may carry.
std::string ShownField(const std::string& field) {
  if (field == kNoTag) return {};
  std::string text = WithoutControlCharacters(TagFieldText(field));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string StatusText(std::optional<PlayStateValue> state) {
  if (state == PlayStateValue::Playing) return "Playing";
  if (state == PlayStateValue::Paused) return "Paused";
  return "Stopped";
}

std::optional<MprisTrack> ReadTrack(Bot& bot, const MprisState* previous) {
  const std::string path = bot.player.FileName().value_or("");
  if (path.empty()) return std::nullopt;
  MprisTrack track;
  track.path = path;
  const ListBox& library = bot.form1.List3;
  track.number = library.SelectedText() == path ? library.listIndex + 1 : 0;
  track.title = WithoutControlCharacters(bot.form1.lblSong);
  if (const auto duration = bot.player.Duration(); duration && *duration > 0) {
    track.lengthMicroseconds = std::llround(*duration * 1e6);
  }
  if (previous != nullptr && previous->track && previous->track->path == path) {
    track.artist = previous->track->artist;
    track.album = previous->track->album;
  } else {
    const TagFields tag = ReadTags(path, bot.tags);
    track.artist = ShownField(tag.artist);
    track.album = ShownField(tag.album);
  }
  return track;
}

}  // namespace

double MprisVolume(Bot& bot) {
  const auto percent = DecimalNumber(bot.ReadSetting("volume"));
  if (!percent || *percent < 1 || *percent > 100) return 1.0;
  return *percent / 100.0;
}

MprisState ReadMprisState(Bot& bot, const MprisState* previous) {
  MprisState state;
  const bool loaded = SongLoaded(bot.player);
  state.playbackStatus = loaded ? StatusText(bot.player.PlayState()) : "Stopped";
  state.track = ReadTrack(bot, previous);
  state.volume = MprisVolume(bot);
  state.canGoNext = bot.form1.List3.ListCount() > 0;
  state.canPlay = state.canGoNext || loaded;
  state.canPause = loaded;
  return state;
}

}  // namespace wavecrest
