#pragma once

#include <filesystem>
#include <string>

namespace wavecrest {

// What the choice of the settings file depends on, gathered from the
// process and its environment.
struct SettingsPlace {
  std::filesystem::path programDirectory;  // empty when unknown
  bool programDirectoryWritable = false;
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME, "" when unset
  std::string home;           // $HOME, "" when unset
};

// Where wavecrest.dat lives: beside the program when that directory is
// writable (a build folder, a portable copy), otherwise in the user's
// configuration directory ($XDG_CONFIG_HOME/wavecrest, or
// ~/.config/wavecrest; the temporary directory without either). A program
// installed in a "bin" directory always uses the configuration directory:
// even run as root it must not write its settings among the system's
// programs.
std::filesystem::path SettingsPathFor(const SettingsPlace& place);

// SettingsPathFor this process; creates the configuration directory (private,
// 0700) when that is the choice.
std::filesystem::path DefaultSettingsPath();

}  // namespace wavecrest
