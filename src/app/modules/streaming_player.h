#pragma once

// The media player of a run that streams: every call goes to the real player
// first, and the stream is then told what the player now plays, so the room
// hears what the member hears. Mute and volume are the member's speakers:
// the stream keeps its own level and is not told.
//
// Open may run pending events (the real player waits for the file), so a
// second Open, a pause or a stop can come inside it. The stream follows only
// the Open that was made last, and only once it has returned; an Open that
// fails leaves the player empty, and the stream silent. What the stream is
// told is read back from the player after each call: a position, and whether
// a song that was stopped or had played to its end starts again on Play.
//
// UI thread only; the stream's calls never wait, so neither does this.

#include "core/audio_stream.h"
#include "core/media_player.h"
#include "core/tag_reader.h"

#include <optional>
#include <string>

namespace wavecrest {

class StreamingPlayer final : public MediaPlayer {
 public:
  // All three outlive this player; `tags` reads the songs' titles.
  StreamingPlayer(MediaPlayer& player, AudioStream& stream, TagReader& tags)
      : player_(player), stream_(stream), tags_(tags) {}

  bool Open(const std::string& path) override;
  bool Play() override;
  bool Pause() override;
  bool Stop() override;
  std::optional<std::string> FileName() override { return player_.FileName(); }
  std::optional<PlayStateValue> PlayState() override { return player_.PlayState(); }
  std::optional<bool> Mute() override { return player_.Mute(); }
  bool SetMute(bool mute) override { return player_.SetMute(mute); }
  bool SetVolume(int hundredthsOfDecibel) override { return player_.SetVolume(hundredthsOfDecibel); }
  std::optional<double> CurrentPosition() override { return player_.CurrentPosition(); }
  bool SetCurrentPosition(double seconds) override;
  std::optional<double> Duration() override { return player_.Duration(); }

 private:
  // What the stream was last told.
  enum class Told { Nothing, Playing, Paused, Stopped };

  // Tells the stream to carry the player's file from where the player is.
  void OpenStreamAtPlayer(const std::string& path);

  MediaPlayer& player_;
  AudioStream& stream_;
  TagReader& tags_;
  Told told_ = Told::Nothing;
  unsigned long long opens_ = 0;  // Open calls so far
};

}  // namespace wavecrest
