// A program that runs only the scan tool, so the benchmark script can time
// and measure it without starting the rest of the system.

#include "app/cli/tools.h"

int main(int argc, char** argv) { return wavecrest::RunScanTool(argc - 1, argv + 1); }
