// wavecrest: a chat-room music player.
#include "app/cli/tools.h"
#include "app/console/console_front_end.h"
#include "app/modules/windows_launcher.h"
#include "core/diagnostics.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "scan") return wavecrest::RunScanTool(argc - 1, argv + 1);
  if (argc >= 2 && std::string(argv[1]) == "tags") return wavecrest::RunTagsTool(argc - 1, argv + 1);
  const std::vector<std::string> args(argv, argv + argc);
  const wavecrest::ParsedOptions parsed = wavecrest::ParseProgramOptions(args);
  if (!parsed.options) {
    std::fputs(parsed.message.c_str(), parsed.messageIsError ? stderr : stdout);
    return parsed.exitCode;
  }
  if (parsed.options->verbose) wavecrest::DiagnoseToStandardError();
  // With a display the system opens its windows, unless asked for the console.
  const bool console = std::find(args.begin(), args.end(), "--console") != args.end();
  if (!console && wavecrest::DisplayAvailable()) return wavecrest::LaunchWindows(argc, argv, *parsed.options);
  return wavecrest::RunConsole(argc, argv, *parsed.options);
}
