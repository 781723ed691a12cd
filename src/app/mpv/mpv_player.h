#pragma once

// The media player on libmpv.
//
// Lifecycle: construct it after the QCoreApplication. Qt sets the C library's
// numeric locale from the environment, and libmpv refuses to start unless
// LC_NUMERIC is "C"; the constructor puts it back to "C" for that reason.
// When libmpv cannot start, the player stays usable as an empty one: every
// call fails and every read answers as with nothing loaded.
//
// Threading: UI thread only. libmpv runs its own threads; its events are
// handed to the UI thread through the Qt event loop (a queued call posted
// from libmpv's wakeup callback) and never handled on libmpv's threads.
//
// Every call that changes state returns only when the new state can be read:
// Open returns once the file is loaded and its sound has started (so Duration
// is readable at once), Pause makes PlayState read Paused at once, a position write
// returns once the seek is done. A local file needs a few milliseconds
// (measured: about 3 ms for MP3 and WMA, 10 ms for WAV). Open waits in the
// event loop, so other events run meanwhile (Open may be called again inside
// it: the later call wins and the earlier one answers false); a file that has
// not loaded within 1 s is skipped as one the player cannot open. A seek
// blocks the UI thread on libmpv's event queue (no spinning) and gives up
// after 5 s.
//
// What the reads answer in each state:
//
//   state                 FileName   PlayState          CurrentPosition   Duration
//   nothing loaded        ""         Stopped            -1                0
//   playing / paused      the path   Playing / Paused   0 … Duration      length
//   played to its end     the path   Stopped            == Duration       length
//   after Stop            the path   Stopped            0                 length
//
// The play modes take "position equals duration" for the end of a song, and a
// failed read for an end as well. So the empty player answers two values that
// differ (-1 and 0): turning a mode on with nothing loaded, or after a file
// failed to open, never starts songs at every tick. A stopped file rewinds to
// its start and keeps its length, so a stop is not taken for an end either
// (except for a file of zero length). A file that played to its end reads
// exactly its duration: libmpv's last position of an MP3 or WMA is a few
// milliseconds short of its length, so the end is taken from libmpv's
// end-of-file flag and the position is clamped to the duration.
//
// Mute and volume belong to the player, not the file: they carry over to the
// next Open. Pause does not: Open always starts playing.

#include "app/mpv/mpv_options.h"
#include "core/media_player.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct mpv_handle;
struct mpv_event;
class QObject;

namespace wavecrest {

class MpvPlayer final : public MediaPlayer {
 public:
  explicit MpvPlayer(const MpvPlayerOptions& options = MpvPlayerOptionsFromEnvironment());
  ~MpvPlayer() override;
  MpvPlayer(const MpvPlayer&) = delete;
  MpvPlayer& operator=(const MpvPlayer&) = delete;

  // False when libmpv could not start.
  bool Started() const { return mpv_ != nullptr; }

  // Loads and plays the file. False when it cannot be opened or decoded; the
  // player is then empty (whatever played before has been unloaded).
  bool Open(const std::string& path) override;
  // Plays on from a pause; a stopped file, or one played to its end, starts
  // again from its beginning. False with nothing loaded.
  bool Play() override;
  // False with nothing loaded, and for a stopped or ended file (nothing to halt).
  bool Pause() override;
  // Halts and rewinds to the start; the file stays loaded. False with nothing loaded.
  bool Stop() override;

  std::optional<std::string> FileName() override;
  std::optional<PlayStateValue> PlayState() override;
  std::optional<bool> Mute() override;
  bool SetMute(bool mute) override;
  // 0 is full loudness; positive values are taken as 0 (no amplification).
  bool SetVolume(int hundredthsOfDecibel) override;
  std::optional<double> CurrentPosition() override;
  // Seeks exactly and returns when the seek is done; the position then reads
  // the target. A playing file plays on from there, a paused one stays paused
  // there, and one that had played to its end is left paused there. A target
  // at or beyond the duration is taken as the duration: the file has then
  // played to its end (Stopped, position == duration) and Play starts it
  // again. A negative target is taken as 0. False with nothing loaded and for
  // a stopped file.
  bool SetCurrentPosition(double seconds) override;
  // nullopt only when a loaded file has no known length.
  std::optional<double> Duration() override;

 private:
  static void OnWakeup(void* self);
  void DrainEvents();
  void HandleEvent(const mpv_event& event);
  // Handles events until done(event) says so or the timeout passes.
  template <typename Done>
  bool WaitFor(double timeoutSeconds, Done done);
  // After a loadfile of playlist entry `entryId` (nullopt: not known): runs
  // the event loop until the file plays; false with the reason in `why` when
  // it does not.
  bool WaitForLoad(std::optional<long long> entryId, std::string& why);
  // Back to the empty player's bookkeeping (libmpv itself is not told).
  void ForgetFile();
  bool Loaded() const { return mpv_ != nullptr && !fileName_.empty(); }
  // Played to its end, or sent there by a position write.
  bool EndReached();
  bool Paused();
  bool SetPaused(bool paused);
  bool SeekTo(double seconds);
  // A yes/no property of libmpv; nullopt when it cannot be read.
  std::optional<bool> ReadFlag(const char* property);
  bool WriteFlag(const char* property, bool value);

  mpv_handle* mpv_ = nullptr;
  std::unique_ptr<QObject> receiver_;  // UI-thread target of the wakeup calls
  std::atomic<bool> wakeupPosted_{false};
  std::string fileName_;  // "" when nothing is loaded
  long long entryId_ = -1;  // libmpv's playlist entry of the loaded file
  bool stopped_ = false;
  bool sentToEnd_ = false;  // by a position write; libmpv's own end flag stays off in pause
  std::optional<double> heldPosition_;  // where a seek in pause left it
  using LoadWatch = std::function<void(const mpv_event&)>;
  std::vector<LoadWatch*> loadWatches_;  // the opens waiting, innermost last
  unsigned long long opens_ = 0;         // Open calls so far
};

}  // namespace wavecrest
