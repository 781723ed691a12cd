#pragma once

// How libmpv is set up for the player: sound only, none of the user's own mpv
// configuration, and the sound output the program or a test asks for.

#include <filesystem>
#include <optional>
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

// Where a machine's sound could go: the places libmpv's default outputs try.
struct SoundPlaces {
  std::filesystem::path alsaCards = "/proc/asound/cards";  // the kernel's list of sound cards
  std::filesystem::path alsaUserConfig;                     // ~/.asoundrc: ALSA may be sent elsewhere
  std::filesystem::path runtimeDir;                         // $XDG_RUNTIME_DIR: sound servers' sockets
  bool serverNamed = false;                                 // PULSE_SERVER or PIPEWIRE_REMOTE is set
};

SoundPlaces SoundPlacesFromEnvironment();

// Why nothing can be heard here (no card, no sound server, no ALSA set-up of
// the user's), in words for --verbose; nothing when an output may work. The
// default outputs would otherwise fill standard error with ALSA's and
// PipeWire's complaints while they look for a card.
std::optional<std::string> WhyNoSound(const SoundPlaces& places);

// The options the program runs with: audioOutput comes from the environment
// variable WAVECREST_AUDIO_OUT when it is set. Otherwise, on a machine that
// cannot sound, it is "null" and one line on standard error says that the
// program plays silently; --verbose adds why.
MpvPlayerOptions MpvPlayerOptionsFromEnvironment();

// A libmpv instance set up with `options` and started, or nullptr when
// libmpv cannot start. The caller owns it (mpv_terminate_destroy).
mpv_handle* StartMpv(const MpvPlayerOptions& options);

}  // namespace wavecrest
