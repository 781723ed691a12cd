#pragma once

// What the desktop's media controls ask of the player, done by the same
// routines as the member's chat commands, so the room is told as when the
// member types them: Pause and PlayPause are `pause`, Stop is `stop`, Next
// and Previous are `next` and `prev`, Quit is `exit` (the room is told
// goodbye), a new volume is `vol x`.
//
// Play resumes a paused song through `pause`. With nothing playing it starts
// the current entry again, or the first when there is none, as a
// double-click on that library row does ("> playing #"): a Play button
// pressed after Stop means this song again, and the library list is the
// member's own way to start a chosen entry. An empty library plays nothing.
//
// Each runs as a handler does: counted by the Bot, the main view refreshed
// after it, nothing once the program has ended. They let events run.

namespace wavecrest {

class Bot;

enum class MprisAction { Play, Pause, PlayPause, Stop, Next, Previous, Quit };

void RunMprisAction(Bot& bot, MprisAction action);

// A finite MPRIS volume (0.0 to 1.0; beyond is held to the ends) as the
// percent `vol` takes, 1 to 100. A volume that is no number is ignored.
int VolumePercent(double volume);
void SetMprisVolume(Bot& bot, double volume);

}  // namespace wavecrest
