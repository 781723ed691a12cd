#pragma once

#include "core/dispatcher.h"

#include <span>
#include <string>
#include <string_view>

namespace wavecrest {

// Where the room is: the chat client's own, or a channel of a network.
enum class RoomKind { kLocal, kNetwork };

// Whether the run streams what plays.
enum class StreamCommands { Without, With };

// The 44 chat commands in the order the dispatcher tries them; after them, on
// a network, the two words a member needs where nobody can click the matches
// window (`matches`, `pick x`), then `listen` when the run streams. A local
// run without a stream has the same commands and command list as ever.
std::span<const CommandEntry> CommandTable(RoomKind room = RoomKind::kLocal,
                                           StreamCommands stream = StreamCommands::Without);

// The entry's command-list line with `trigger` in front (unless the word is
// never prefixed) and `extension` filled in.
std::string CommandListLine(const CommandEntry& entry, std::string_view trigger, std::string_view extension);

}  // namespace wavecrest
