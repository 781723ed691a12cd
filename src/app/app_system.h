#pragma once

// The whole system on its real adapters: the Qt event loop, the settings file,
// the instance lock, the simulated chat client, the libmpv player and the
// TagLib tag reader (each loaded on first use), the Icecast stream when the
// run streams (--stream), and a Bot wired to them. Front-ends (console,
// windows) make the application object first, then one AppSystem with their
// views, then call Run.

#include "app/files/posix_directory_reader.h"
#include "app/irc/irc_room_network.h"
#include "app/program_options.h"
#include "app/signals/termination_signals.h"
#include "app/instance/file_instance_lock.h"
#include "app/modules/lazy_player.h"
#include "app/modules/lazy_tag_reader.h"
#include "app/modules/streaming_player.h"
#include "app/qt/qt_event_loop.h"
#include "app/settings/ini_file_store.h"
#include "core/bot.h"
#include "host/chat_send.h"
#include "host/sim/simulated_client.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace wavecrest {

struct MprisHooks;

// The exit status when another instance runs with the same settings file.
inline constexpr int kExitAnotherInstance = 3;

class AppSystem {
 public:
  AppSystem(const ProgramOptions& options, MainView& mainView, MatchesView& matchesView);
  ~AppSystem();
  AppSystem(const AppSystem&) = delete;
  AppSystem& operator=(const AppSystem&) = delete;

  // The whole run, the same for every front-end: start-up, the desktop's
  // media controls (told `hooks`), `started` (the front-end's own first
  // step), the event loop until the program ends, and the network left.
  // From start-up on, a termination signal ends the program as /quit does.
  // Returns the exit status: the event loop's, the one shells expect after
  // a signal, or kExitAnotherInstance.
  int Run(MprisHooks hooks, const std::function<void()>& started);

  std::filesystem::path settingsPath;
  QtEventLoop loop;
  IniFileStore settings;
  FileInstanceLock instanceLock;
  sim::SimulatedClient client;
  HostChatClient chat;
  LazyPlayer player{LoadPlayerModule};  // libmpv is loaded with the first song
  LazyTagReader tags{LoadTagsModule};  // TagLib is loaded with the first file without an ID3v1 tag
  std::unique_ptr<AudioStream> stream;  // the room's stream; none unless the run streams
  // The player the system holds when it streams: the real one, followed by the stream.
  std::unique_ptr<StreamingPlayer> streamingPlayer;
  PosixDirectoryReader directories;
  Bot bot;
  std::unique_ptr<IrcRoomNetwork> irc;  // the room's network; none: the local room

 private:
  // Start-up (Form_Load). On a network, the channel is joined first (for a
  // while at most), so that it hears the banner and the welcome. False when
  // another instance runs with the same settings file: the room has been
  // told, and standard error says which file.
  bool Start();

  // Leaves the network, if any, once the program has ended.
  void Leave();

  // From now on, start-up included, a termination signal ends the program as
  // /quit does, with the exit status shells expect; endedBySignal says which.
  void EndOn(TerminationSignals& caught);
  int endedBySignal = 0;
};

}  // namespace wavecrest
