#pragma once

#include "commands/command_table.h"
#include "core/bot.h"

namespace wavecrest {

// The system's command table (with the network's words on a network, and the
// stream's when the run streams) and the handlers of the five timers, for
// building a Bot.
BotRoutines CommandRoutines(RoomKind room = RoomKind::kLocal, StreamCommands stream = StreamCommands::Without);

}  // namespace wavecrest
