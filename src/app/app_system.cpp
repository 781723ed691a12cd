#include "app/app_system.h"

#include "app/settings/settings_location.h"
#include "commands/wiring.h"
#include "core/startup.h"

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

}  // namespace

AppSystem::AppSystem(const ProgramOptions& options, MainView& mainView, MatchesView& matchesView)
    : settingsPath(options.settings.value_or(DefaultSettingsPath())),
      settings(settingsPath),
      instanceLock(settingsPath),
      client(loop, options.clientVersion, MemberName(options, settings)),
      chat(client, loop),
      bot(Ports{loop, settings, chat, client, player, mainView, matchesView, instanceLock}) {
  BindHandlers(bot);
}

bool AppSystem::Start() {
  Form_Load(bot);
  if (!bot.Ended()) return true;
  std::fprintf(stderr, "wavecrest: another instance is running with %s\n", settingsPath.c_str());
  return false;
}

}  // namespace wavecrest
