#pragma once

// The command of a run that streams what plays: where the room listens.

#include "core/command_result.h"

#include <string>

namespace wavecrest {

class Bot;

// listen: "> listen at <b>" + URL + "</b> - <b>" + N + "</b> listeners ",
// N the server's count, never older than 30 s; when it is older the server is
// asked again and the reply waits for the answer (events running) for one
// second at most, then says "unknown". Nothing without a stream.
CommandResult ListenCommand(Bot& bot, const std::string& input);

}  // namespace wavecrest
