// The media player on real libmpv, playing tiny generated files through a
// silent or file-writing audio output.
#include "app/mpv/mpv_player.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr double kToneSeconds = 2.0;  // what assets/make-test-audio.sh writes

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "wavecrest_tests";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) static QCoreApplication app(argc, argv);
}

// The generated files, made once per script version and shared by the test
// processes: a fresh directory is filled, then renamed into place.
fs::path AudioDir() {
  static const fs::path dir = [] {
    const fs::path script = fs::path(WAVECREST_SOURCE_DIR) / "assets/make-test-audio.sh";
    std::ifstream in(script, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const fs::path target = fs::temp_directory_path() /
                            ("wavecrest-test-audio-" + std::to_string(std::hash<std::string>{}(text)));
    if (fs::exists(target / "tone.wma")) return target;
    const fs::path fresh = target.string() + ".new-" + std::to_string(::getpid());
    const std::string command = "bash '" + script.string() + "' '" + fresh.string() + "' >/dev/null";
    if (std::system(command.c_str()) != 0) return fs::path();
    std::error_code error;
    fs::rename(fresh, target, error);
    if (error) fs::remove_all(fresh);  // another process got there first
    return target;
  }();
  return dir;
}

bool FfmpegPresent() { return std::system("command -v ffmpeg >/dev/null 2>&1") == 0; }

// Lets the Qt loop run until done() holds or the timeout passes. The player
// wakes the loop with libmpv's events (a file ending is one); a position moving
// raises none, so a light poll wakes it as well.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s) {
  bool expired = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] { expired = true; });
  guard.start(timeout);
  QTimer poll;
  poll.start(20ms);
  while (!done()) {
    if (expired) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

bool Ended(MediaPlayer& player) {
  const auto position = player.CurrentPosition();
  const auto duration = player.Duration();
  return position && duration && *position == *duration;
}

class MpvPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!FfmpegPresent()) GTEST_SKIP() << "ffmpeg is needed to make the test audio";
    EnsureApplication();
    ASSERT_FALSE(AudioDir().empty()) << "assets/make-test-audio.sh failed";
  }
  static std::string Tone(const std::string& extension) { return (AudioDir() / ("tone." + extension)).string(); }
  static MpvPlayerOptions Silent() { return MpvPlayerOptions{"null", {}}; }
};

