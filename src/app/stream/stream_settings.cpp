#include "app/stream/stream_settings.h"

#include "app/modules/module_loader.h"
#include "app/program_options.h"
#include "core/audio_stream.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace wavecrest {

std::optional<StreamSettings> StreamSettingsFor(const ProgramOptions& options, const std::string& name) {
  if (!options.stream) return std::nullopt;
  StreamSettings settings{*ParseStreamUrl(*options.stream), {}, options.streamCa, options.streamBitrate, {}, name};
  settings.listenUrl = options.listenUrl.value_or(DefaultListenUrl(settings.url));
  if (options.streamPasswordFile) {
    std::ifstream in(*options.streamPasswordFile);
    if (!in || !std::getline(in, settings.password)) {
      std::fprintf(stderr, "wavecrest: stream: cannot read the password file %s; not streaming\n",
                   options.streamPasswordFile->c_str());
      return std::nullopt;
    }
    if (!settings.password.empty() && settings.password.back() == '\r') settings.password.pop_back();
    return settings;
  }
  const char* fromEnvironment = std::getenv("WAVECREST_STREAM_PASSWORD");
  if (fromEnvironment == nullptr || *fromEnvironment == '\0') {
    std::fputs("wavecrest: stream: no source password (WAVECREST_STREAM_PASSWORD or --stream-password-file); "
               "not streaming\n",
               stderr);
    return std::nullopt;
  }
  settings.password = fromEnvironment;
  return settings;
}

std::unique_ptr<AudioStream> LoadStreamModule(const StreamSettings& settings, EventLoop& loop) {
  std::string why;
  void* make = ModuleFunction("wavecrest-stream.so", "WavecrestMakeStream", why);
  if (make == nullptr) {
    std::fprintf(stderr, "wavecrest: stream: cannot load the stream (not streaming): %s\n", why.c_str());
    return nullptr;
  }
  return std::unique_ptr<AudioStream>(reinterpret_cast<decltype(&WavecrestMakeStream)>(make)(&settings, &loop));
}

}  // namespace wavecrest
