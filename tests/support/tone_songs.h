#pragma once

// Songs whose sound tells where in which song a listener is: song k is a
// sine that steps to a new frequency every few seconds, every step of every
// song at a frequency of its own. They are spaced far enough apart, and kept
// clear of each other's second and third harmonics, that an MP3 encoder and
// a resampler cannot make one pass for another. Made with ffmpeg when a test
// needs them; no audio lives in the repository.
//
// A recording (16-bit mono PCM at kListenRate) is then read in short windows:
// each window is silence, one step of one song, or unclear (a change of step
// inside the window, or anything else).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wavecrest::testing {

inline constexpr int kToneSongs = 4;
inline constexpr int kToneSteps = 16;
inline constexpr double kStepSeconds = 4.0;
inline constexpr int kListenRate = 16000;
inline constexpr double kWindowSeconds = 0.25;

double ToneFrequency(int song, int step);

enum class SongFormat {
  kMp3,    // 44.1 kHz stereo, 128 kbit/s, ID3v1 (and v2) artist and title
  kWav,    // 22.05 kHz mono, 16-bit PCM
  kWma,    // WMA 2, 32 kHz stereo
};

struct SongTags {
  std::string artist, title;  // MP3 only
};

// Writes song `song` (all kToneSteps steps) to `path`; throws when ffmpeg fails.
void MakeToneSong(const std::string& path, int song, SongFormat format, const SongTags& tags = {});

struct Heard {
  enum class Kind { kSilence, kTone, kUnclear };
  Kind kind = Kind::kUnclear;
  int song = -1, step = -1;  // for a tone

  bool IsTone(int s) const { return kind == Kind::kTone && song == s; }
  bool IsSilence() const { return kind == Kind::kSilence; }
};

// What one window of samples sounds like.
Heard HearWindow(const std::int16_t* samples, std::size_t count);

std::string Describe(const Heard& heard);

}  // namespace wavecrest::testing
