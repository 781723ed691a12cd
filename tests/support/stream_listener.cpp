#include "support/stream_listener.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace wavecrest::testing {
namespace {

constexpr std::size_t kWindowSamples = static_cast<std::size_t>(kListenRate * kWindowSeconds);
constexpr std::size_t kWindowBytes = kWindowSamples * sizeof(std::int16_t);

}  // namespace

ToneListener::ToneListener(const std::string& url) {
  // No probing delay, and every decoded packet written at once: the pipe
  // then carries what the server sends as it sends it.
  ffmpeg_ = std::make_unique<ChildProcess>(std::vector<std::string>{
      "/usr/bin/ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-fflags", "nobuffer", "-probesize",
      "32768", "-analyzeduration", "0", "-i", url, "-vn", "-ac", "1", "-ar", std::to_string(kListenRate), "-f",
      "s16le", "-flush_packets", "1", "pipe:1"});
}

void ToneListener::Analyse() {
  const std::string& pcm = ffmpeg_->Out();
  std::int16_t samples[kWindowSamples];
  while (pcm.size() - heardBytes_ >= kWindowBytes) {
    std::memcpy(samples, pcm.data() + heardBytes_, kWindowBytes);
    windows_.push_back(HearWindow(samples, kWindowSamples));
    heardBytes_ += kWindowBytes;
  }
}

const std::vector<Heard>& ToneListener::Windows() {
  Analyse();
  return windows_;
}

std::optional<std::size_t> ToneListener::Await(const std::function<bool(const Heard&)>& match, double seconds,
                                               std::size_t from) {
  std::optional<std::size_t> found;
  std::size_t next = from;
  const auto done = [&] {
    Analyse();
    for (; !found && next < windows_.size(); ++next) {
      if (match(windows_[next])) found = next;
    }
    return found.has_value() || !Connected();
  };
  WaitUntil(done, seconds);
  done();  // what arrived with the end of the stream
  return found;
}

std::optional<std::size_t> ToneListener::AwaitSilence(double length, double seconds, std::size_t from) {
  const auto needed = static_cast<std::size_t>(length / kWindowSeconds + 0.5);
  std::size_t run = 0;
  const auto end = Await(
      [&](const Heard& heard) {
        run = heard.IsSilence() ? run + 1 : 0;
        return run >= needed;
      },
      seconds, from);
  if (!end) return std::nullopt;
  return *end + 1 - needed;
}

std::optional<Heard> ToneListener::LastToneBefore(std::size_t before) {
  Analyse();
  for (std::size_t i = std::min(before, windows_.size()); i-- > 0;) {
    if (windows_[i].kind == Heard::Kind::kTone) return windows_[i];
  }
  return std::nullopt;
}

std::string ToneListener::Transcript(std::size_t from) {
  Analyse();
  std::ostringstream out;
  for (std::size_t i = from; i < windows_.size();) {
    const std::string what = Describe(windows_[i]);
    std::size_t run = 0;
    for (; i < windows_.size() && Describe(windows_[i]) == what; ++i) ++run;
    out << what << " x" << run << ", ";
  }
  out << (Connected() ? "(connected)" : "(disconnected)") << " " << ffmpeg_->Err();
  return out.str();
}

TitleListener::TitleListener(const std::string& url) {
  // On a pipe mpv's messages would sit in a buffer.
  mpv_ = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/stdbuf", "-oL", "-eL", "/usr/bin/mpv",
                                                                 "--no-config", "--no-video", "--ao=null", "--quiet",
                                                                 "--no-input-terminal", url});
}

std::vector<std::string> TitleListener::Titles() const {
  // mpv lists a stream's tags under "File tags:" whenever they change.
  std::vector<std::string> titles;
  std::istringstream lines(mpv_->Out());
  const std::string key = " icy-title: ";
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(key, 0) == 0) titles.push_back(line.substr(key.size()));
  }
  return titles;
}

bool TitleListener::AwaitTitle(const std::string& title, double seconds) {
  const auto shown = [&] {
    const auto titles = Titles();
    return std::find(titles.begin(), titles.end(), title) != titles.end() || !mpv_->Running();
  };
  WaitUntil(shown, seconds);
  const auto titles = Titles();
  return std::find(titles.begin(), titles.end(), title) != titles.end();
}

}  // namespace wavecrest::testing
