#pragma once

// The running system: the two windows' models, the timers, and the ports it
// works through. One Bot lives for the whole run; every handler receives it.

#include "core/chat_client.h"
#include "core/chat_scanner.h"
#include "core/directory_reader.h"
#include "core/event_loop.h"
#include "core/form1.h"
#include "core/form2.h"
#include "core/instance_lock.h"
#include "core/settings_store.h"
#include "core/views.h"
#include "core/media_player.h"

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace wavecrest {

struct CommandEntry;

// The platform interfaces the system works through, all owned by the
// front-end and outliving the Bot.
struct Ports {
  EventLoop& loop;
  SettingsStore& settings;
  ChatClient& chat;
  ChatScanner& scanner;
  MediaPlayer& player;
  MainView& mainView;
  MatchesView& matchesView;
  InstanceLock& instanceLock;
  DirectoryReader& directories;
};

inline constexpr const char* kSettingsSection = "settings";

// Counts a running handler for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
  ~BusyScope() { --depth_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int& depth_;
};

// Handlers reach the ports as bot.loop, bot.player and so on.
class Bot : public Ports {
 public:
  explicit Bot(const Ports& ports);
  Bot(const Bot&) = delete;
  Bot& operator=(const Bot&) = delete;

  Form1 form1;
  Form2 form2;

  // The five timers of the main window, disabled until something enables
  // them. Each calls its handler below when it fires.
  std::unique_ptr<Timer> Timer1;    // 500 ms: the now-playing display
  std::unique_ptr<Timer> tmrIdle;   // 60000 ms: idle announcements
  std::unique_ptr<Timer> tmrCon;    // 1000 ms: continuous play
  std::unique_ptr<Timer> tmrOrder;  // 1000 ms: order play
  std::unique_ptr<Timer> tmrRep;    // 1000 ms: repeat play
  std::function<void()> Timer1_Timer, tmrIdle_Timer, tmrCon_Timer, tmrOrder_Timer, tmrRep_Timer;

  // The command table the dispatcher walks.
  std::span<const CommandEntry> commandTable;

  // Host name announced by `adv`.
  std::string downloadHost = "wavecrest.example.org";

  // Settings of the one section the system uses.
  std::string ReadSetting(std::string_view key) { return settings.ReadIni(kSettingsSection, key); }
  void WriteSetting(std::string_view key, std::string_view value) {
    settings.WriteIni(kSettingsSection, key, value);
  }

  // Sets the screen-name box; every change is saved at once (Text1_Change).
  void SetText1(std::string text);

  // How many handlers (chat lines, timer ticks, window actions) are running
  // now, nested ones included. Front-ends wait for 0 before they call an
  // action finished.
  int busyDepth = 0;

  // Ends the program: no handler runs after this returns to the event loop.
  void End();
  bool Ended() const { return ended_; }
  std::function<void()> onEnd;

 private:
  bool ended_ = false;
};

}  // namespace wavecrest
