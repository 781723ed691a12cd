// wavecrest: a chat-room music player.
#include "app/cli/tools.h"
#include "app/console/console_front_end.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc >= 2 && std::string(argv[1]) == "scan") return wavecrest::RunScanTool(argc - 1, argv + 1);
  if (argc >= 2 && std::string(argv[1]) == "tags") return wavecrest::RunTagsTool(argc - 1, argv + 1);
  const std::vector<std::string> args(argv, argv + argc);
  const wavecrest::ParsedOptions parsed = wavecrest::ParseConsoleOptions(args);
  if (!parsed.options) {
    std::fputs(parsed.message.c_str(), parsed.messageIsError ? stderr : stdout);
    return parsed.exitCode;
  }
  // The windows come with a display; until they are built every run is the
  // console front-end.
  return wavecrest::RunConsole(argc, argv, *parsed.options);
}
