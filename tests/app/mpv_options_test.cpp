// Whether the machine can sound at all decides between libmpv's default
// outputs (which complain at length while they look for a card) and silence.
#include "app/mpv/mpv_options.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

TEST(WhyNoSound, OnlyAMachineWithNeitherCardNorServerNorSetUpIsSilent) {
  const fs::path dir = fs::temp_directory_path() / ("wavecrest-sound-" + std::to_string(::getpid()));
  const struct {
    const char* name;
    const char* cards;  // nullptr: no such file
    const char* runtimeFile;
    bool asoundrc;
    bool serverNamed;
    const char* silentBecause;  // nullptr: an output may work
  } cases[] = {
      {"no driver", nullptr, nullptr, false, false, "does not exist (no ALSA sound driver)"},
      {"driver, no card", "--- no soundcards ---\n", nullptr, false, false, "lists no sound card"},
      {"a card", " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n", nullptr, false, false, nullptr},
      {"pulse socket", nullptr, "pulse/native", false, false, nullptr},
      {"pipewire socket", nullptr, "pipewire-0", false, false, nullptr},
      {"other socket", nullptr, "bus", false, false, "no PulseAudio or PipeWire socket in"},
      {"server named", nullptr, nullptr, false, true, nullptr},
      {"user set-up", "--- no soundcards ---\n", nullptr, true, false, nullptr},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir);
    fs::create_directories(dir / "run/pulse");
    SoundPlaces places{dir / "cards", dir / ".asoundrc", dir / "run", c.serverNamed};
    if (c.cards != nullptr) std::ofstream(places.alsaCards) << c.cards;
    if (c.runtimeFile != nullptr) std::ofstream(places.runtimeDir / c.runtimeFile) << "";
    if (c.asoundrc) std::ofstream(places.alsaUserConfig) << "pcm.!default { type null }\n";
    const auto why = WhyNoSound(places);
    if (c.silentBecause == nullptr) {
      EXPECT_FALSE(why) << c.name << ": " << *why;
    } else {
      ASSERT_TRUE(why) << c.name;
      EXPECT_NE(why->find(c.silentBecause), std::string::npos) << c.name << ": " << *why;
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace wavecrest
