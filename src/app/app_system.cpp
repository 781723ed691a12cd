#include "app/app_system.h"

#include "app/settings/settings_location.h"
#include "commands/wiring.h"

namespace wavecrest {
namespace {

// The member is logged in under the stored screen name unless told otherwise.
std::string MemberName(const ConsoleOptions& options, SettingsStore& settings) {
  if (options.member && !options.member->empty()) return *options.member;
  const std::string stored = settings.ReadIni(kSettingsSection, "screen name");
  if (stored.empty() || stored == kScreenNamePlaceholder) return "member";
  return stored;
}

}  // namespace

AppSystem::AppSystem(const ConsoleOptions& options, MainView& mainView, MatchesView& matchesView)
    : settingsPath(options.settings.value_or(DefaultSettingsPath())),
      settings(settingsPath),
      instanceLock(settingsPath),
      client(loop, options.clientVersion, MemberName(options, settings)),
      chat(client, loop),
      bot(Ports{loop, settings, chat, client, player, mainView, matchesView, instanceLock}) {
  BindHandlers(bot);
}

}  // namespace wavecrest
