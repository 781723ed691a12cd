#pragma once

// Fakes of the ports, for unit tests: they record what the system did and
// answer what the test says.

#include "app/files/posix_directory_reader.h"
#include "core/bot.h"
#include "core/ini_text.h"
#include "core/text.h"
#include "support/virtual_event_loop.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest::testing {

// A settings file held in memory, with the same INI rules as the real one.
class MemorySettings final : public SettingsStore {
 public:
  std::string content;
  bool failWrites = false;

  std::string ReadIni(std::string_view section, std::string_view key) override {
    return IniLookup(content, section, LowerCase(key)).value_or("");
  }
  bool WriteIni(std::string_view section, std::string_view key, std::string_view value) override {
    if (failWrites) return false;
    content = IniWithValue(content, section, key, value);
    return true;
  }
};

// Records every line the system says; answers a fixed client version.
class RecordingChat final : public ChatClient {
 public:
  std::vector<std::string> lines;
  std::string version = "9.0";
  std::function<void()> onSend;  // runs inside ChatSend, as events can
  void ChatSend(const std::string& line) override {
    lines.push_back(line);
    if (onSend) onSend();
  }
  std::string AolVersion() override { return version; }
  void SetAway(const std::string& reason) override { away.push_back(reason); }
  std::vector<std::string> away;
};

class FakeScanner final : public ChatScanner {
 public:
  LineHandler onLine;
  int starts = 0;
  void Start(LineHandler handler) override {
    onLine = std::move(handler);
    ++starts;
  }
};

// A player whose state the test sets; files "open" when they are in `durations`.
class FakeMediaPlayer final : public MediaPlayer {
 public:
  std::map<std::string, double> durations;  // openable files and their lengths
  std::string fileName;
  PlayStateValue playState = PlayStateValue::Stopped;
  bool mute = false;
  std::optional<int> volume;
  double position = 0;
  double duration = 0;
  bool failReads = false;
  std::vector<std::string> opened;
  std::function<void()> duringOpen;  // runs once inside the next Open, as events can

  bool Open(const std::string& path) override {
    opened.push_back(path);
    const std::size_t thisOpen = opened.size();
    if (duringOpen) std::exchange(duringOpen, nullptr)();
    if (opened.size() != thisOpen) return false;  // a later Open, made inside this one, wins
    const auto it = durations.find(path);
    if (it == durations.end()) return false;
    fileName = path;
    duration = it->second;
    position = 0;
    playState = PlayStateValue::Playing;
    return true;
  }
  bool Play() override { return Set(PlayStateValue::Playing); }
  bool Pause() override { return Set(PlayStateValue::Paused); }
  bool Stop() override { return Set(PlayStateValue::Stopped); }
  std::optional<std::string> FileName() override { return Read(fileName); }
  std::optional<PlayStateValue> PlayState() override { return Read(playState); }
  std::optional<bool> Mute() override { return Read(mute); }
  bool SetMute(bool value) override {
    mute = value;
    return true;
  }
  bool SetVolume(int value) override {
    volume = value;
    return true;
  }
  std::optional<double> CurrentPosition() override { return Read(position); }
  bool SetCurrentPosition(double seconds) override {
    if (fileName.empty()) return false;
    position = seconds;
    return true;
  }
  std::optional<double> Duration() override { return Read(duration); }

 private:
  template <typename T>
  std::optional<T> Read(const T& value) const {
    if (failReads) return std::nullopt;
    return value;
  }
  bool Set(PlayStateValue state) {
    if (fileName.empty()) return false;
    playState = state;
    return true;
  }
};

// A stream that records what it is told, one line per call ("open a.mp3 @0
// title", "pause", "resume", "seek 12", "stop", "name dj"), and answers the
// listener count the test sets, `answerAfter` seconds after each request on
// the loop (never, when unset).
class FakeAudioStream final : public AudioStream {
 public:
  explicit FakeAudioStream(VirtualEventLoop& loop) : loop_(loop) {}
  std::vector<std::string> told;
  std::string listenUrl = "http://radio.example.org:8000/live";
  std::optional<int> listeners;        // what the next answer says
  std::optional<double> answerAfter;   // seconds from the request to its answer
  std::optional<ListenerCount> count;  // the latest answer
  int refreshes = 0;

