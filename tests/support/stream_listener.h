#pragma once

// People listening to an Icecast mount, for end-to-end tests.
//
// ToneListener: ffmpeg reads the mount and writes it as 16-bit mono PCM at
// kListenRate to a pipe; what arrives is heard window by window (see
// tone_songs.h), so a test decides from what was heard, not from the clock.
// It holds one connection for its whole life: ffmpeg ends when the server
// ends the stream, and Connected() then says so.
//
// TitleListener: a real player (mpv, sound to nowhere) on the mount, read for
// the stream titles it shows.
//
// Both are killed by their PIDs when they go out of scope.

#include "support/child_process.h"
#include "support/tone_songs.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest::testing {

class ToneListener {
 public:
  explicit ToneListener(const std::string& url);

  bool Connected() const { return ffmpeg_->Running(); }
  // Every window heard so far, what has arrived read first.
  const std::vector<Heard>& Windows();
  // The first window from `from` on that `match` accepts, reading what
  // arrives for at most `seconds`; nullopt when none did or the stream ended.
  std::optional<std::size_t> Await(const std::function<bool(const Heard&)>& match, double seconds,
                                   std::size_t from = 0);
  // The first window of a run of silence at least `length` seconds long.
  std::optional<std::size_t> AwaitSilence(double length, double seconds, std::size_t from = 0);
  // The tone heard last before window `before`, if any.
  std::optional<Heard> LastToneBefore(std::size_t before);
  // What was heard from window `from` on, runs merged ("song 0 step 2 x16,
  // silence x4"), and ffmpeg's complaints: for failure messages.
  std::string Transcript(std::size_t from = 0);

 private:
  void Analyse();

  std::unique_ptr<ChildProcess> ffmpeg_;
  std::size_t heardBytes_ = 0;
  std::vector<Heard> windows_;
};

class TitleListener {
 public:
  explicit TitleListener(const std::string& url);

  // Every stream title the player showed, in order.
  std::vector<std::string> Titles() const;
  // Reads the player's messages until it shows `title`, at most `seconds`.
  bool AwaitTitle(const std::string& title, double seconds);

 private:
  std::unique_ptr<ChildProcess> mpv_;
};

}  // namespace wavecrest::testing