class MpvPlayerFormatTest : public MpvPlayerTest, public ::testing::WithParamInterface<const char*> {
 protected:
  std::string File() const { return Tone(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Formats, MpvPlayerFormatTest, ::testing::Values("mp3", "wav", "wma"));

TEST_P(MpvPlayerFormatTest, OpenPlaysAtOnceAndTheLengthIsReadableWhenItReturns) {
  MpvPlayer player(Silent());
  ASSERT_TRUE(player.Started());
  ASSERT_TRUE(player.Open(File()));
  EXPECT_EQ(player.FileName(), File());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  const auto duration = player.Duration();
  ASSERT_TRUE(duration);
  EXPECT_NEAR(*duration, kToneSeconds, 0.050);
  const auto position = player.CurrentPosition();
  ASSERT_TRUE(position);
  EXPECT_GE(*position, 0.0);
  EXPECT_LT(*position, *duration);
}

TEST_P(MpvPlayerFormatTest, PlayedToItsEndThePositionEqualsTheDurationExactly) {
  MpvPlayer player(Silent());
  ASSERT_TRUE(player.Open(File()));
  ASSERT_FALSE(Ended(player));
  ASSERT_TRUE(PumpUntil([&] { return Ended(player); }));
  EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
  EXPECT_EQ(player.FileName(), File());
  // It stays at its end, loaded, while nothing else happens.
  ASSERT_TRUE(PumpUntil([&] { return true; }, 100ms));
  EXPECT_TRUE(Ended(player));
  // An ended file cannot be paused; Play starts it again from its beginning.
  EXPECT_FALSE(player.Pause());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  EXPECT_LT(*player.CurrentPosition(), 0.5);
}

TEST_P(MpvPlayerFormatTest, PauseHaltsAndPlayGoesOnFromThere) {
  MpvPlayer player(Silent());
  ASSERT_TRUE(player.Open(File()));
  ASSERT_TRUE(player.Pause());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Paused);
  const double halted = *player.CurrentPosition();
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  ASSERT_TRUE(PumpUntil([&] { return *player.CurrentPosition() > halted + 0.2; }));
  EXPECT_FALSE(Ended(player));
}

TEST_P(MpvPlayerFormatTest, StopRewindsKeepsTheFileAndIsNotTakenForAnEnd) {
  MpvPlayer player(Silent());
  ASSERT_TRUE(player.Open(File()));
  ASSERT_TRUE(player.SetCurrentPosition(1.0));
  ASSERT_TRUE(player.Stop());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
  EXPECT_EQ(player.FileName(), File());
  EXPECT_EQ(player.CurrentPosition(), 0.0);
  EXPECT_NEAR(*player.Duration(), kToneSeconds, 0.050);
  EXPECT_FALSE(Ended(player));
  EXPECT_FALSE(player.Pause());
  EXPECT_FALSE(player.SetCurrentPosition(1.0));
  EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
  // Stopping an ended file rewinds it too, so the end is no longer seen.
  ASSERT_TRUE(player.Play());
  ASSERT_TRUE(player.SetCurrentPosition(99));
  ASSERT_TRUE(Ended(player));
  ASSERT_TRUE(player.Stop());
  EXPECT_FALSE(Ended(player));
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  EXPECT_LT(*player.CurrentPosition(), 0.5);
}

TEST_P(MpvPlayerFormatTest, PositionWritesSeekExactlyAndClampToTheFile) {
  struct Case {
    double target;
    bool paused;
    double expected;  // < 0: the duration
    PlayStateValue state;
  };
  const Case cases[] = {
      {1.0, true, 1.0, PlayStateValue::Paused},     // paused stays paused, where it was sent
      {0.5, false, 0.5, PlayStateValue::Playing},   // playing goes on playing from there
      {-3.0, true, 0.0, PlayStateValue::Paused},    // before the start: the start
      {2.5, false, -1, PlayStateValue::Stopped},    // beyond the end: the end, so the song has ended
      {1e9, true, -1, PlayStateValue::Stopped},
  };
  MpvPlayer player(Silent());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    ASSERT_TRUE(player.Open(File()));
    if (c.paused) {
      ASSERT_TRUE(player.Pause());
    }
    ASSERT_TRUE(player.SetCurrentPosition(c.target));
    const double duration = *player.Duration();
    const double expected = c.expected < 0 ? duration : c.expected;
    const double position = *player.CurrentPosition();
    if (c.expected < 0) {
      EXPECT_EQ(position, duration);
    } else if (c.paused) {
      EXPECT_NEAR(position, expected, 0.001);
    } else {
      EXPECT_NEAR(position, expected, 0.1);
    }
    EXPECT_EQ(player.PlayState(), c.state);
  }
  // Sent back from its end, the file waits paused there; Play goes on from it.
  ASSERT_TRUE(player.SetCurrentPosition(1.0));
  EXPECT_EQ(player.PlayState(), PlayStateValue::Paused);
  EXPECT_NEAR(*player.CurrentPosition(), 1.0, 0.001);
  ASSERT_TRUE(player.Play());
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  EXPECT_NEAR(*player.CurrentPosition(), 1.0, 0.1);
}

TEST_F(MpvPlayerTest, MuteReadsBackWhatWasWrittenAndOutlivesALoadWhilePauseDoesNot) {
  MpvPlayer player(Silent());
  EXPECT_EQ(player.Mute(), false);
  for (const bool mute : {true, false, true}) {
    ASSERT_TRUE(player.SetMute(mute));
    EXPECT_EQ(player.Mute(), mute);
  }
  ASSERT_TRUE(player.Open(Tone("wav")));
  ASSERT_TRUE(player.Pause());
  ASSERT_TRUE(player.Open(Tone("mp3")));
  EXPECT_EQ(player.Mute(), true);
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  ASSERT_TRUE(player.SetMute(false));
  EXPECT_EQ(player.Mute(), false);
}

TEST_F(MpvPlayerTest, WhatCannotBeOpenedFailsAndLeavesThePlayerEmpty) {
  const fs::path dir = fs::temp_directory_path() / ("wavecrest-mpv-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "notes.mp3") << "these are not the sounds you are looking for\n";
  const std::string paths[] = {
      (dir / "missing.mp3").string(),
      dir.string(),
      (dir / "notes.mp3").string(),
      "",
  };
  MpvPlayer player(Silent());
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(player.Open(Tone("wav")));  // something playing before
    EXPECT_FALSE(player.Open(path));
    if (path.empty()) continue;  // an empty path is refused before anything changes
    EXPECT_EQ(player.FileName(), "");
    EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
    // Unequal, so a play mode does not take the empty player for an ended song.
    EXPECT_EQ(player.CurrentPosition(), -1.0);
    EXPECT_EQ(player.Duration(), 0.0);
    EXPECT_FALSE(player.Play());
    EXPECT_FALSE(player.Pause());
    EXPECT_FALSE(player.Stop());
    EXPECT_FALSE(player.SetCurrentPosition(1.0));
  }
  // Still able to play afterwards.
  ASSERT_TRUE(player.Open(Tone("mp3")));
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  fs::remove_all(dir);
}

