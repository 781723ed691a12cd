#include "app/app_system.h"

#include "app/settings/settings_location.h"
#include "app/stream/stream_settings.h"
#include "core/settings_keys.h"
#include "commands/wiring.h"
#include "commands/startup.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

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

// The server password: from the environment or the first line of a file,
// never from the command line, where every user of the machine can read it.
std::optional<std::string> ServerPassword(const ProgramOptions& options) {
  if (options.ircPasswordFile) {
    std::ifstream in(*options.ircPasswordFile);
    std::string line;
    if (!in || !std::getline(in, line)) {
      std::fprintf(stderr, "wavecrest: irc: cannot read the password file %s\n", options.ircPasswordFile->c_str());
      return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  const char* fromEnvironment = std::getenv("WAVECREST_IRC_PASSWORD");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return std::string(fromEnvironment);
  return std::nullopt;
}

std::unique_ptr<IrcRoomNetwork> MakeNetwork(const ProgramOptions& options, const std::string& nick) {
  if (!options.irc) return nullptr;
  IrcRoomSettings settings{*irc::ParseUrl(*options.irc), {}, options.ircCa};
  settings.session.nick = nick;
  settings.session.password = ServerPassword(options);
  settings.session.channel = settings.url.channel;
  settings.session.ownerMask = options.ownerMask;
  if (options.nick && !options.ownerMask) {
    std::fprintf(stderr,
                 "wavecrest: irc: anyone may take the owner's nick and be obeyed; --owner-mask "
                 "'nick!user@host' makes sure it is the owner\n");
  }
  return std::make_unique<IrcRoomNetwork>(std::move(settings));
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
      streamingPlayer(stream ? std::make_unique<StreamingPlayer>(player, *stream) : nullptr),
      bot(Ports{loop, settings, chat, client, streamingPlayer ? *streamingPlayer : static_cast<MediaPlayer&>(player),
                mainView, matchesView, instanceLock, directories, stream.get()},
          CommandRoutines(stream ? StreamCommands::With : StreamCommands::Without),
          [] { QCoreApplication::exit(0); }),
      irc(MakeNetwork(options, client.MemberName())) {
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

}  // namespace wavecrest
