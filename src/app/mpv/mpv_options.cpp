#include "app/mpv/mpv_options.h"

#include <mpv/client.h>

#include <clocale>
#include <cstdlib>

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

}  // namespace

MpvPlayerOptions MpvPlayerOptionsFromEnvironment() {
  MpvPlayerOptions options;
  if (const char* out = std::getenv("WAVECREST_AUDIO_OUT")) options.audioOutput = out;
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
