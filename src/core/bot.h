#pragma once

// The running system: the two windows' models, the timers, and the ports it
// works through. One Bot lives for the whole run; every handler receives it.

#include "core/audio_stream.h"
#include "core/chat_client.h"
#include "core/chat_scanner.h"
#include "core/directory_reader.h"
#include "core/event_loop.h"
#include "core/form1.h"
#include "core/form2.h"
#include "core/instance_lock.h"
#include "core/settings_store.h"
#include "core/tag_reader.h"
#include "core/views.h"
#include "core/media_player.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace wavecrest {

struct CommandEntry;

// The platform interfaces the system works through, all owned by the
// front-end and outliving the Bot. The stream is the one a run may go
// without: nullptr unless the run streams what plays.
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
  TagReader& tags;  // ID3v2 tags, for files without an ID3v1 tag
  AudioStream* stream = nullptr;
};

inline constexpr const char* kSettingsSection = "settings";

// How deep handlers may nest before a line that arrives waits its turn:
// deeper than any ordinary pause-in-a-pause, and far from the stack's end.
inline constexpr int kMaxNesting = 16;

// Who the member is, beyond the screen-name box: how the owner check reads a
// line's speaker.
enum class RoomSpeakers {
  kByScreenName,  // anyone in the room under the box's name is the member (the local room; a bot's owner)
  kOnlyVouched,   // the member is here in person: others under that name are the member only as the network vouches
};
struct OwnerRule {
  std::optional<std::string> account;  // the services account decides, whatever the name
  RoomSpeakers roomSpeakers = RoomSpeakers::kByScreenName;
};

class Bot;
using BotRoutine = void (&)(Bot&);

// What the Bot runs, given whole when it is built: the command table the
// dispatcher walks and the handlers of the five timers. None can be left out.
struct BotRoutines {
  std::span<const CommandEntry> commandTable;
  BotRoutine Timer1_Timer;
  BotRoutine tmrIdle_Timer;
  BotRoutine tmrCon_Timer;
  BotRoutine tmrOrder_Timer;
  BotRoutine tmrRep_Timer;
};

// Handlers reach the ports as bot.loop, bot.player and so on.
class Bot : public Ports {
 public:
  // `onEnd` is called once, by End().
  Bot(const Ports& ports, const BotRoutines& routines, std::function<void()> onEnd);
  Bot(const Bot&) = delete;
  Bot& operator=(const Bot&) = delete;

  Form1 form1;
  Form2 form2;

  // The five timers of the main window, disabled until something enables
  // them. Each runs its handler, counted, when it fires.
  std::unique_ptr<Timer> Timer1;    // 500 ms: the now-playing display
  std::unique_ptr<Timer> tmrIdle;   // 60000 ms: idle announcements
  std::unique_ptr<Timer> tmrCon;    // 1000 ms: continuous play
  std::unique_ptr<Timer> tmrOrder;  // 1000 ms: order play
  std::unique_ptr<Timer> tmrRep;    // 1000 ms: repeat play

  // The command table the dispatcher walks.
  const std::span<const CommandEntry> commandTable;

  // Host name announced by `adv`.
  std::string downloadHost = "wavecrest.example.org";

  // How the owner check tells the member's lines (the front-end sets it
  // before start-up).
  OwnerRule ownerRule;

  // Settings of the one section the system uses.
  std::string ReadSetting(std::string_view key) { return settings.ReadIni(kSettingsSection, key); }
  void WriteSetting(std::string_view key, std::string_view value) {
    settings.WriteIni(kSettingsSection, key, value);
  }

  // Sets the screen-name box; every change is saved at once (Text1_Change).
  void SetText1(std::string text);

  // Runs `handler` as a handler: counted for as long as it runs. Every chat
  // line, timer tick and window action goes through here.
  void RunCounted(const std::function<void()>& handler);

  // Runs `action` counted and calls `finished` once everything it set off
  // has finished: no handler runs any more and the events queued meanwhile
  // have had their turn. A front-end performs its next action then.
  void Perform(const std::function<void()>& action, std::function<void()> finished);

  // `watcher` is called each time an outermost handler has ended. Every
  // change of the system's state comes from one, and Timer1 ticks twice a
  // second, so an observer outside the system (the desktop's media controls)
  // sees each change this way without a timer of its own. A watcher must not
  // start or stop watching from inside its call.
  int WatchHandlers(std::function<void()> watcher);
  void StopWatching(int watch);

  // How many handlers are running now, nested ones included.
  int BusyDepth() const { return busyDepth_; }

  // Handles a line of the room: at once, unless kMaxNesting handlers are
  // running, a LineHold lives or lines already wait; then it waits, in
  // arrival order, until the nesting is shallower and no hold is left. Lines still waiting at the end are dropped.
  void TakeLine(std::function<void()> handleLine);
  std::size_t LinesWaiting() const { return waitingLines_.size(); }

  // While one lives, lines that arrive wait their turn instead of running
  // inside the holder's wait. A reply waiting for a paced network to take it
  // holds them: a burst of commands is then answered one after another
  // rather than each inside the wait of the one before, so what is said and
  // not yet gone stays a line or two, and an end leaves at once.
  class LineHold {
   public:
    explicit LineHold(Bot& bot);
    ~LineHold();
    LineHold(const LineHold&) = delete;
    LineHold& operator=(const LineHold&) = delete;

   private:
    Bot& bot_;
  };

  // Ends the program: no handler runs after this returns to the event loop.
  void End();
  bool Ended() const { return ended_; }

 private:
  void PostIdleCheck();
  void CallIdleWaiters();
  bool LinesMayStart() const { return busyDepth_ < kMaxNesting && lineHolds_ == 0; }
  void PostLineDrain();
  void DrainWaitingLines();

  const std::function<void()> onEnd_;
  int busyDepth_ = 0;
  int lineHolds_ = 0;
  std::vector<std::function<void()>> idleWaiters_;
  std::vector<std::pair<int, std::function<void()>>> watchers_;
  int lastWatch_ = 0;
  unsigned idleCheck_ = 0;  // the latest check posted
  std::deque<std::function<void()>> waitingLines_;
  bool drainPosted_ = false;
  bool ended_ = false;
};

}  // namespace wavecrest
