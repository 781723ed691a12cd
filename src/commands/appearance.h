#pragma once

// Commands that change how replies look and how the member is named: each
// value is stored as received, saved at once, and confirmed by a reply that
// already wears the new look.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

CommandResult FontCommand(Bot& bot, const std::string& argument);
CommandResult FcolorCommand(Bot& bot, const std::string& argument);
CommandResult FasciiCommand(Bot& bot, const std::string& argument);
CommandResult FafontCommand(Bot& bot, const std::string& argument);
CommandResult FacolorCommand(Bot& bot, const std::string& argument);
CommandResult EasciiCommand(Bot& bot, const std::string& argument);
CommandResult EafontCommand(Bot& bot, const std::string& argument);
CommandResult EacolorCommand(Bot& bot, const std::string& argument);
CommandResult HandleCommand(Bot& bot, const std::string& argument);
CommandResult TrigCommand(Bot& bot, const std::string& argument);

}  // namespace wavecrest
