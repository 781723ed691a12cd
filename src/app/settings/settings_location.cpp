#include "app/settings/settings_location.h"

#include "app/settings/text_file.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace wavecrest {
namespace {

constexpr const char* kFileName = "wavecrest.dat";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::filesystem::path SettingsPathFor(const SettingsPlace& place) {
  const bool installed = place.programDirectory.filename() == "bin";
  if (!place.programDirectory.empty() && place.programDirectoryWritable && !installed) {
    return place.programDirectory / kFileName;
  }
  std::filesystem::path config;
  // A relative $XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
  if (!place.xdgConfigHome.empty() && place.xdgConfigHome.front() == '/') {
    config = place.xdgConfigHome;
  } else if (!place.home.empty()) {
    config = std::filesystem::path(place.home) / ".config";
  } else {
    config = std::filesystem::temp_directory_path();
  }
  return config / "wavecrest" / kFileName;
}

std::filesystem::path DefaultSettingsPath() {
  SettingsPlace place;
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    place.programDirectory = program.parent_path();
    place.programDirectoryWritable = ::access(place.programDirectory.c_str(), W_OK) == 0;
  }
  place.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  place.home = Environment("HOME");
  const std::filesystem::path path = SettingsPathFor(place);
  if (path.parent_path() != place.programDirectory) CreateMissingFolders(path.parent_path());
  return path;
}

}  // namespace wavecrest
