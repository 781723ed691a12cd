#include "app/mpv/mpv_player.h"

#include "core/diagnostics.h"

#include <mpv/client.h>

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>

namespace wavecrest {
namespace {

// A local file loads in milliseconds; these only bound a stuck load or seek.
// The system expects a file to play within the second before it reads its
// length, so a file not loaded by then is one the player cannot open. Once it
// is loaded, the sound output may take as long again to start.
constexpr int kLoadTimeoutMilliseconds = 1000;
constexpr int kStartTimeoutMilliseconds = 1000;
constexpr double kSeekTimeoutSeconds = 5.0;

std::optional<long long> EntryIdOf(const mpv_node& result) {
  if (result.format != MPV_FORMAT_NODE_MAP) return std::nullopt;
  const mpv_node_list* map = result.u.list;
  for (int i = 0; i < map->num; ++i) {
    if (std::string(map->keys[i]) == "playlist_entry_id" && map->values[i].format == MPV_FORMAT_INT64) {
      return map->values[i].u.int64;
    }
  }
  return std::nullopt;
}

}  // namespace

MpvPlayer::MpvPlayer(const MpvPlayerOptions& options)
    : mpv_(StartMpv(options)), receiver_(std::make_unique<QObject>()) {
  if (mpv_ == nullptr) return;
  // The end of a file raises no other event under keep-open; watching the
  // flag wakes the UI thread when a song ends.
  mpv_observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
  mpv_set_wakeup_callback(mpv_, &MpvPlayer::OnWakeup, this);
}

MpvPlayer::~MpvPlayer() {
  if (mpv_ == nullptr) return;
  // No wakeup call can come once this returns; posted calls die with receiver_.
  mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
  mpv_terminate_destroy(mpv_);
}

// Called on one of libmpv's threads: only post a call to the UI thread, at most
// one at a time.
void MpvPlayer::OnWakeup(void* self) {
  auto* player = static_cast<MpvPlayer*>(self);
  if (player->wakeupPosted_.exchange(true)) return;
  QMetaObject::invokeMethod(
      player->receiver_.get(),
      [player] {
        player->wakeupPosted_ = false;
        player->DrainEvents();
      },
      Qt::QueuedConnection);
}

void MpvPlayer::DrainEvents() {
  if (mpv_ == nullptr) return;
  for (;;) {
    const mpv_event* event = mpv_wait_event(mpv_, 0);
    if (event->event_id == MPV_EVENT_NONE) return;
    HandleEvent(*event);
  }
}

void MpvPlayer::HandleEvent(const mpv_event& event) {
  // Every open still waiting sees the event (a nested open ends an outer one's file).
  for (LoadWatch* watch : std::vector<LoadWatch*>(loadWatches_)) (*watch)(event);
  if (event.event_id != MPV_EVENT_END_FILE) return;
  const auto* end = static_cast<const mpv_event_end_file*>(event.data);
  // The loaded file went away (a read error, or an unload we did not ask for).
  // The end of the file itself raises no such event: keep-open holds it loaded.
  if (end->playlist_entry_id == entryId_ && end->reason != MPV_END_FILE_REASON_EOF) ForgetFile();
}

void MpvPlayer::ForgetFile() {
  fileName_.clear();
  entryId_ = -1;
  stopped_ = false;
  sentToEnd_ = false;
  heldPosition_.reset();
}

template <typename Done>
bool MpvPlayer::WaitFor(double timeoutSeconds, Done done) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::duration<double>(timeoutSeconds);
  for (;;) {
    const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const mpv_event* event = mpv_wait_event(mpv_, left);
    if (event->event_id == MPV_EVENT_NONE) continue;
    HandleEvent(*event);
    if (done(*event)) return true;
  }
}

