#include "commands/wiring.h"

#include "commands/command_table.h"
#include "commands/idle.h"
#include "core/bot.h"

namespace wavecrest {

void BindHandlers(Bot& bot) {
  bot.commandTable = CommandTable();
  bot.tmrIdle_Timer = [&bot] { tmrIdle_Timer(bot); };
}

}  // namespace wavecrest
