// The media player on libmpv: how long an Open takes until the length can be
// read, and how much processor a song costs while it plays (or waits paused)
// with nothing else happening but the program's own polling.
//
// Sound goes to libmpv's silent output unless WAVECREST_AUDIO_OUT says
// otherwise; the files come from assets/make-test-audio.sh.
#include "app/mpv/mpv_player.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

constexpr int kToneSeconds = 7;
constexpr int kMeasuredMilliseconds = 5000;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "wavecrest_bench";
  static char* argv[] = {name, nullptr};
  if (QCoreApplication::instance() == nullptr) static QCoreApplication app(argc, argv);
}

fs::path AudioDir() {
  static const fs::path dir = [] {
    const fs::path target = fs::temp_directory_path() / ("wavecrest-bench-audio-" + std::to_string(::getpid()));
    const fs::path script = fs::path(__FILE__).parent_path().parent_path() / "assets/make-test-audio.sh";
    const std::string command =
        "bash '" + script.string() + "' '" + target.string() + "' " + std::to_string(kToneSeconds);
    if (std::system(command.c_str()) != 0) return fs::path();
    return target;
  }();
  return dir;
}

const char* const kFormats[] = {"mp3", "wav", "wma"};

std::string Tone(const benchmark::State& state) {
  return (AudioDir() / (std::string("tone.") + kFormats[state.range(0)])).string();
}

bool Prepare(benchmark::State& state) {
  EnsureApplication();
  if (AudioDir().empty()) {
    state.SkipWithError("assets/make-test-audio.sh failed (is ffmpeg installed?)");
    return false;
  }
  state.SetLabel(kFormats[state.range(0)]);
  return true;
}

double ProcessorSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Open returns once the file is loaded and playing, so its own duration is the
// time until Duration is readable.
void BM_MpvOpenToReadableDuration(benchmark::State& state) {
  if (!Prepare(state)) return;
  MpvPlayer player(MpvPlayerOptions{"null", {}});
  const std::string file = Tone(state);
  for (auto _ : state) {
    if (!player.Open(file) || player.Duration().value_or(0) <= 0) {
      state.SkipWithError("the file did not open");
      return;
    }
  }
}
BENCHMARK(BM_MpvOpenToReadableDuration)->DenseRange(0, 2)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_MpvStartAndShutDown(benchmark::State& state) {
  EnsureApplication();
  for (auto _ : state) {
    MpvPlayer player(MpvPlayerOptions{"null", {}});
    benchmark::DoNotOptimize(player.Started());
  }
}
BENCHMARK(BM_MpvStartAndShutDown)->UseRealTime()->Unit(benchmark::kMillisecond);

enum class While { Playing, Paused };

// Plays for five seconds on the Qt loop with the program's own polling: the
// now-playing display's two reads twice a second and a play mode's two reads
// once a second. The processor time counts every thread of the process.
void MeasureProcessor(benchmark::State& state, While what) {
  if (!Prepare(state)) return;
  MpvPlayer player;
  const std::string file = Tone(state);
  for (auto _ : state) {
    if (!player.Open(file) || (what == While::Paused && !player.Pause())) {
      state.SkipWithError("the file did not open");
      return;
    }
    double sink = 0;
    QTimer display;
    QObject::connect(&display, &QTimer::timeout,
                     [&] { sink += player.CurrentPosition().value_or(0) + player.Duration().value_or(0); });
    display.start(500);
    QTimer mode;
    QObject::connect(&mode, &QTimer::timeout,
                     [&] { sink += player.CurrentPosition() == player.Duration() ? 1 : 0; });
    mode.start(1000);
    QEventLoop loop;
    QTimer::singleShot(kMeasuredMilliseconds, &loop, &QEventLoop::quit);
    const double before = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    loop.exec();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double used = ProcessorSeconds() - before;
    benchmark::DoNotOptimize(sink);
    state.counters["cpu_percent_of_one_core"] = 100.0 * used / wall;
    state.counters["still_playing"] = player.PlayState() == (what == While::Paused ? PlayStateValue::Paused : PlayStateValue::Playing);
  }
}

void BM_MpvProcessorWhilePlaying(benchmark::State& state) { MeasureProcessor(state, While::Playing); }
BENCHMARK(BM_MpvProcessorWhilePlaying)->DenseRange(0, 2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void BM_MpvProcessorWhilePaused(benchmark::State& state) { MeasureProcessor(state, While::Paused); }
BENCHMARK(BM_MpvProcessorWhilePaused)->DenseRange(0, 0)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
}  // namespace wavecrest