bool MpvPlayer::Open(const std::string& path) {
  const auto fail = [&path](const std::string& why) {
    Diagnose("skipped " + path + ": " + why);
    return false;
  };
  if (path.empty()) return false;
  if (mpv_ == nullptr) return fail("the player did not start");
  const unsigned long long thisOpen = ++opens_;
  ForgetFile();
  DrainEvents();
  // Pause survives a load in libmpv (and keep-open pauses at every end), but
  // opening a file always plays it.
  SetPaused(false);
  std::error_code error;
  const std::string target = std::filesystem::absolute(path, error).string();
  if (error) return fail(error.message());
  const char* command[] = {"loadfile", target.c_str(), "replace", nullptr};
  mpv_node result;
  if (const int status = mpv_command_ret(mpv_, command, &result); status < 0) return fail(mpv_error_string(status));
  const std::optional<long long> id = EntryIdOf(result);
  mpv_free_node_contents(&result);
  std::string why;
  const bool loaded = WaitForLoad(id, why);
  // Events ran while this waited: an open made meanwhile owns the player now.
  if (opens_ != thisOpen) return false;
  if (!loaded) {
    const char* stop[] = {"stop", nullptr};
    mpv_command(mpv_, stop);
    return fail(why);
  }
  // A file left at its end pauses again as soon as it is unpaused, so the
  // pause cleared above can come back before the new file replaces it:
  // clear it once more now that the new file is the one loaded.
  SetPaused(false);
  fileName_ = path;
  entryId_ = id.value_or(-1);
  return true;
}

bool MpvPlayer::WaitForLoad(std::optional<long long> entryId, std::string& why) {
  enum class Outcome { Waiting, Loaded, Failed, Playing } outcome = Outcome::Waiting;
  // Events of the file that played before may still be queued: only those of
  // the entry just loaded count.
  bool isOurEntry = false;
  why = "it did not load within " + std::to_string(kLoadTimeoutMilliseconds / 1000) + " s";
  // The wait runs the event loop, so chat lines, timers and clicks are
  // handled meanwhile, as in every other pause of the system.
  QEventLoop wait;
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
  LoadWatch watch = [&](const mpv_event& event) {
    if (outcome == Outcome::Failed || outcome == Outcome::Playing) return;
    if (event.event_id == MPV_EVENT_START_FILE) {
      const auto* start = static_cast<const mpv_event_start_file*>(event.data);
      isOurEntry = !entryId || start->playlist_entry_id == *entryId;
      return;
    }
    if (event.event_id == MPV_EVENT_END_FILE && isOurEntry) {
      outcome = Outcome::Failed;
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      why = end->reason == MPV_END_FILE_REASON_ERROR ? mpv_error_string(end->error) : "it ended while loading";
    } else if (event.event_id == MPV_EVENT_FILE_LOADED && isOurEntry) {
      outcome = Outcome::Loaded;
      deadline.start(kStartTimeoutMilliseconds);
      return;
    } else if (event.event_id == MPV_EVENT_PLAYBACK_RESTART && outcome == Outcome::Loaded) {
      outcome = Outcome::Playing;  // sound is on its way: the position is now meaningful
    } else {
      return;
    }
    wait.quit();
  };
  loadWatches_.push_back(&watch);
  deadline.start(kLoadTimeoutMilliseconds);
  DrainEvents();  // what came before the loop runs
  if (outcome != Outcome::Failed && outcome != Outcome::Playing) wait.exec();
  std::erase(loadWatches_, &watch);
  return outcome == Outcome::Loaded || outcome == Outcome::Playing;
}

std::optional<bool> MpvPlayer::ReadFlag(const char* property) {
  int flag = 0;
  if (mpv_get_property(mpv_, property, MPV_FORMAT_FLAG, &flag) < 0) return std::nullopt;
  return flag != 0;
}

bool MpvPlayer::WriteFlag(const char* property, bool value) {
  int flag = value ? 1 : 0;
  return mpv_set_property(mpv_, property, MPV_FORMAT_FLAG, &flag) >= 0;
}

bool MpvPlayer::SetPaused(bool paused) { return WriteFlag("pause", paused); }

bool MpvPlayer::EndReached() { return sentToEnd_ || ReadFlag("eof-reached").value_or(false); }

bool MpvPlayer::Paused() { return ReadFlag("pause").value_or(false); }

bool MpvPlayer::SeekTo(double seconds) {
  DrainEvents();
  char target[64] = {};
  std::to_chars(target, target + sizeof target - 1, seconds);
  const char* command[] = {"seek", target, "absolute", "exact", nullptr};
  if (mpv_command(mpv_, command) < 0) return false;
  // A seek is done when playback restarts after it; a seek onto the end may
  // instead leave the file at its end.
  bool seeking = false;
  WaitFor(kSeekTimeoutSeconds, [&](const mpv_event& event) {
    if (event.event_id == MPV_EVENT_SEEK) seeking = true;
    if (event.event_id == MPV_EVENT_END_FILE) return true;
    return seeking && event.event_id == MPV_EVENT_PLAYBACK_RESTART;
  });
  return Loaded();
}

