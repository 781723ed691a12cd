#pragma once

// The program's command line. Both front-ends, console and windows, run on
// the options it gives; --console only chooses between them.

#include "host/client_version.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest {

// How room lines reach standard output: Auto is Pretty on a terminal, Raw
// otherwise.
enum class OutputStyle { Auto, Raw, Pretty };

// The options of a run, whichever front-end it uses.
struct ProgramOptions {
  std::optional<std::filesystem::path> settings;
  std::string clientVersion{kNewestClientVersion};
  std::optional<std::string> member;
  OutputStyle style = OutputStyle::Auto;
  bool verbose = false;  // say on standard error what was skipped and why
  // The room as a channel of an IRC network (irc:// or ircs:// URL); without
  // it the room is the local one.
  std::optional<std::string> irc;
  std::optional<std::string> nick;       // the name on the network (default: the member's)
  std::optional<std::string> ownerMask;  // nick!user@host glob the owner's lines must match
  std::optional<std::string> owner;      // the owner's nick, put in the screen-name box
  std::optional<std::string> ownerAccount;  // the owner's services account: it decides, whatever the nick
  std::optional<std::string> ircAccount;    // the bot's services account (SASL PLAIN)
  std::optional<std::filesystem::path> ircCa;            // a further CA for the server's certificate
  std::optional<std::filesystem::path> ircCert;          // the client certificate and key (PEM; SASL EXTERNAL)
  std::optional<std::filesystem::path> ircPasswordFile;  // the server or account password's file
  std::optional<std::filesystem::path> ircChannelKeyFile;  // the channel key's file
  // What plays is streamed to an Icecast mount (icecast:// or icecasts://
  // URL); without it nothing is streamed and the stream's module is not loaded.
  std::optional<std::string> stream;
  int streamBitrate = 128;                                  // kbit/s of the stream's MP3
  std::optional<std::filesystem::path> streamCa;            // a further CA for the server's certificate
  std::optional<std::filesystem::path> streamPasswordFile;  // the source password's file
  std::optional<std::string> listenUrl;                     // the address announced by `listen`
};

struct ParsedOptions {
  std::optional<ProgramOptions> options;  // nothing when the program should exit at once
  int exitCode = 0;
  std::string message;  // usage, help or version text
  bool messageIsError = false;
};

// Reads the command line (program name first). A bad option, or a file an
// option names that cannot be read, gives exit code 2 with the reason and the
// usage as an error message; --help and --version give their text and exit
// code 0.
ParsedOptions ParseProgramOptions(const std::vector<std::string>& args);

}  // namespace wavecrest
