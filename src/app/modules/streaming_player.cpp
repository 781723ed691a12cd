#include "app/modules/streaming_player.h"

#include "app/stream/stream_title.h"
#include "library/entry_names.h"

#include <algorithm>

namespace wavecrest {
namespace {

// The display name the library gives the file: its name without the
// extension it was listed under (its own).
std::string DisplayNameOf(const std::string& path) {
  const std::string name = path.substr(path.rfind('/') + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name;
  return DisplayName(path, name.substr(dot + 1));
}

}  // namespace

void StreamingPlayer::OpenStreamAtPlayer(const std::string& path) {
  const double at = std::max(0.0, player_.CurrentPosition().value_or(0.0));
  stream_.Open(path, at, StreamTitle(path, DisplayNameOf(path), tags_));
  told_ = Told::Playing;
  if (player_.PlayState() != PlayStateValue::Paused) return;
  stream_.Pause();
  told_ = Told::Paused;
}

bool StreamingPlayer::Open(const std::string& path) {
  const unsigned long long thisOpen = ++opens_;
  const bool opened = player_.Open(path);
  // Events ran while the player opened the file: a later Open has told the
  // stream already, and what it told stands.
  if (opens_ != thisOpen) return opened;
  if (!opened) {
    stream_.Stop();
    told_ = Told::Stopped;
    return false;
  }
  OpenStreamAtPlayer(path);
  return true;
}

bool StreamingPlayer::Play() {
  const bool wasPlaying = player_.PlayState() == PlayStateValue::Playing;
  if (!player_.Play()) return false;
  if (wasPlaying && told_ == Told::Playing) return true;
  if (told_ == Told::Paused) {
    stream_.Resume();
    told_ = Told::Playing;
    return true;
  }
  // A stopped song, or one the stream has played to its end, starts again
  // where the player starts it.
  const std::string file = player_.FileName().value_or("");
  if (!file.empty()) OpenStreamAtPlayer(file);
  return true;
}

bool StreamingPlayer::Pause() {
  if (!player_.Pause()) return false;
  stream_.Pause();
  told_ = Told::Paused;
  return true;
}

bool StreamingPlayer::Stop() {
  if (!player_.Stop()) return false;
  stream_.Stop();
  told_ = Told::Stopped;
  return true;
}

bool StreamingPlayer::SetCurrentPosition(double seconds) {
  if (!player_.SetCurrentPosition(seconds)) return false;
  if (told_ != Told::Playing && told_ != Told::Paused) return true;
  stream_.Seek(std::max(0.0, player_.CurrentPosition().value_or(seconds)));
  // A song sent past its end and moved back is left paused by the player.
  if (told_ == Told::Playing && player_.PlayState() == PlayStateValue::Paused) {
    stream_.Pause();
    told_ = Told::Paused;
  }
  return true;
}

}  // namespace wavecrest
