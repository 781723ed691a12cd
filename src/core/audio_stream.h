#pragma once

// The room's stream of what plays: a second output of the media player that
// anyone in the room can listen to. It follows the player; it is never a
// second player the system steers on its own.
//
// Lifecycle: made at start when the run streams, and lives for the whole run;
// the stream stays on the air from start to end, carrying silence whenever
// nothing plays (nothing opened, paused, stopped, a song played to its end, a
// file it cannot read).
//
// Threading: UI thread only. Every call returns at once: it hands the change
// to the stream's own worker and never waits for the network, and it never
// runs the event loop. What the worker has to say (a lost connection, a file
// it cannot read, the listener count) comes back as a task posted to the
// event loop.
//
// Failures: none of the calls fails. A file that cannot be read, or a server
// that cannot be reached, is silence on the stream; the worker says why.

#include <optional>
#include <string>

namespace wavecrest {

// The listener count the server last told, and when it arrived.
struct ListenerCount {
  std::optional<int> listeners;  // nothing: the server could not be asked or did not say
  double arrivedAt = 0;          // the loop's SecondsSinceMidnight when the answer came in
  unsigned serial = 0;           // counts the answers: 1 for the first, one more for each
};

class AudioStream {
 public:
  virtual ~AudioStream() = default;

  // From now on the stream carries `path` from `seconds` on, playing, under
  // `title` (what listeners' players show; empty for none).
  virtual void Open(const std::string& path, double seconds, const std::string& title) = 0;
  // Silence from now on; Resume carries on where the song halted.
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // The song goes on from `seconds`; past its end it has ended (silence).
  virtual void Seek(double seconds) = 0;
  // Silence and no title until the next Open.
  virtual void Stop() = 0;

  // The stream's name (the station players show): the member's handle.
  virtual void SetName(const std::string& name) = 0;

  // The address listeners open, as announced in the room.
  virtual std::string ListenUrl() const = 0;
  // The latest answer to RefreshListeners; nothing before the first.
  virtual std::optional<ListenerCount> Listeners() const = 0;
  // Asks the server for its listener count; the answer arrives on a later pass
  // of the event loop and replaces Listeners(). An answer always comes, the
  // count or nothing, within a few seconds.
  virtual void RefreshListeners() = 0;
};

}  // namespace wavecrest
