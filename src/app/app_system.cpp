#include "app/app_system.h"

#include "app/irc/irc_setup.h"
#include "app/mpris/mpris_service.h"
#include "app/settings/settings_location.h"
#include "app/stream/stream_settings.h"
#include "commands/help.h"
#include "core/settings_keys.h"
#include "commands/startup.h"
#include "commands/wiring.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>

namespace wavecrest {
namespace {

// The member is logged in under the stored screen name unless told otherwise.
std::string MemberName(const ProgramOptions& options, SettingsStore& settings) {
  if (options.member && !options.member->empty()) return *options.member;
  const std::string stored = settings.ReadIni(kSettingsSection, "screen name");
  if (stored.empty() || stored == kScreenNamePlaceholder) return "member";
  return stored;
}

// How long start-up waits for the channel before it speaks anyway.
constexpr std::chrono::seconds kJoinWait{20};
constexpr const char* kQuitMessage = "wavecrest system off";

// The name the member (or the bot) is known by in the room.
std::string NameInRoom(const ProgramOptions& options, SettingsStore& settings) {
  return options.irc && options.nick ? *options.nick : MemberName(options, settings);
}

// The stream's name is the member's handle: at start the stored one, which
// start-up is about to load.
std::unique_ptr<AudioStream> MakeStream(const ProgramOptions& options, SettingsStore& settings, EventLoop& loop) {
  if (!options.stream) return nullptr;
  std::string handle = settings.ReadIni(kSettingsSection, SettingKey(Setting::Handle));
  if (handle.empty()) handle = std::string(StartValue(Setting::Handle));
  const std::optional<StreamSettings> streaming = StreamSettingsFor(options, handle);
  if (!streaming) return nullptr;
  return LoadStreamModule(*streaming, loop);
}

}  // namespace

AppSystem::AppSystem(const ProgramOptions& options, MainView& mainView, MatchesView& matchesView)
    : settingsPath(options.settings.value_or(DefaultSettingsPath())),
      settings(settingsPath),
      instanceLock(settingsPath),
      client(loop, options.clientVersion, NameInRoom(options, settings)),
      chat(client, loop),
      stream(MakeStream(options, settings, loop)),
      streamingPlayer(stream ? std::make_unique<StreamingPlayer>(player, *stream, tags) : nullptr),
      bot(Ports{loop, settings, chat, client, streamingPlayer ? *streamingPlayer : static_cast<MediaPlayer&>(player),
                mainView, matchesView, instanceLock, directories, tags, stream.get()},
          CommandRoutines(options.irc ? RoomKind::kNetwork : RoomKind::kLocal,
                          stream ? StreamCommands::With : StreamCommands::Without),
          [] { QCoreApplication::exit(0); }),
      irc(MakeIrcRoomNetwork(options, client.MemberName(),
                             [this](const std::string& word) { return PrivateHelpText(bot, word); })) {
  bot.ownerRule = OwnerRuleFor(options);
  FillScreenNameBox(options, settings);
  if (stream) {
    // A new handle names the stream from its next connection on.
    bot.WatchHandlers([this, name = std::string()]() mutable {
      if (bot.form1.lblHandle.empty() || bot.form1.lblHandle == name) return;
      name = bot.form1.lblHandle;
      stream->SetName(name);
    });
  }
  if (!irc) return;
  client.SetNetwork(irc.get());
  chat.SetNetwork(irc.get());
}

AppSystem::~AppSystem() {
  client.SetNetwork(nullptr);
  chat.SetNetwork(nullptr);
}

bool AppSystem::Start() {
  if (irc) {
    irc->Connect();
    if (!irc->WaitUntilJoined(loop, kJoinWait, [this] { return bot.Ended(); })) {
      if (bot.Ended()) return true;  // a signal ended the wait
      std::fputs("wavecrest: irc: not in the channel yet; the start-up lines are not heard, and the client keeps trying\n",
                 stderr);
    }
  }
  Form_Load(bot);
  if (!bot.Ended()) return true;
  std::fprintf(stderr, "wavecrest: another instance is running with %s\n", settingsPath.c_str());
  return false;
}

void AppSystem::EndOn(TerminationSignals& caught) {
  caught.Watch([this](int signal) {
    endedBySignal = signal;
    bot.End();
    QCoreApplication::exit(ExitStatusForSignal(signal));
  });
}

void AppSystem::Leave() {
  if (irc) irc->Quit(kQuitMessage);
}

int AppSystem::Run(MprisHooks hooks, const std::function<void()>& started) {
  TerminationSignals terminationSignals;
  EndOn(terminationSignals);
  if (!Start()) return kExitAnotherInstance;
  int status = endedBySignal != 0 ? ExitStatusForSignal(endedBySignal) : 0;
  if (endedBySignal == 0) {
    const MprisService mpris(bot, std::move(hooks));  // gone before the system it reads
    started();
    status = QCoreApplication::exec();
  }
  Leave();
  return status;
}

}  // namespace wavecrest
