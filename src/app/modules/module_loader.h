#pragma once

// The parts of the program it loads only when a run needs them: the windows
// (Qt GUI and widgets), the libmpv player, the TagLib tag reader and the
// Icecast stream (FFmpeg and libshout). Each is a shared module beside the
// program in the build folder, or in the installed program's library folder.
// A module stays loaded until the program ends: the libraries it brings keep
// threads and handlers that outlive any one call.

#include <string>

namespace wavecrest {

// The function `entry` of the module file `fileName` (for example
// "wavecrest-player.so"), loaded on the first call; nullptr with the reason
// in `why` when the module is missing or cannot be loaded.
void* ModuleFunction(const std::string& fileName, const char* entry, std::string& why);

}  // namespace wavecrest

// The entry points the modules define, with C names so they are found by name.
namespace wavecrest {
struct ProgramOptions;
struct StreamSettings;
class AudioStream;
class EventLoop;
class MediaPlayer;
class TagReader;
}  // namespace wavecrest

extern "C" {
// wavecrest-windows.so: runs the windowed front-end to its end.
int WavecrestRunWindows(int argc, char** argv, const wavecrest::ProgramOptions* options);
// wavecrest-player.so: a new libmpv player, owned by the caller.
wavecrest::MediaPlayer* WavecrestMakePlayer();
// wavecrest-tags.so: a new TagLib tag reader, owned by the caller.
wavecrest::TagReader* WavecrestMakeTagReader();
// wavecrest-stream.so: a new Icecast stream on the air, owned by the caller;
// its worker posts to `loop`, which outlives it.
wavecrest::AudioStream* WavecrestMakeStream(const wavecrest::StreamSettings* settings, wavecrest::EventLoop* loop);
}
