#pragma once

#include "commands/command_table.h"
#include "core/bot.h"

namespace wavecrest {

// The system's command table and the handlers of the five timers, for
// building a Bot; with the stream's command when the run streams.
BotRoutines CommandRoutines(StreamCommands stream = StreamCommands::Without);

}  // namespace wavecrest
