#pragma once

// The console front-end: the whole system without windows. The simulated chat
// client's room stands in for the chat room; standard input is what the
// people in the room do, standard output is what is said in it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest {

enum class OutputStyle { Auto, Raw, Pretty };

struct ConsoleOptions {
  std::optional<std::filesystem::path> settings;
  std::string clientVersion = "9.0";
  std::optional<std::string> member;
  OutputStyle style = OutputStyle::Auto;
  bool verbose = false;  // say on standard error what was skipped and why
};

struct ParsedOptions {
  std::optional<ConsoleOptions> options;  // nothing when the program should exit at once
  int exitCode = 0;
  std::string message;  // usage, help or version text
  bool messageIsError = false;
};

// Reads the command line (program name first).
ParsedOptions ParseConsoleOptions(const std::vector<std::string>& args);

// Runs the console front-end until `exit`, /quit or the end of input.
int RunConsole(int argc, char** argv, const ConsoleOptions& options);

}  // namespace wavecrest
