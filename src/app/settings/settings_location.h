#pragma once

#include <filesystem>

namespace wavecrest {

// Where wavecrest.dat lives: beside the program when that directory is
// writable, otherwise in the user's configuration directory
// ($XDG_CONFIG_HOME/wavecrest, or ~/.config/wavecrest), which is created.
std::filesystem::path DefaultSettingsPath();

}  // namespace wavecrest
