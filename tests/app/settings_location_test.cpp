#include "app/settings/settings_location.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace wavecrest {
namespace {

TEST(SettingsPathFor, BesideABuildOrPortableCopyOtherwiseInTheUsersConfiguration) {
  const std::filesystem::path tmp = std::filesystem::temp_directory_path();
  const struct {
    const char* name;
    SettingsPlace place;
    std::filesystem::path expected;
  } cases[] = {
      {"a writable build folder", {"/src/wavecrest/build/release", true, "/x", "/home/me"},
       "/src/wavecrest/build/release/wavecrest.dat"},
      {"a folder the person cannot write", {"/opt/wavecrest", false, "", "/home/me"},
       "/home/me/.config/wavecrest/wavecrest.dat"},
      {"installed, even when root may write there", {"/usr/bin", true, "", "/root"},
       "/root/.config/wavecrest/wavecrest.dat"},
      {"installed under a prefix of its own", {"/home/me/.local/bin", true, "", "/home/me"},
       "/home/me/.config/wavecrest/wavecrest.dat"},
      {"XDG_CONFIG_HOME wins over HOME", {"/usr/bin", false, "/cfg", "/home/me"}, "/cfg/wavecrest/wavecrest.dat"},
      {"a relative XDG_CONFIG_HOME is ignored", {"/usr/bin", false, "cfg", "/home/me"},
       "/home/me/.config/wavecrest/wavecrest.dat"},
      {"neither variable set", {"/usr/bin", false, "", ""}, tmp / "wavecrest" / "wavecrest.dat"},
      {"the program's folder unknown", {"", true, "", "/home/me"}, "/home/me/.config/wavecrest/wavecrest.dat"},
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsPathFor(c.place), c.expected) << c.name;
}

}  // namespace
}  // namespace wavecrest
