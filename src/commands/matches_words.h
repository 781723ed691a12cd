#pragma once

// The matches window from the chat room, for a member on a network who
// cannot click it: the words exist only in the network's command table.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

// `matches`: posts the list, one row a second, as "scroll list" does.
CommandResult MatchesCommand(Bot& bot, const std::string& input);
// `pick x`: plays row x (from 1) of the shown window, as a double-click on it.
CommandResult PickCommand(Bot& bot, const std::string& input);

}  // namespace wavecrest
