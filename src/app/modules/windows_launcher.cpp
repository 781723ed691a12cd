#include "app/modules/windows_launcher.h"

#include "app/modules/module_loader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace wavecrest {

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int LaunchWindows(int argc, char** argv, const ProgramOptions& options) {
  std::string why;
  void* run = ModuleFunction("wavecrest-windows.so", "WavecrestRunWindows", why);
  if (run == nullptr) {
    std::fprintf(stderr, "wavecrest: cannot load the windows (--console runs without them): %s\n", why.c_str());
    return kExitNoWindows;
  }
  return reinterpret_cast<decltype(&WavecrestRunWindows)>(run)(argc, argv, &options);
}

}  // namespace wavecrest
