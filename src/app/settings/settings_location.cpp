#include "app/settings/settings_location.h"

#include <unistd.h>

#include <cstdlib>

namespace wavecrest {

std::filesystem::path DefaultSettingsPath() {
  constexpr const char* kFileName = "wavecrest.dat";
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && ::access(exe.parent_path().c_str(), W_OK) == 0) return exe.parent_path() / kFileName;

  std::filesystem::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    config = std::filesystem::path(home) / ".config";
  } else {
    config = std::filesystem::temp_directory_path();
  }
  const auto dir = config / "wavecrest";
  std::filesystem::create_directories(dir, ec);
  return dir / kFileName;
}

}  // namespace wavecrest
