#pragma once

#include "core/bot.h"

namespace wavecrest {

// The system's command table and the handlers of the five timers, for
// building a Bot.
BotRoutines CommandRoutines();

}  // namespace wavecrest
