#pragma once

// Everything the stream needs to go on the air, gathered from the command
// line and the environment at start.

#include "app/stream/stream_url.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace wavecrest {

class AudioStream;
class EventLoop;
struct ProgramOptions;

struct StreamSettings {
  StreamUrl url;
  std::string password;                     // the source password; never printed
  std::optional<std::filesystem::path> ca;  // a further CA for the server's certificate
  int kbps = 128;
  std::string listenUrl;  // what `listen` announces
  std::string name;       // the stream's name: the member's handle
};

// The settings for options that stream; nothing (and a line on standard
// error) when no password can be had: from --stream-password-file, whose
// first line it is, or from WAVECREST_STREAM_PASSWORD.
std::optional<StreamSettings> StreamSettingsFor(const ProgramOptions& options, const std::string& name);

// The stream from its module, on the air at once; nullptr (and a line on
// standard error) when the module cannot be loaded.
std::unique_ptr<AudioStream> LoadStreamModule(const StreamSettings& settings, EventLoop& loop);

}  // namespace wavecrest
