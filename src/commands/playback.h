#pragma once

// Commands that start songs and steer and report playback: r, p x, next,
// prev, pause, stop, mute, song, skip x, vol x, vol?.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

CommandResult RCommand(Bot& bot, const std::string& input);
CommandResult PCommand(Bot& bot, const std::string& input);  // p x: input is x
CommandResult NextCommand(Bot& bot, const std::string& input);
CommandResult PrevCommand(Bot& bot, const std::string& input);
CommandResult PauseCommand(Bot& bot, const std::string& input);
CommandResult StopCommand(Bot& bot, const std::string& input);
CommandResult MuteCommand(Bot& bot, const std::string& input);
CommandResult SongCommand(Bot& bot, const std::string& input);
CommandResult SkipCommand(Bot& bot, const std::string& input);      // input: the whole line
CommandResult VolCommand(Bot& bot, const std::string& input);       // input: the whole line
CommandResult VolQueryCommand(Bot& bot, const std::string& input);  // vol?

}  // namespace wavecrest
