#pragma once

#include "core/dispatcher.h"

#include <span>
#include <string>
#include <string_view>

namespace wavecrest {

// Whether the run streams what plays: `listen` is a command only then, so a
// run without a stream has the same commands and command list as ever.
enum class StreamCommands { Without, With };

// The 44 chat commands in the order the dispatcher tries them, and `listen`
// after them when the run streams.
std::span<const CommandEntry> CommandTable(StreamCommands stream = StreamCommands::Without);

// The entry's command-list line with `trigger` in front (unless the word is
// never prefixed) and `extension` filled in.
std::string CommandListLine(const CommandEntry& entry, std::string_view trigger, std::string_view extension);

}  // namespace wavecrest
