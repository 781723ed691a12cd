#pragma once

// The console front-end: the whole system without windows. The simulated chat
// client's room stands in for the chat room; standard input is what the
// people in the room do, standard output is what is said in it.

#include "app/program_options.h"

namespace wavecrest {

// Runs the console front-end until `exit`, /quit or the end of input.
int RunConsole(int argc, char** argv, const ProgramOptions& options);

}  // namespace wavecrest
