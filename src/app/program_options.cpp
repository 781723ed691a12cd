#include "app/program_options.h"

#include "app/stream/stream_url.h"
#include "core/control_characters.h"
#include "host/client_version.h"
#include "host/irc/nick.h"
#include "host/irc/url.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace wavecrest {
namespace {

constexpr const char* kUsage =
    "usage: wavecrest --console [--settings FILE] [--member NAME] [--client-version V] [--pretty|--raw]\n"
    "                 [--verbose] [--irc URL [--nick NICK] [--owner NICK] [--owner-mask MASK]\n"
    "                 [--owner-account NAME] [--irc-account NAME] [--irc-password-file FILE]\n"
    "                 [--irc-cert FILE] [--irc-ca FILE] [--irc-channel-key-file FILE]]\n"
    "                 [--stream URL [--stream-bitrate N] [--stream-ca FILE]\n"
    "                 [--stream-password-file FILE] [--listen-url URL]]\n"
    "       wavecrest scan DIR [--ext EXT]\n"
    "       wavecrest tags FILE\n"
    "       wavecrest --help | --version\n";

constexpr const char* kHelp =
    "wavecrest: a chat-room music player.\n\n"
    "  --console            run without windows: standard input is the room, standard output what is said\n"
    "  --settings FILE      the settings file (default: wavecrest.dat beside the program, or\n"
    "                       $XDG_CONFIG_HOME/wavecrest/wavecrest.dat when that is not writable)\n"
    "  --member NAME        the screen name the member is logged in under (default: the stored\n"
    "                       screen name, or \"member\")\n"
    "  --client-version V   the chat client's version: 2.5, 3.0, 4.0 … 9.0 (default 9.0)\n"
    "  --pretty, --raw      room lines with terminal styles, or exactly as said (default: pretty\n"
    "                       on a terminal, raw otherwise)\n"
    "  --verbose            say on standard error what was skipped and why (a file that could not\n"
    "                       be played, a settings file that could not be written)\n"
    "  --irc URL            the room is a channel of an IRC network: irc://HOST[:PORT]/#CHANNEL\n"
    "                       (plain, port 6667) or ircs://HOST[:PORT]/#CHANNEL (TLS, port 6697);\n"
    "                       without --nick you are there yourself: what you type here is yours,\n"
    "                       and other connections under your nick only as the network vouches\n"
    "  --nick NICK          a bot's own nick; the screen-name box holds its owner's\n"
    "  --owner NICK         put the owner's nick in the screen-name box (saved)\n"
    "  --owner-mask MASK    obey only lines whose nick!user@host matches MASK (* and ?)\n"
    "  --owner-account NAME obey the lines of this services account, whatever the nick\n"
    "  --irc-account NAME   log in to this services account (SASL PLAIN)\n"
    "  --irc-password-file FILE  the server's or the account's password (or\n"
    "                       WAVECREST_IRC_PASSWORD); never on the command line\n"
    "  --irc-cert FILE      present this client certificate and key (PEM) and log in by it\n"
    "                       (SASL EXTERNAL) where the server offers that\n"
    "  --irc-ca FILE        trust this CA certificate (PEM) too, for a private network\n"
    "  --irc-channel-key-file FILE  the channel's key (or WAVECREST_IRC_CHANNEL_KEY)\n"
    "  --stream URL         stream what plays to an Icecast server: icecast://[USER@]HOST[:PORT]/MOUNT\n"
    "                       (plain, port 8000, user source) or icecasts://… (TLS); the source\n"
    "                       password comes from WAVECREST_STREAM_PASSWORD or --stream-password-file\n"
    "  --stream-bitrate N   the stream's MP3 bit rate in kbit/s, 32 to 320 (default 128; taken down\n"
    "                       to the nearest MP3 rate: 32 40 48 56 64 80 96 112 128 160 192 224 256 320)\n"
    "  --stream-ca FILE     trust this CA certificate (PEM) too, for the Icecast server\n"
    "  --stream-password-file FILE  the source password (or WAVECREST_STREAM_PASSWORD); never on\n"
    "                       the command line\n"
    "  --listen-url URL     the address `listen` announces (default http://HOST:PORT/MOUNT, https://\n"
    "                       with TLS); http:// or https://, never with a user or password in it\n\n"
    "Console input, one action a line:\n"
    "  TEXT                 the member says TEXT        //TEXT   the member says /TEXT\n"
    "  /as NAME TEXT        NAME says TEXT              /type TEXT   TEXT is left half-typed\n"
    "  /screenname TEXT     set the screen-name box     /state   print both windows' state\n"
    "  /library N, /click N double-click, click library row N\n"
    "  /matches play N|scroll|stop|exit                 the matches window\n"
    "  /wait S              wait S seconds              /quit    end without a word\n";


// The network's options that take a name, and what a good one is.
struct IrcText {
  std::string_view option;
  std::optional<std::string> ProgramOptions::*field;
  bool (*valid)(const std::string&);
  const char* what;
};

bool AnyText(const std::string& value) { return !value.empty(); }
bool Nick(const std::string& value) { return irc::ValidNick(value); }

constexpr IrcText kIrcTexts[] = {
    {"--nick", &ProgramOptions::nick, Nick, "a nick (letters, digits, -[]\\`^{|}_)"},
    {"--owner-mask", &ProgramOptions::ownerMask, AnyText, "a mask such as 'me!*@example.org'"},
    {"--owner", &ProgramOptions::owner, Nick, "the owner's nick"},
    {"--owner-account", &ProgramOptions::ownerAccount, AnyText, "the owner's services account"},
    {"--irc-account", &ProgramOptions::ircAccount, AnyText, "the bot's services account"},
};

// The network's options that name a file, read at start.
struct IrcFile {
  std::string_view option;
  std::optional<std::filesystem::path> ProgramOptions::*field;
};

constexpr IrcFile kIrcFiles[] = {
    {"--irc-ca", &ProgramOptions::ircCa},
    {"--irc-cert", &ProgramOptions::ircCert},
    {"--irc-password-file", &ProgramOptions::ircPasswordFile},
    {"--irc-channel-key-file", &ProgramOptions::ircChannelKeyFile},
};

const IrcText* FindIrcText(std::string_view option) {
  for (const IrcText& text : kIrcTexts) {
    if (text.option == option) return &text;
  }
  return nullptr;
}

const IrcFile* FindIrcFile(std::string_view option) {
  for (const IrcFile& file : kIrcFiles) {
    if (file.option == option) return &file;
  }
  return nullptr;
}

// What is wrong with the network's options taken together, if anything: a
// file that cannot be read is found now rather than on the first connection.
std::optional<std::string> IrcOptionsProblem(const ProgramOptions& options) {
  const bool anyGiven = std::any_of(std::begin(kIrcTexts), std::end(kIrcTexts),
                                    [&](const IrcText& t) { return (options.*(t.field)).has_value(); }) ||
                        std::any_of(std::begin(kIrcFiles), std::end(kIrcFiles),
                                    [&](const IrcFile& f) { return (options.*(f.field)).has_value(); });
  if (!options.irc) {
    if (anyGiven) return "--nick, --owner…, --irc-… options go with --irc";
    return std::nullopt;
  }
  for (const IrcFile& file : kIrcFiles) {
    const auto& path = options.*(file.field);
    if (path && !std::ifstream(*path)) {
      return std::string(file.option) + ": cannot read " + WithoutControlCharacters(path->string());
    }
  }
  if (options.ircCert && !irc::ParseUrl(*options.irc)->tls) return "--irc-cert needs an ircs:// address";
  const char* password = std::getenv("WAVECREST_IRC_PASSWORD");
  if (options.ircAccount && !options.ircPasswordFile && (password == nullptr || *password == '\0')) {
    return "--irc-account needs its password in WAVECREST_IRC_PASSWORD or --irc-password-file";
  }
  return std::nullopt;
}

}  // namespace

