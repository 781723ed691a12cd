#pragma once

// Fakes of the ports, for unit tests: they record what the system did and
// answer what the test says.

#include "app/files/posix_directory_reader.h"
#include "core/bot.h"
#include "core/ini_text.h"
#include "core/text.h"
#include "support/virtual_event_loop.h"

#include <map>
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

  bool Open(const std::string& path) override {
    opened.push_back(path);
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
  int reads = 0;
  std::optional<TagFields> ReadId3v2(const std::string& path) override {
    ++reads;
    const auto found = tags.find(path);
    if (found == tags.end()) return std::nullopt;
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

// A whole system on fakes and virtual time.
struct TestBot {
  explicit TestBot(const BotRoutines& routines = NoRoutines())
      : bot(Ports{loop, settings, chat, scanner, player, mainView, matchesView, instanceLock, directories, tags}, routines, [] {}) {}
  VirtualEventLoop loop;
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
