#include "app/mpv/mpv_player.h"

#include "core/diagnostics.h"

#include <mpv/client.h>

#include <QObject>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace wavecrest {
namespace {

// A local file loads in milliseconds; these only bound a stuck load or seek.
constexpr double kOpenTimeoutSeconds = 10.0;
constexpr double kSeekTimeoutSeconds = 5.0;

void SetOption(mpv_handle* mpv, const std::string& name, const std::string& value) {
  mpv_set_option_string(mpv, name.c_str(), value.c_str());
}

void ApplyAudioOutput(mpv_handle* mpv, const std::string& audioOutput) {
  if (audioOutput.empty()) return;
  const auto colon = audioOutput.find(':');
  const std::string driver = audioOutput.substr(0, colon);
  SetOption(mpv, "ao", driver);
  if (driver == "pcm" && colon != std::string::npos) {
    SetOption(mpv, "ao-pcm-file", audioOutput.substr(colon + 1));
  }
}

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

MpvPlayerOptions MpvPlayerOptionsFromEnvironment() {
  MpvPlayerOptions options;
  if (const char* out = std::getenv("WAVECREST_AUDIO_OUT")) options.audioOutput = out;
  return options;
}

MpvPlayer::MpvPlayer(const MpvPlayerOptions& options) : receiver_(std::make_unique<QObject>()) {
  // Qt has set LC_NUMERIC from the environment; libmpv parses numbers with the
  // C library and will not start under any other numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  mpv_ = mpv_create();
  if (mpv_ == nullptr) return;
  // Sound only: no video output, no cover art shown as video, no key bindings,
  // scripts or configuration files of the user's own mpv.
  SetOption(mpv_, "vid", "no");
  SetOption(mpv_, "audio-display", "no");
  SetOption(mpv_, "vo", "null");
  SetOption(mpv_, "config", "no");
  SetOption(mpv_, "load-scripts", "no");
  SetOption(mpv_, "ytdl", "no");
  SetOption(mpv_, "input-default-bindings", "no");
  SetOption(mpv_, "terminal", "no");
  SetOption(mpv_, "idle", "yes");
  // Keep a finished file loaded, so its position and length stay readable.
  SetOption(mpv_, "keep-open", "yes");
  // Float samples: the volume gain is then applied without 16-bit rounding.
  SetOption(mpv_, "audio-format", "float");
  // A machine without a sound card plays silently instead of failing.
  SetOption(mpv_, "audio-fallback-to-null", "yes");
  SetOption(mpv_, "audio-client-name", "wavecrest");
  ApplyAudioOutput(mpv_, options.audioOutput);
  for (const auto& [name, value] : options.extraOptions) SetOption(mpv_, name, value);
  if (mpv_initialize(mpv_) < 0) {
    mpv_terminate_destroy(mpv_);
    mpv_ = nullptr;
    return;
  }
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
    Handle(*event);
  }
}

void MpvPlayer::Handle(const mpv_event& event) {
  if (event.event_id != MPV_EVENT_END_FILE) return;
  const auto* end = static_cast<const mpv_event_end_file*>(event.data);
  // The loaded file went away (a read error, or an unload we did not ask for).
  // The end of the file itself raises no such event: keep-open holds it loaded.
  if (end->playlist_entry_id == entryId_ && end->reason != MPV_END_FILE_REASON_EOF) {
    fileName_.clear();
    entryId_ = -1;
    stopped_ = false;
    atEnd_ = false;
    heldPosition_.reset();
  }
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
    Handle(*event);
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
  fileName_.clear();
  entryId_ = -1;
  stopped_ = false;
  atEnd_ = false;
  heldPosition_.reset();
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

  enum class Outcome { Waiting, Loaded, Failed } outcome = Outcome::Waiting;
  bool ours = false;
  std::string why = "it did not load within " + std::to_string(static_cast<int>(kOpenTimeoutSeconds)) + " s";
  WaitFor(kOpenTimeoutSeconds, [&](const mpv_event& event) {
    if (event.event_id == MPV_EVENT_START_FILE) {
      const auto* start = static_cast<const mpv_event_start_file*>(event.data);
      ours = !id || start->playlist_entry_id == *id;
    } else if (event.event_id == MPV_EVENT_END_FILE && ours) {
      outcome = Outcome::Failed;
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      why = end->reason == MPV_END_FILE_REASON_ERROR ? mpv_error_string(end->error) : "it ended while loading";
    } else if (event.event_id == MPV_EVENT_FILE_LOADED && ours) {
      outcome = Outcome::Loaded;
    } else if (event.event_id == MPV_EVENT_PLAYBACK_RESTART && outcome == Outcome::Loaded) {
      return true;  // sound is on its way: the position is now meaningful
    }
    return outcome == Outcome::Failed;
  });
  if (outcome != Outcome::Loaded) {
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

bool MpvPlayer::SetPaused(bool paused) {
  int flag = paused ? 1 : 0;
  return mpv_set_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag) >= 0;
}

bool MpvPlayer::EndReached() {
  if (atEnd_) return true;
  int flag = 0;
  return mpv_get_property(mpv_, "eof-reached", MPV_FORMAT_FLAG, &flag) >= 0 && flag != 0;
}

bool MpvPlayer::Paused() {
  int flag = 0;
  return mpv_get_property(mpv_, "pause", MPV_FORMAT_FLAG, &flag) >= 0 && flag != 0;
}

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
  atEnd_ = false;
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
  atEnd_ = false;
  heldPosition_.reset();
  return true;
}

std::optional<std::string> MpvPlayer::FileName() { return fileName_; }

std::optional<int> MpvPlayer::PlayState() {
  if (!Loaded() || stopped_) return static_cast<int>(PlayStateValue::Stopped);
  if (EndReached()) return static_cast<int>(PlayStateValue::Stopped);
  int paused = 0;
  if (mpv_get_property(mpv_, "pause", MPV_FORMAT_FLAG, &paused) < 0) return std::nullopt;
  return static_cast<int>(paused != 0 ? PlayStateValue::Paused : PlayStateValue::Playing);
}

std::optional<bool> MpvPlayer::Mute() {
  if (mpv_ == nullptr) return std::nullopt;
  int flag = 0;
  if (mpv_get_property(mpv_, "mute", MPV_FORMAT_FLAG, &flag) < 0) return std::nullopt;
  return flag != 0;
}

bool MpvPlayer::SetMute(bool mute) {
  if (mpv_ == nullptr) return false;
  int flag = mute ? 1 : 0;
  return mpv_set_property(mpv_, "mute", MPV_FORMAT_FLAG, &flag) >= 0;
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
    atEnd_ = true;
    heldPosition_.reset();
    return true;
  }
  const double target = std::max(seconds, 0.0);
  const bool paused = Paused();
  atEnd_ = false;
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
