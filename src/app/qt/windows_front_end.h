#pragma once

// The windowed front-end: the main window, the matches window and the chat
// room of the simulated client, on a display. It is the windows module's
// code (app/modules/windows_launcher.h loads it).

#include "app/program_options.h"

namespace wavecrest {

// Runs the system with its windows until `exit` or until the chat room is
// closed. Returns 3 when another instance is running.
int RunWindows(int argc, char** argv, const ProgramOptions& options);

}  // namespace wavecrest
