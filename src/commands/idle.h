#pragma once

// Idle mode: the member tells the room they are away; once a minute the
// system says for how long and why.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

CommandResult IdleCommand(Bot& bot, const std::string& reason);
CommandResult IdleoffCommand(Bot& bot, const std::string& input);
void tmrIdle_Timer(Bot& bot);

// Hours, ":", minutes padded to two digits: "0:05", "1:15".
std::string IdleTimeText(const std::string& hours, const std::string& minutes);

}  // namespace wavecrest