  void Open(const std::string& path, double seconds, const std::string& title) override {
    told.push_back("open " + path + " @" + Seconds(seconds) + " " + title);
  }
  void Pause() override { told.push_back("pause"); }
  void Resume() override { told.push_back("resume"); }
  void Seek(double seconds) override { told.push_back("seek " + Seconds(seconds)); }
  void Stop() override { told.push_back("stop"); }
  void SetName(const std::string& name) override { told.push_back("name " + name); }
  std::string ListenUrl() const override { return listenUrl; }
  std::optional<ListenerCount> Listeners() const override { return count; }
  void RefreshListeners() override {
    ++refreshes;
    if (!answerAfter) return;
    const std::optional<int> answer = listeners;
    const std::size_t slot = answerTimers_.size();
    const auto delay = std::chrono::milliseconds(static_cast<long long>(*answerAfter * 1000));
    // A one-shot answer: the timer turns itself off as it answers.
    answerTimers_.push_back(loop_.CreateTimer(delay, [this, answer, slot] {
      answerTimers_[slot]->SetEnabled(false);
      const unsigned serial = count ? count->serial + 1 : 1;
      count = ListenerCount{answer, loop_.SecondsSinceMidnight(), serial};
    }));
    answerTimers_.back()->SetEnabled(true);
  }

 private:
  static std::string Seconds(double seconds) {
    std::string text = std::to_string(seconds);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
  }
  VirtualEventLoop& loop_;
  std::vector<std::unique_ptr<Timer>> answerTimers_;
};

class RecordingMainView final : public MainView {
 public:
  int refreshes = 0;
  std::vector<std::string> messageBoxes;
  std::vector<bool> busyPointer;
  void Refresh() override { ++refreshes; }
  void MessageBox(std::string_view text, std::string_view title) override {
    messageBoxes.push_back(std::string(title) + ": " + std::string(text));
  }
  void SetBusyPointer(bool busy) override { busyPointer.push_back(busy); }
};

class RecordingMatchesView final : public MatchesView {
 public:
  int refreshes = 0;
  void Refresh() override { ++refreshes; }
};

// ID3v2 tags by path, as the test gives them; counts what it was asked.
class FakeTagReader final : public TagReader {
 public:
  std::map<std::string, TagFields> tags;
  std::optional<TagFields> fallback;  // the tag of every file not in `tags`
  int reads = 0;
  std::optional<TagFields> ReadId3v2(const std::string& path) override {
    ++reads;
    const auto found = tags.find(path);
    if (found == tags.end()) return fallback;
    return found->second;
  }
};

class FakeInstanceLock final : public InstanceLock {
 public:
  bool otherRunning = false;
  bool AnotherInstanceRunning() override { return otherRunning; }
};

// Routines for a Bot whose timers are not under test: ticks that change
// nothing, and the given commands or none.
inline void TickDoesNothing(Bot&) {}
inline BotRoutines NoRoutines(std::span<const CommandEntry> commandTable = {}) {
  return BotRoutines{commandTable, TickDoesNothing, TickDoesNothing, TickDoesNothing, TickDoesNothing, TickDoesNothing};
}

// Whether the Bot is given the fake stream.
enum class WithStream { No, Yes };

// A whole system on fakes and virtual time.
struct TestBot {
  explicit TestBot(const BotRoutines& routines = NoRoutines(), WithStream streaming = WithStream::No)
      : bot(Ports{loop, settings, chat, scanner, player, mainView, matchesView, instanceLock, directories, tags,
                  streaming == WithStream::Yes ? &stream : nullptr},
            routines, [] {}) {}
  VirtualEventLoop loop;
  FakeAudioStream stream{loop};
  MemorySettings settings;
  RecordingChat chat;
  FakeScanner scanner;
  FakeMediaPlayer player;
  RecordingMainView mainView;
  RecordingMatchesView matchesView;
  FakeInstanceLock instanceLock;
  PosixDirectoryReader directories;
  FakeTagReader tags;
  Bot bot;
};

}  // namespace wavecrest::testing
