#include "app/irc/irc_setup.h"

#include "core/control_characters.h"
#include "core/settings_keys.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace wavecrest {
namespace {

// A secret from the environment or the first line of a file, never from the
// command line, where every user of the machine can read it.
std::optional<std::string> Secret(const std::optional<std::filesystem::path>& file, const char* variable) {
  if (file) {
    std::ifstream in(*file);
    std::string line;
    if (!in || !std::getline(in, line)) {
      std::fprintf(stderr, "wavecrest: irc: cannot read %s\n", WithoutControlCharacters(file->string()).c_str());
      return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }
  const char* fromEnvironment = std::getenv(variable);
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return std::string(fromEnvironment);
  return std::nullopt;
}

irc::SessionConfig SessionConfigFor(const ProgramOptions& options, const std::string& nick, const irc::Url& url) {
  irc::SessionConfig config;
  config.nick = nick;
  config.channel = url.channel;
  config.password = Secret(options.ircPasswordFile, "WAVECREST_IRC_PASSWORD");
  if (options.ircAccount) config.login = irc::SaslLogin{options.ircAccount, config.password.value_or(""), false};
  config.login.certificate = options.ircCert.has_value();
  config.channelKey = Secret(options.ircChannelKeyFile, "WAVECREST_IRC_CHANNEL_KEY");
  config.ownerMask = options.ownerMask;
  config.ownerAccount = options.ownerAccount;
  config.version = std::string("wavecrest ") + WAVECREST_VERSION;
  config.source = "https://wavecrest.example.org/";
  return config;
}

void Warn(const char* text) {
  std::fprintf(stderr, "wavecrest: irc: %s\n", text);
}

}  // namespace

std::unique_ptr<IrcRoomNetwork> MakeIrcRoomNetwork(const ProgramOptions& options, const std::string& nick,
                                                   std::function<std::string(const std::string&)> help) {
  if (!options.irc) return nullptr;
  IrcRoomSettings settings{*irc::ParseUrl(*options.irc), {}, options.ircCa, options.ircCert, std::move(help)};
  settings.session = SessionConfigFor(options, nick, settings.url);
  const bool vouched = options.ownerMask || options.ownerAccount;
  if (options.nick && !vouched) {
    Warn("anyone may take the owner's nick and be obeyed; --owner-account NAME or --owner-mask "
         "'nick!user@host' makes sure it is the owner");
  }
  return std::make_unique<IrcRoomNetwork>(std::move(settings));
}

OwnerRule OwnerRuleFor(const ProgramOptions& options) {
  OwnerRule rule;
  rule.account = options.ownerAccount;
  if (options.irc && !options.nick) rule.roomSpeakers = RoomSpeakers::kOnlyVouched;
  return rule;
}

void FillScreenNameBox(const ProgramOptions& options, SettingsStore& settings) {
  const std::string key(SettingKey(Setting::ScreenName));
  if (options.owner) {
    settings.WriteIni(kSettingsSection, key, *options.owner);
    return;
  }
  if (!options.irc || !options.member) return;
  const std::string stored = settings.ReadIni(kSettingsSection, key);
  if (stored.empty() || stored == kScreenNamePlaceholder) settings.WriteIni(kSettingsSection, key, *options.member);
}

}  // namespace wavecrest
