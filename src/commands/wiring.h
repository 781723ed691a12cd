#pragma once

namespace wavecrest {

class Bot;

// Connects the system's handlers to the Bot: the command table the dispatcher
// walks and the handlers of the five timers.
void BindHandlers(Bot& bot);

}  // namespace wavecrest