bool MpvPlayer::Play() {
  if (!Loaded()) return false;
  if (!stopped_ && EndReached()) {
    if (!SeekTo(0)) return false;
    heldPosition_.reset();
  }
  stopped_ = false;
  sentToEnd_ = false;
  return SetPaused(false);
}

bool MpvPlayer::Pause() {
  if (!Loaded() || stopped_ || EndReached()) return false;
  return SetPaused(true);
}

bool MpvPlayer::Stop() {
  if (!Loaded()) return false;
  if (!SetPaused(true)) return false;
  SeekTo(0);
  stopped_ = true;
  sentToEnd_ = false;
  heldPosition_.reset();
  return true;
}

std::optional<std::string> MpvPlayer::FileName() { return fileName_; }

std::optional<PlayStateValue> MpvPlayer::PlayState() {
  if (!Loaded() || stopped_ || EndReached()) return PlayStateValue::Stopped;
  const std::optional<bool> paused = ReadFlag("pause");
  if (!paused) return std::nullopt;
  return *paused ? PlayStateValue::Paused : PlayStateValue::Playing;
}

std::optional<bool> MpvPlayer::Mute() {
  if (mpv_ == nullptr) return std::nullopt;
  return ReadFlag("mute");
}

bool MpvPlayer::SetMute(bool mute) {
  if (mpv_ == nullptr) return false;
  return WriteFlag("mute", mute);
}

bool MpvPlayer::SetVolume(int hundredthsOfDecibel) {
  if (mpv_ == nullptr) return false;
  // libmpv's volume is cubic: the gain is (v / 100)^3, so for a level of
  // L/100 dB, v = 100 * 10^(L / 6000).
  const int level = std::min(hundredthsOfDecibel, 0);
  double volume = 100.0 * std::pow(10.0, level / 6000.0);
  return mpv_set_property(mpv_, "volume", MPV_FORMAT_DOUBLE, &volume) >= 0;
}

std::optional<double> MpvPlayer::Duration() {
  if (!Loaded()) return 0.0;
  double duration = 0;
  if (mpv_get_property(mpv_, "duration", MPV_FORMAT_DOUBLE, &duration) < 0) return std::nullopt;
  return duration;
}

std::optional<double> MpvPlayer::CurrentPosition() {
  if (!Loaded()) return -1.0;
  if (stopped_) return 0.0;
  const std::optional<double> duration = Duration();
  if (duration && EndReached()) return *duration;
  if (heldPosition_ && Paused()) return *heldPosition_;
  double position = 0;
  if (mpv_get_property(mpv_, "time-pos", MPV_FORMAT_DOUBLE, &position) < 0) return 0.0;
  if (heldPosition_) {
    // Played on after a seek in pause: libmpv's position starts short by the
    // buffered sound and catches up within about 0.1 s.
    if (position < *heldPosition_) position = *heldPosition_;
    else heldPosition_.reset();
  }
  position = std::max(position, 0.0);
  return duration ? std::min(position, *duration) : position;
}

bool MpvPlayer::SetCurrentPosition(double seconds) {
  if (!Loaded() || stopped_) return false;
  const std::optional<double> duration = Duration();
  if (duration && seconds >= *duration) {
    // Sent to the end, or past it: the song has played. A paused file would
    // never reach libmpv's end of file, so the end is held here until the next
    // Play, Stop, Open or position write.
    if (!SeekTo(*duration) || !SetPaused(true)) return false;
    sentToEnd_ = true;
    heldPosition_.reset();
    return true;
  }
  const double target = std::max(seconds, 0.0);
  const bool paused = Paused();
  sentToEnd_ = false;
  if (!SeekTo(target)) return false;
  // After a seek in pause libmpv counts the sound it has buffered but not yet
  // played (about 0.2 s) off the position; the position sought is the truth.
  if (paused) {
    heldPosition_ = target;
  } else {
    heldPosition_.reset();
  }
  return true;
}

}  // namespace wavecrest
