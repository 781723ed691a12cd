#pragma once

// The media player: plays one file at a time and reports its state.
//
// Threading: UI thread only. Failures come back as values: a read that fails
// answers nothing (std::nullopt), a call that fails answers false; the caller
// skips the step and goes on. Nothing here throws.

#include <optional>
#include <string>

namespace wavecrest {

enum class PlayStateValue { Stopped = 0, Paused = 1, Playing = 2 };

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Loads the file and starts playing it at once. Open may run pending events
  // while it waits for the file (as every pause of the system does), so a
  // command, a tick or even another Open can run inside it; the later Open
  // wins.
  virtual bool Open(const std::string& path) = 0;
  // Plays on from where a pause halted.
  virtual bool Play() = 0;
  virtual bool Pause() = 0;
  virtual bool Stop() = 0;

  // Path of the loaded file; empty when none is loaded.
  virtual std::optional<std::string> FileName() = 0;
  virtual std::optional<PlayStateValue> PlayState() = 0;
  virtual std::optional<bool> Mute() = 0;
  virtual bool SetMute(bool mute) = 0;
  // Hundredths of a decibel: 0 is full loudness, −2500 the quietest step used.
  virtual bool SetVolume(int hundredthsOfDecibel) = 0;
  // Seconds from the start. Once a file has played to its end, the position
  // reads exactly the duration.
  virtual std::optional<double> CurrentPosition() = 0;
  virtual bool SetCurrentPosition(double seconds) = 0;
  virtual std::optional<double> Duration() = 0;
};

// Whether a file is loaded and not stopped: what pause, stop, mute, song,
// skip and id3 need before they act. A player that cannot be read has
// nothing loaded.
inline bool SongLoaded(MediaPlayer& player) {
  const auto state = player.PlayState();
  const auto file = player.FileName();
  return state && file && *state != PlayStateValue::Stopped && !file->empty();
}

}  // namespace wavecrest
