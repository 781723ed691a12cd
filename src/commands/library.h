#pragma once

// Commands that choose the music directory and the extension, rebuild the
// library and tell its size: dir, dir?, ref, ext, ext?, mp3s, wavs, wmas.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

CommandResult DirCommand(Bot& bot, const std::string& input);       // dir x
CommandResult DirQueryCommand(Bot& bot, const std::string& input);  // dir?
CommandResult RefCommand(Bot& bot, const std::string& input);       // ref
CommandResult ExtCommand(Bot& bot, const std::string& input);       // ext x
CommandResult ExtQueryCommand(Bot& bot, const std::string& input);  // ext?
CommandResult Mp3sCommand(Bot& bot, const std::string& input);
CommandResult WavsCommand(Bot& bot, const std::string& input);
CommandResult WmasCommand(Bot& bot, const std::string& input);

}  // namespace wavecrest
