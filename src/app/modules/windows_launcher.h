#pragma once

// Starts the windowed front-end from its module.

#include "app/program_options.h"

namespace wavecrest {

// The exit status when the windows cannot be loaded.
inline constexpr int kExitNoWindows = 1;

// Whether a display is there to open windows on.
bool DisplayAvailable();

// Loads the windows and runs the system with them to its end; when they
// cannot be loaded, says why on standard error and answers kExitNoWindows.
int LaunchWindows(int argc, char** argv, const ProgramOptions& options);

}  // namespace wavecrest
