#pragma once

// Commands that switch what follows the end of a song (con, order, rep),
// switch silent mode (si) and report the modes (si?, mode?).

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

CommandResult ConCommand(Bot& bot, const std::string& input);
CommandResult OrderCommand(Bot& bot, const std::string& input);
CommandResult RepCommand(Bot& bot, const std::string& input);
CommandResult SiCommand(Bot& bot, const std::string& input);
CommandResult SiQueryCommand(Bot& bot, const std::string& input);    // si?
CommandResult ModeQueryCommand(Bot& bot, const std::string& input);  // mode?

}  // namespace wavecrest
