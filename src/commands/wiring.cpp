#include "commands/wiring.h"

#include "commands/command_table.h"
#include "core/bot.h"

namespace wavecrest {

void BindHandlers(Bot& bot) {
  bot.commandTable = CommandTable();
}

}  // namespace wavecrest
