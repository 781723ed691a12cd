#pragma once

// How libmpv is set up for the player: sound only, none of the user's own mpv
// configuration, and the sound output the program or a test asks for.

#include <string>
#include <utility>
#include <vector>

struct mpv_handle;

namespace wavecrest {

struct MpvPlayerOptions {
  // Where the sound goes: "" for the system's default output, which falls back
  // to a silent one when the machine has no sound card; "null" for silence;
  // "pcm:FILE" to write what would be heard to FILE as a 32-bit float WAV
  // (used by tests to measure the output).
  std::string audioOutput;
  // Further libmpv options (name, value) set before it starts.
  std::vector<std::pair<std::string, std::string>> extraOptions;
};

// The options the program runs with: audioOutput comes from the environment
// variable WAVECREST_AUDIO_OUT when it is set.
MpvPlayerOptions MpvPlayerOptionsFromEnvironment();

// A libmpv instance set up with `options` and started, or nullptr when
// libmpv cannot start. The caller owns it (mpv_terminate_destroy).
mpv_handle* StartMpv(const MpvPlayerOptions& options);

}  // namespace wavecrest
