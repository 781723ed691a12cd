#include "support/tone_songs.h"

#include "support/child_process.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <vector>

namespace wavecrest::testing {
namespace {

// Below this level (about -50 dBFS) a window is silence; a tone is -6 dBFS.
constexpr double kSilenceRms = 0.003;
// The share of a window's energy one frequency must hold to be heard as it:
// a step change in the middle of a window leaves each side about a quarter.
constexpr double kToneShare = 0.6;

// Goertzel: the energy of `samples` at `frequency`, as a share of all their
// energy (1 for a pure sine at that frequency).
double ShareAt(const std::int16_t* samples, std::size_t count, double frequency, double energy) {
  const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / kListenRate);
  double s1 = 0, s2 = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double s0 = samples[i] + coefficient * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
  return power / (static_cast<double>(count) * energy / 2.0);
}

std::vector<std::string> EncoderArgs(SongFormat format, const SongTags& tags) {
  switch (format) {
    case SongFormat::kMp3:
      return {"-ar", "44100", "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k", "-write_id3v1", "1",
              "-metadata", "artist=" + tags.artist, "-metadata", "title=" + tags.title};
    case SongFormat::kWav:
      return {"-ar", "22050", "-ac", "1", "-c:a", "pcm_s16le"};
    case SongFormat::kWma:
      return {"-ar", "32000", "-ac", "2", "-c:a", "wmav2", "-b:a", "128k"};
  }
  return {};
}

}  // namespace

double ToneFrequency(int song, int step) { return 377.0 + 87.0 * (song * kToneSteps + step); }

void MakeToneSong(const std::string& path, int song, SongFormat format, const SongTags& tags) {
  std::string graph, inputs;
  for (int step = 0; step < kToneSteps; ++step) {
    graph += "sine=frequency=" + std::to_string(ToneFrequency(song, step)) + ":sample_rate=44100:duration=" +
             std::to_string(kStepSeconds) + "[s" + std::to_string(step) + "];";
    inputs += "[s" + std::to_string(step) + "]";
  }
  // The sine source plays at an eighth of full scale: half is loud and clean.
  graph += inputs + "concat=n=" + std::to_string(kToneSteps) + ":v=0:a=1,volume=4[song]";
  std::vector<std::string> argv = {"/usr/bin/ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y",
                                   "-filter_complex", graph, "-map", "[song]"};
  const auto encoder = EncoderArgs(format, tags);
  argv.insert(argv.end(), encoder.begin(), encoder.end());
  argv.push_back(path);
  ChildProcess ffmpeg(argv);
  if (ffmpeg.Exit(120) != 0) throw std::runtime_error("cannot make " + path + ": " + ffmpeg.Err());
}

Heard HearWindow(const std::int16_t* samples, std::size_t count) {
  double energy = 0;
  for (std::size_t i = 0; i < count; ++i) energy += static_cast<double>(samples[i]) * samples[i];
  if (count == 0 || std::sqrt(energy / static_cast<double>(count)) / 32768.0 < kSilenceRms) {
    return {Heard::Kind::kSilence};
  }
  Heard best;
  double bestShare = kToneShare;
  for (int song = 0; song < kToneSongs; ++song) {
    for (int step = 0; step < kToneSteps; ++step) {
      const double share = ShareAt(samples, count, ToneFrequency(song, step), energy);
      if (share > bestShare) {
        bestShare = share;
        best = {Heard::Kind::kTone, song, step};
      }
    }
  }
  return best;
}

std::string Describe(const Heard& heard) {
  switch (heard.kind) {
    case Heard::Kind::kSilence:
      return "silence";
    case Heard::Kind::kTone:
      return "song " + std::to_string(heard.song) + " step " + std::to_string(heard.step);
    case Heard::Kind::kUnclear:
      break;
  }
  return "unclear";
}

}  // namespace wavecrest::testing
