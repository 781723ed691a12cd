#pragma once

// The real program as an Icecast source: one icecast2 per test on a free
// loopback port, the program in its console streaming to it, and people
// listening with ffmpeg and mpv. What a test decides, it decides from what
// the listeners heard; deadlines only guard against a hang.

#include "support/child_process.h"
#include "support/icecast_server.h"
#include "support/stream_listener.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest::testing {

// The library's songs and the tone each one is (tone_songs.h).
inline constexpr int kAlpha = 0;  // "alpha echo.mp3", tagged Zoë Vale / Echo Tide
inline constexpr int kBravo = 1;  // "bravo wave.mp3"
inline constexpr int kGamma = 2;  // "gamma low.wav", 22.05 kHz mono
inline constexpr int kDelta = 3;  // "delta wide.wma"

// How long a listener may have to wait for what the source sent: the burst
// it was given on connecting, at the stream's 128 kbit/s.
inline constexpr double kBurstSeconds = IcecastServer::kBurstBytes / 16000.0;

// The library, made once per test program: the four songs above.
inline const std::string& MusicDir() {
  static const TempTree tree;
  static const std::string dir = [] {
    const std::string music = tree.Dir("music");
    MakeToneSong(music + "/alpha echo.mp3", kAlpha, SongFormat::kMp3, {"Zoë Vale", "Echo Tide"});
    MakeToneSong(music + "/bravo wave.mp3", kBravo, SongFormat::kMp3, {"Bram", "Wave"});
    MakeToneSong(music + "/gamma low.wav", kGamma, SongFormat::kWav);
    MakeToneSong(music + "/delta wide.wma", kDelta, SongFormat::kWma);
    return music;
  }();
  return dir;
}

class StreamE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    MusicDir();
    icecast_ = std::make_unique<IcecastServer>();
  }
  // The program is killed by its PID if a test left it running.
  void TearDown() override { program_.reset(); }

  // The source's address, on this test's server unless `port` is given.
  std::string SourceUrl(std::optional<std::uint16_t> port = std::nullopt) const {
    return "icecast://source@127.0.0.1:" + std::to_string(port.value_or(icecast_->Port())) + "/live";
  }
  std::string ListenUrl() const { return icecast_->ListenUrl("/live"); }

  // Starts the program as member "dj" on the library with extension `ext`,
  // streaming to `url` with `password` in its environment; waits for its welcome.
  void StartProgram(const std::string& url, const std::string& password, const std::string& ext = "mp3") {
    std::ofstream(tree_.Path("wavecrest.dat"))
        << "[settings]\nscreen name=dj\ndirectory=" << MusicDir() << "/\next=" << ext << "\n";
    program_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{WAVECREST_BINARY, "--console", "--raw", "--settings", tree_.Path("wavecrest.dat"),
                                 "--member", "dj", "--stream", url},
        std::vector<std::string>{"WAVECREST_AUDIO_OUT=null", "WAVECREST_STREAM_PASSWORD=" + password});
    const auto welcomed = [&] { return program_->Out().find("welcome - ") != std::string::npos || !program_->Running(); };
    ASSERT_TRUE(WaitUntil(welcomed, 60) && program_->Running()) << "no welcome; stderr: " << program_->Err();
  }

  // As above, to this test's server, then waits until the mount is on the air.
  void StartStreaming(const std::string& ext = "mp3") {
    ASSERT_NO_FATAL_FAILURE(StartProgram(SourceUrl(), icecast_->SourcePassword(), ext));
    ASSERT_TRUE(AwaitMount(*icecast_, "/live", [](const MountStats&) { return true; }, 30))
        << "no source on /live; stderr: " << program_->Err() << "\nserver: " << icecast_->Log();
  }

  // The member types `command`; answers the member's first line after it
  // that holds `part`, waiting at most `seconds`.
  std::optional<std::string> Say(const std::string& command, const std::string& part, double seconds = 15) {
    std::size_t from = program_->Out().size();
    program_->Write(command + "\n");
    std::optional<std::string> found;
    const auto answered = [&] {
      for (auto end = program_->Out().find('\n', from); end != std::string::npos;
           end = program_->Out().find('\n', from)) {
        const std::string line = program_->Out().substr(from, end - from);
        from = end + 1;
        if (line.rfind("dj: ", 0) == 0 && line.find(part) != std::string::npos) found = line;
        if (found) return true;
      }
      return !program_->Running();
    };
    WaitUntil(answered, seconds);
    return found;
  }

  std::unique_ptr<IcecastServer> icecast_;
  std::unique_ptr<ChildProcess> program_;
  TempTree tree_;
};

inline auto Song(int song) {
  return [song](const Heard& heard) { return heard.IsTone(song); };
}

}  // namespace wavecrest::testing