TEST_F(MpvPlayerTest, AFileThatDoesNotLoadIsSkippedWhileEventsRun) {
  // A FIFO without a writer never delivers a byte: its load cannot finish.
  const fs::path dir = fs::temp_directory_path() / ("wavecrest-mpv-fifo-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path fifo = dir / "slow.mp3";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  MpvPlayer player(Silent());
  bool otherEventRan = false;
  QTimer::singleShot(0, [&] { otherEventRan = true; });
  EXPECT_FALSE(player.Open(fifo.string()));
  EXPECT_TRUE(otherEventRan) << "the wait for the load let no event run";
  EXPECT_EQ(player.FileName(), "");
  // Let libmpv's reader go: a writer that leaves at once ends the FIFO.
  const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) ::close(writer);
  ASSERT_TRUE(player.Open(Tone("mp3")));
  EXPECT_EQ(player.PlayState(), PlayStateValue::Playing);
  fs::remove_all(dir);
}

TEST_F(MpvPlayerTest, ANewPlayerIsEmptyAndNotTakenForAnEndedSong) {
  MpvPlayer player(Silent());
  EXPECT_EQ(player.FileName(), "");
  EXPECT_EQ(player.PlayState(), PlayStateValue::Stopped);
  EXPECT_EQ(player.CurrentPosition(), -1.0);
  EXPECT_EQ(player.Duration(), 0.0);
  EXPECT_FALSE(Ended(player));
}

// ---- the volume, measured on the output ----

// The samples of a 32-bit float WAV as the "pcm" output writes it.
std::vector<float> ReadFloatWav(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return {};
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
  };
  auto u16 = [&](std::size_t at) {
    std::uint16_t v = 0;
    std::memcpy(&v, bytes.data() + at, 2);
    return v;
  };
  bool isFloat = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    const std::size_t size = u32(at + 4);
    const std::size_t body = at + 8;
    if (id == "fmt " && body + 16 <= bytes.size()) {
      const std::uint16_t tag = u16(body);
      // 3 is IEEE float; 0xFFFE (extensible) names it in its subformat.
      const bool floatTag = tag == 3 || (tag == 0xFFFE && body + 26 <= bytes.size() && u16(body + 24) == 3);
      isFloat = floatTag && u16(body + 14) == 32;
    } else if (id == "data") {
      if (!isFloat) return {};
      const std::size_t end = std::min(bytes.size(), body + size);
      std::vector<float> samples((end - body) / 4);
      std::memcpy(samples.data(), bytes.data() + body, samples.size() * 4);
      return samples;
    }
    at = body + size + (size & 1);
  }
  return {};
}

double Rms(const std::vector<float>& samples) {
  double sum = 0;
  for (const float s : samples) sum += static_cast<double>(s) * s;
  return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

class MpvPlayerVolumeTest : public MpvPlayerFormatTest {
 protected:
  // Plays the whole file at the level into a WAV file and gives its samples.
  std::vector<float> Capture(int hundredthsOfDecibel) {
    const fs::path wav = fs::temp_directory_path() /
                         ("wavecrest-capture-" + std::to_string(::getpid()) + "-" + GetParam() + "-" +
                          std::to_string(-hundredthsOfDecibel) + ".wav");
    {
      MpvPlayer player(MpvPlayerOptions{"pcm:" + wav.string(), {}});
      EXPECT_TRUE(player.SetVolume(hundredthsOfDecibel));
      EXPECT_TRUE(player.Open(File()));
      EXPECT_TRUE(PumpUntil([&] { return Ended(player); }));
    }  // closing the output completes the file
    std::vector<float> samples = ReadFloatWav(wav);
    fs::remove(wav);
    return samples;
  }
};

INSTANTIATE_TEST_SUITE_P(Formats, MpvPlayerVolumeTest, ::testing::Values("mp3", "wav", "wma"));

TEST_P(MpvPlayerVolumeTest, TheLevelWrittenIsTheAttenuationHeard) {
  const std::vector<float> full = Capture(0);
  ASSERT_GT(full.size(), static_cast<std::size_t>(kToneSeconds * 44100 * 2 * 0.95));
  const double fullRms = Rms(full);
  ASSERT_GT(fullRms, 0.01);
  struct Case {
    int level;
    double decibels;
  };
  for (const Case c : {Case{-1250, -12.5}, Case{-2475, -24.75}}) {
    SCOPED_TRACE(c.level);
    const std::vector<float> quieter = Capture(c.level);
    ASSERT_EQ(quieter.size(), full.size());
    EXPECT_NEAR(20 * std::log10(Rms(quieter) / fullRms), c.decibels, 0.1);
  }
}


}  // namespace
}  // namespace wavecrest
