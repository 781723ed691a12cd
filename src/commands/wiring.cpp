#include "commands/wiring.h"

#include "commands/command_table.h"
#include "commands/idle.h"
#include "core/bot.h"
#include "playback/now_playing.h"
#include "playback/play_modes.h"

namespace wavecrest {

void BindHandlers(Bot& bot) {
  bot.commandTable = CommandTable();
  bot.Timer1_Timer = [&bot] { Timer1_Timer(bot); };
  bot.tmrIdle_Timer = [&bot] { tmrIdle_Timer(bot); };
  bot.tmrCon_Timer = [&bot] { tmrCon_Timer(bot); };
  bot.tmrOrder_Timer = [&bot] { tmrOrder_Timer(bot); };
  bot.tmrRep_Timer = [&bot] { tmrRep_Timer(bot); };
}

}  // namespace wavecrest