ParsedOptions ParseProgramOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  ProgramOptions options;
  bool streamBitrateGiven = false;
  const auto fail = [&](const std::string& why) {
    parsed.exitCode = 2;
    parsed.messageIsError = true;
    parsed.message = "wavecrest: " + why + "\n" + kUsage;
    return parsed;
  };
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // The option's value is the next argument; false when there is none.
    const auto takeValue = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string value;
    if (arg == "--help" || arg == "-h") {
      parsed.message = std::string(kHelp) + "\n" + kUsage;
      return parsed;
    }
    if (arg == "--version") {
      parsed.message = std::string("wavecrest ") + WAVECREST_VERSION + "\n";
      return parsed;
    }
    if (arg == "--console") continue;
    if (arg == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (arg == "--raw") {
      options.style = OutputStyle::Raw;
    } else if (arg == "--pretty") {
      options.style = OutputStyle::Pretty;
    } else if (arg == "--settings") {
      if (!takeValue(value) || value.empty()) return fail("--settings needs a file");
      options.settings = value;
    } else if (arg == "--member") {
      if (!takeValue(value) || value.empty()) return fail("--member needs a screen name");
      options.member = value;
    } else if (arg == "--client-version") {
      if (!takeValue(value) || !FindClientVersion(value)) return fail("--client-version takes 2.5, 3.0, 4.0 … 9.0");
      options.clientVersion = value;
    } else if (arg == "--irc") {
      if (!takeValue(value) || !irc::ParseUrl(value)) {
        return fail("--irc takes irc://HOST[:PORT]/#CHANNEL or ircs://HOST[:PORT]/#CHANNEL");
      }
      options.irc = value;
    } else if (const IrcText* text = FindIrcText(arg)) {
      if (!takeValue(value) || !text->valid(value)) return fail(arg + " needs " + text->what);
      options.*(text->field) = value;
    } else if (const IrcFile* file = FindIrcFile(arg)) {
      if (!takeValue(value) || value.empty()) return fail(arg + " needs a file");
      options.*(file->field) = value;
    } else if (arg == "--stream") {
      if (!takeValue(value) || !ParseStreamUrl(value)) {
        return fail("--stream takes icecast://[USER@]HOST[:PORT]/MOUNT or icecasts://[USER@]HOST[:PORT]/MOUNT");
      }
      options.stream = value;
    } else if (arg == "--stream-bitrate") {
      int rate = 0;
      const bool read = takeValue(value) &&
                        std::from_chars(value.data(), value.data() + value.size(), rate).ptr == value.data() + value.size();
      if (!read || value.empty() || rate < 32 || rate > 320) return fail("--stream-bitrate takes 32 to 320 (kbit/s)");
      options.streamBitrate = rate;
      streamBitrateGiven = true;
    } else if (arg == "--stream-ca" || arg == "--stream-password-file") {
      if (!takeValue(value) || value.empty()) return fail(arg + " needs a file");
      (arg == "--stream-ca" ? options.streamCa : options.streamPasswordFile) = value;
    } else if (arg == "--listen-url") {
      if (!takeValue(value) || !IsListenUrl(value)) {
        return fail("--listen-url takes an http:// or https:// address without a user or password");
      }
      options.listenUrl = value;
    } else {
      return fail("unknown option " + WithoutControlCharacters(arg));
    }
  }
  if (const std::optional<std::string> why = IrcOptionsProblem(options)) return fail(*why);
  const bool streamOnly = options.streamCa || options.streamPasswordFile || options.listenUrl || streamBitrateGiven;
  if (streamOnly && !options.stream) {
    return fail("--stream-bitrate, --stream-ca, --stream-password-file and --listen-url go with --stream");
  }
  parsed.options = options;
  return parsed;
}

}  // namespace wavecrest
