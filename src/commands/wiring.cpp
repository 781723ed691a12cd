#include "commands/wiring.h"

#include "commands/command_table.h"
#include "commands/idle.h"
#include "playback/now_playing.h"
#include "playback/play_modes.h"

namespace wavecrest {

BotRoutines CommandRoutines(RoomKind room, StreamCommands stream) {
  return BotRoutines{CommandTable(room, stream), Timer1_Timer, tmrIdle_Timer, tmrCon_Timer, tmrOrder_Timer,
                     tmrRep_Timer};
}

}  // namespace wavecrest
