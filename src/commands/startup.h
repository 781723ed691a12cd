#pragma once

namespace wavecrest {

class Bot;

// Start-up: loads the settings into the main window, refuses to run twice,
// builds the command list and the library, announces the system in the room,
// starts listening to the room and starts the now-playing display.
// The views put the window on top and shape it before this runs.
void Form_Load(Bot& bot);

}  // namespace wavecrest
