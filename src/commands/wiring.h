#pragma once

#include "core/bot.h"

namespace wavecrest {

// Where the room is: the chat client's own, or a channel of a network.
enum class RoomKind { kLocal, kNetwork };

// The system's command table (with the network's words on a network) and
// the handlers of the five timers, for building a Bot.
BotRoutines CommandRoutines(RoomKind room = RoomKind::kLocal);

}  // namespace wavecrest
