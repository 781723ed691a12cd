#pragma once

// Commands that change how replies look and how the member is named: each
// value is stored as received, saved at once, and confirmed by a reply that
// already wears the new look.

#include <string>

namespace wavecrest {

class Bot;

void FontCommand(Bot& bot, const std::string& argument);
void FcolorCommand(Bot& bot, const std::string& argument);
void FasciiCommand(Bot& bot, const std::string& argument);
void FafontCommand(Bot& bot, const std::string& argument);
void FacolorCommand(Bot& bot, const std::string& argument);
void EasciiCommand(Bot& bot, const std::string& argument);
void EafontCommand(Bot& bot, const std::string& argument);
void EacolorCommand(Bot& bot, const std::string& argument);
void HandleCommand(Bot& bot, const std::string& argument);
void TrigCommand(Bot& bot, const std::string& argument);

}  // namespace wavecrest
