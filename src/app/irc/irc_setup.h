#pragma once

// The command line's network options made into the IRC room's settings, the
// owner check's rule, and the screen-name box they fill.

#include "app/irc/irc_room_network.h"
#include "app/program_options.h"
#include "core/bot.h"
#include "core/settings_store.h"

#include <functional>
#include <memory>
#include <string>

namespace wavecrest {

// The room's network for --irc, nothing without it. `nick` is the name the
// member (or the bot) goes by; `help` answers a private "help".
std::unique_ptr<IrcRoomNetwork> MakeIrcRoomNetwork(const ProgramOptions& options, const std::string& nick,
                                                   std::function<std::string(const std::string&)> help);

// With --owner-account the account decides. As yourself on a network (no
// --nick), lines of other connections under your name count only as the
// network vouches for them.
OwnerRule OwnerRuleFor(const ProgramOptions& options);

// Before start-up reads the settings: --owner puts the owner's nick in the
// screen-name box, and on a network --member fills a box that still holds
// its placeholder, so that the member is obeyed from the first run.
void FillScreenNameBox(const ProgramOptions& options, SettingsStore& settings);

}  // namespace wavecrest
