#pragma once

// The matches window from the chat room, for a member on a network who
// cannot click it: the words exist only in the network's command table.

#include <string>

namespace wavecrest {

class Bot;

// `matches`: posts the list, one row a second, as "scroll list" does.
void MatchesCommand(Bot& bot, const std::string& input);
// `pick x`: plays row x (from 1) of the shown window, as a double-click on it.
void PickCommand(Bot& bot, const std::string& input);

}  // namespace wavecrest
