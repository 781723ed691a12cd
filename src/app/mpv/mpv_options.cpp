#include "app/mpv/mpv_options.h"

#include <mpv/client.h>

#include "core/diagnostics.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace wavecrest {
namespace {

struct Option {
  const char* name;
  const char* value;
};

// Sound only: no video output, no cover art shown as video, no key bindings,
// scripts or configuration files of the user's own mpv.
constexpr Option kSoundOnly[] = {
    {"vid", "no"},
    {"audio-display", "no"},
    {"vo", "null"},
    {"config", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"input-default-bindings", "no"},
    // mpv's own on-screen scripts (controller, statistics, console, profiles)
    // each run a Lua interpreter with on-screen text renderers: several
    // megabytes for screens a player without video never shows.
    {"osc", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"terminal", "no"},
    {"idle", "yes"},
    // Keep a finished file loaded, so its position and length stay readable.
    {"keep-open", "yes"},
    // Float samples: the volume gain is then applied without 16-bit rounding.
    {"audio-format", "float"},
    // A machine without a sound card plays silently instead of failing.
    {"audio-fallback-to-null", "yes"},
    {"audio-client-name", "wavecrest"},
};

void SetOption(mpv_handle* mpv, const std::string& name, const std::string& value) {
  mpv_set_option_string(mpv, name.c_str(), value.c_str());
}

void ApplyAudioOutput(mpv_handle* mpv, const std::string& audioOutput) {
  if (audioOutput.empty()) return;
  const auto colon = audioOutput.find(':');
  const std::string driver = audioOutput.substr(0, colon);
  SetOption(mpv, "ao", driver);
  if (driver == "pcm" && colon != std::string::npos) {
    SetOption(mpv, "ao-pcm-file", audioOutput.substr(colon + 1));
  }
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool Exists(const std::filesystem::path& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::exists(path, error);
}

// The kernel lists each card on a line of its own that begins with its
// number (" 0 [PCH ]: HDA-Intel ..."); with none it says "--- no soundcards ---".
bool ListsACard(const std::filesystem::path& cards) {
  std::ifstream in(cards);
  for (std::string line; std::getline(in, line);) {
    const auto first = line.find_first_not_of(' ');
    if (first != std::string::npos && line[first] >= '0' && line[first] <= '9') return true;
  }
  return false;
}

}  // namespace

SoundPlaces SoundPlacesFromEnvironment() {
  SoundPlaces places;
  if (const std::string home = Environment("HOME"); !home.empty()) places.alsaUserConfig = home + "/.asoundrc";
  places.runtimeDir = Environment("XDG_RUNTIME_DIR");
  places.serverNamed = !Environment("PULSE_SERVER").empty() || !Environment("PIPEWIRE_REMOTE").empty();
  return places;
}

std::optional<std::string> WhyNoSound(const SoundPlaces& places) {
  if (places.serverNamed || ListsACard(places.alsaCards) || Exists(places.alsaUserConfig)) return std::nullopt;
  const bool server = !places.runtimeDir.empty() &&
                      (Exists(places.runtimeDir / "pulse/native") || Exists(places.runtimeDir / "pipewire-0"));
  if (server) return std::nullopt;
  std::string why = Exists(places.alsaCards) ? places.alsaCards.string() + " lists no sound card"
                                             : places.alsaCards.string() + " does not exist (no ALSA sound driver)";
  why += places.runtimeDir.empty() ? "; XDG_RUNTIME_DIR is not set, so no sound server can be reached"
                                   : "; no PulseAudio or PipeWire socket in " + places.runtimeDir.string();
  if (!places.alsaUserConfig.empty()) why += "; there is no " + places.alsaUserConfig.string();
  return why;
}

MpvPlayerOptions MpvPlayerOptionsFromEnvironment() {
  MpvPlayerOptions options;
  options.audioOutput = Environment("WAVECREST_AUDIO_OUT");
  if (!options.audioOutput.empty()) return options;
  if (const std::optional<std::string> why = WhyNoSound(SoundPlacesFromEnvironment())) {
    options.audioOutput = "null";
    std::fputs("wavecrest: no sound card or sound server here: playing silently (WAVECREST_AUDIO_OUT chooses "
               "an output)\n",
               stderr);
    Diagnose("playing silently: " + *why);
  }
  return options;
}

mpv_handle* StartMpv(const MpvPlayerOptions& options) {
  // Qt has set LC_NUMERIC from the environment; libmpv parses numbers with the
  // C library and will not start under any other numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  mpv_handle* mpv = mpv_create();
  if (mpv == nullptr) return nullptr;
  for (const Option& option : kSoundOnly) SetOption(mpv, option.name, option.value);
  ApplyAudioOutput(mpv, options.audioOutput);
  for (const auto& [name, value] : options.extraOptions) SetOption(mpv, name, value);
  if (mpv_initialize(mpv) < 0) {
    mpv_terminate_destroy(mpv);
    return nullptr;
  }
  return mpv;
}

}  // namespace wavecrest
