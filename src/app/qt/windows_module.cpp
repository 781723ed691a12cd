// wavecrest-windows.so: the windowed front-end, loaded only in windowed mode.
#include "app/modules/module_loader.h"
#include "app/qt/windows_front_end.h"

extern "C" int WavecrestRunWindows(int argc, char** argv, const wavecrest::ProgramOptions* options) {
  return wavecrest::RunWindows(argc, argv, *options);
}
