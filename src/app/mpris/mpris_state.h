#pragma once

// What the desktop's media controls see of the player, read from the Bot's
// models and its media player as plain values. The MPRIS service compares
// one reading with the last to tell the desktop what changed.

#include <optional>
#include <string>

namespace wavecrest {

class Bot;

struct MprisTrack {
  int number = 0;  // library position + 1; 0 once the library no longer holds it
  std::string path;
  std::string title;  // the display name the room was told
  std::string artist, album;  // from the file's tag (ID3v1, else ID3v2); empty without one
  long long lengthMicroseconds = 0;  // 0 while the player does not know it yet
  bool operator==(const MprisTrack&) const = default;
};

struct MprisState {
  std::string playbackStatus = "Stopped";  // "Playing", "Paused" or "Stopped"
  std::optional<MprisTrack> track;  // none while no file is loaded
  double volume = 1.0;  // the saved volume percent, 1 to 100, as 0.01 to 1.0
  bool canPlay = false;
  bool canPause = false;
  bool canGoNext = false;  // next and prev: a library to move through
  bool operator==(const MprisState&) const = default;
};

// Reads the state now. The tag is read only when the loaded file is not the
// one `previous` describes, so a reading on every display tick costs no
// file access while a song plays.
MprisState ReadMprisState(Bot& bot, const MprisState* previous);

// The saved volume ("volume" setting, 100 when empty or not a number in
// 1 to 100) as MPRIS counts it.
double MprisVolume(Bot& bot);

}  // namespace wavecrest
