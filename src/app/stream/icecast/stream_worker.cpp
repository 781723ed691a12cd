#include "app/stream/icecast/stream_worker.h"

#include "app/stream/icecast/mp3_encoder.h"
#include "app/stream/icecast/song_decoder.h"
#include "app/stream/icecast/source_link.h"
#include "app/stream/icecast/title_sender.h"
#include "core/diagnostics.h"
#include "core/event_loop.h"

#include <signal.h>

#include <algorithm>
#include <array>
#include <chrono>

namespace wavecrest {
namespace {

using Clock = std::chrono::steady_clock;

// One MP3 frame of sound, in the clock's own units.
constexpr auto kFrameTime = std::chrono::duration_cast<Clock::duration>(
    std::chrono::duration<double>(static_cast<double>(kMp3FrameSamples) / kStreamRate));
// Sound is made up to this far ahead of the clock, so that a late wake-up of
// the thread never starves the server, and no further, so that a new song is
// heard at once (a change wakes the thread at once, whatever is made ahead).
constexpr auto kLead = std::chrono::milliseconds(120);
// The thread wakes when the sound made ahead is down to kLead - kBatch: a few
// frames at a time, not one wake-up for each 26 ms frame.
constexpr auto kBatch = std::chrono::milliseconds(90);
// A thread held up longer than this (a stalled disk) drops the sound it
// missed rather than send it late: the stream stays on time.
constexpr auto kMaxLag = std::chrono::seconds(1);

}  // namespace

void IgnoreBrokenPipes() {
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
}

// The worker's own state: touched by the worker thread alone.
class StreamWorker::Turns {
 public:
  Turns(const StreamSettings& settings, EventLoop& loop)
      : settings_(settings), loop_(loop), link_(settings, loop), titles_(settings), name_(settings.name) {}

  void Apply(const Command& command);
  // Drives the connection and makes the sound due by `now`; the time of the
  // next turn.
  Clock::time_point Turn(Clock::time_point now);

 private:
  void MakeFrame();
  void OpenSong(const std::string& path, double seconds);
  void SetTitle(const std::string& title);

  const StreamSettings& settings_;
  EventLoop& loop_;
  SourceLink link_;
  TitleSender titles_;
  std::unique_ptr<Mp3Encoder> encoder_;
  std::unique_ptr<SongDecoder> song_;
  std::string path_;   // the song the player plays; empty: none
  std::string title_;  // what listeners see
  std::string name_;
  bool playing_ = false;
  Clock::time_point start_ = Clock::now();
  long long frames_ = 0;  // frames made since start_
  std::vector<std::uint8_t> encoded_;
};

void StreamWorker::Turns::SetTitle(const std::string& title) {
  title_ = title;
  if (link_.Up()) titles_.Send(title_);
}

void StreamWorker::Turns::OpenSong(const std::string& path, double seconds) {
  std::string why;
  song_ = SongDecoder::Open(path, seconds, why);
  if (song_) return;
  // The player's own behaviour does not change; the stream carries silence.
  loop_.Post([note = "the stream carries silence for " + path + ": " + why] { Diagnose(note); });
}

void StreamWorker::Turns::Apply(const Command& command) {
  switch (command.change) {
    case Change::Open:
      path_ = command.text;
      playing_ = true;
      OpenSong(path_, command.seconds);
      SetTitle(command.title);
      break;
    case Change::Pause:
      playing_ = false;
      break;
    case Change::Resume:
      playing_ = !path_.empty();
      break;
    case Change::Seek:
      if (!path_.empty()) OpenSong(path_, command.seconds);
      break;
    case Change::Stop:
      path_.clear();
      song_.reset();
      playing_ = false;
      SetTitle("");
      break;
    case Change::Name:
      name_ = command.text;
      break;
  }
}

void StreamWorker::Turns::MakeFrame() {
  std::array<float, kMp3FrameSamples> left{}, right{};
  if (song_ && playing_) {
    const int got = song_->Read(left.data(), right.data(), kMp3FrameSamples);
    if (got < kMp3FrameSamples) {
      // Played to its end: silence, and no title while nothing plays.
      song_.reset();
      SetTitle("");
    }
  }
  // The sound is made whether or not the server listens: the song's clock
  // runs on while the connection is down.
  if (!link_.Up()) return;
  if (!encoder_) {
    std::string why;
    encoder_ = Mp3Encoder::Create(settings_.kbps, why);
    if (!encoder_) {
      link_.Fail({Trouble::Refused, why});
      return;
    }
  }
  encoded_.clear();
  if (link_.Congested()) {
    link_.Send(encoded_);  // pushes what waits; this frame is dropped
    return;
  }
  if (encoder_->Encode(left.data(), right.data(), encoded_)) link_.Send(encoded_);
}

Clock::time_point StreamWorker::Turns::Turn(Clock::time_point now) {
  if (link_.Drive(now, name_) == SourceLink::Event::CameUp) {
    encoder_.reset();  // a new connection starts a fresh MP3 stream
    titles_.Send(title_);
  }
  if (now - (start_ + frames_ * kFrameTime) > kMaxLag) {
    // Held up: the sound missed is skipped, song and all.
    const long long missed = (now - (start_ + frames_ * kFrameTime)) / kFrameTime;
    std::array<float, kMp3FrameSamples> drop{};
    for (long long i = 0; i < missed && song_ && playing_; ++i) {
      if (song_->Read(drop.data(), drop.data(), kMp3FrameSamples) < kMp3FrameSamples) song_.reset();
    }
    frames_ += missed;
  }
  while (start_ + frames_ * kFrameTime <= now + kLead) {
    MakeFrame();
    ++frames_;
  }
  const Clock::time_point nextFrame = start_ + frames_ * kFrameTime - (kLead - kBatch);
  return std::min(nextFrame, link_.NextAttempt());
}

StreamWorker::StreamWorker(const StreamSettings& settings, EventLoop& loop)
    : settings_(settings), loop_(loop), thread_(&StreamWorker::Run, this) {}

StreamWorker::~StreamWorker() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  woken_.notify_all();
  thread_.join();
}

void StreamWorker::Tell(Command command) {
  {
    const std::lock_guard lock(mutex_);
    commands_.push_back(std::move(command));
  }
  woken_.notify_all();
}

void StreamWorker::Run() {
  IgnoreBrokenPipes();
  Turns turns(settings_, loop_);
  std::vector<Command> commands;
  std::unique_lock lock(mutex_);
  while (!quit_) {
    commands.swap(commands_);
    lock.unlock();
    for (const Command& command : commands) turns.Apply(command);
    commands.clear();
    const Clock::time_point next = turns.Turn(Clock::now());
    lock.lock();
    woken_.wait_until(lock, next, [this] { return quit_ || !commands_.empty(); });
  }
}

}  // namespace wavecrest
