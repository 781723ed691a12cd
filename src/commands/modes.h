#pragma once

// Commands that switch what follows the end of a song (con, order, rep),
// switch silent mode (si) and report the modes (si?, mode?).

#include <string>

namespace wavecrest {

class Bot;

void ConCommand(Bot& bot, const std::string& input);
void OrderCommand(Bot& bot, const std::string& input);
void RepCommand(Bot& bot, const std::string& input);
void SiCommand(Bot& bot, const std::string& input);
void SiQueryCommand(Bot& bot, const std::string& input);    // si?
void ModeQueryCommand(Bot& bot, const std::string& input);  // mode?

}  // namespace wavecrest
