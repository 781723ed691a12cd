#include "app/console/console_front_end.h"

#include "app/app_system.h"
#include "app/console/state_json.h"
#include "app/console/terminal_text.h"
#include "core/bot.h"
#include "core/startup.h"
#include "library/matches.h"
#include "playback/play_entry.h"
#include "host/sim/simulated_client.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <deque>
#include <set>

namespace wavecrest {
namespace {

constexpr const char* kUsage =
    "usage: wavecrest --console [--settings FILE] [--member NAME] [--client-version V] [--pretty|--raw]\n"
    "                 [--verbose]\n"
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
    "                       be played, a settings file that could not be written)\n\n"
    "Console input, one action a line:\n"
    "  TEXT                 the member says TEXT        //TEXT   the member says /TEXT\n"
    "  /as NAME TEXT        NAME says TEXT              /type TEXT   TEXT is left half-typed\n"
    "  /screenname TEXT     set the screen-name box     /state   print both windows' state\n"
    "  /library N, /click N double-click, click library row N\n"
    "  /matches play N|scroll|stop|exit                 the matches window\n"
    "  /wait S              wait S seconds              /quit    end without a word\n";

const std::set<std::string> kVersions = {"2.5", "3.0", "4.0", "5.0", "6.0", "7.0", "8.0", "9.0"};

void PrintLine(std::FILE* stream, const std::string& text) {
  std::fputs(text.c_str(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

// A main view for a machine without windows: the message box goes to
// standard error, where the person running the program sees it.
class ConsoleMainView final : public MainView {
 public:
  void Refresh() override {}
  void MessageBox(std::string_view text, std::string_view title) override {
    PrintLine(stderr, std::string(title) + ": " + WithoutControlCharacters(text));
  }
  void SetBusyPointer(bool) override {}
};

class ConsoleMatchesView final : public MatchesView {
 public:
  void Refresh() override {}
};

std::optional<double> Seconds(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !(value >= 0) || value > 86400) return std::nullopt;
  return value;
}

// Reads standard input as lines and performs them one at a time: the next
// line is taken once the previous action, and every command it set off, has
// finished. That keeps a script's conversation in the order it was written.
class ConsoleSession {
 public:
  ConsoleSession(Bot& bot, sim::SimulatedClient& client) : bot_(bot), client_(client) {}

  void Start() {
    ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    notifier_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadInput(); });
    // Input already waiting is read once the event loop runs, so that an end
    // of input found at once can end that loop.
    QTimer::singleShot(0, [this] { ReadInput(); });
  }

 private:
  void ReadInput() {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n > 0) {
        pending_.append(buffer, static_cast<std::size_t>(n));
        continue;
      }
      if (n == 0) {
        endOfInput_ = true;
        notifier_->setEnabled(false);
      }
      break;  // EAGAIN: wait for the notifier
    }
    for (std::size_t nl; (nl = pending_.find('\n')) != std::string::npos;) {
      std::string line = pending_.substr(0, nl);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines_.push_back(std::move(line));
      pending_.erase(0, nl + 1);
    }
    if (endOfInput_ && !pending_.empty()) {
      lines_.push_back(std::move(pending_));
      pending_.clear();
    }
    Next();
  }

  // Takes the next line when nothing is running; otherwise looks again soon.
  void Next() {
    if (inAction_ || waiting_) return;
    if (bot_.Ended()) return;
    if (lines_.empty()) {
      if (endOfInput_) QCoreApplication::exit(0);
      return;
    }
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    inAction_ = true;
    Perform(line);
    QTimer::singleShot(0, [this] { FinishWhenIdle(); });
  }

  void FinishWhenIdle() {
    if (bot_.busyDepth > 0) {
      QTimer::singleShot(20, [this] { FinishWhenIdle(); });
      return;
    }
    inAction_ = false;
    Next();
  }

  void Perform(const std::string& line) {
    if (!line.starts_with("/")) return client_.MemberSays(line);
    if (line.starts_with("//")) return client_.MemberSays(line.substr(1));
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "/as") {
      const std::size_t split = rest.find(' ');
      if (split == std::string::npos || split == 0) return Complain("usage: /as NAME TEXT");
      return client_.OtherSays(rest.substr(0, split), rest.substr(split + 1));
    }
    if (word == "/type") return client_.MemberTypes(rest);
    if (word == "/screenname") {
      bot_.SetText1(rest);
      return bot_.mainView.Refresh();
    }
    if (word == "/state") return PrintLine(stdout, "#state " + StateJson(bot_));
    if (word == "/quit") {
      bot_.End();
      return QCoreApplication::exit(0);
    }
    if (word == "/wait") {
      const auto seconds = Seconds(rest);
      if (!seconds) return Complain("usage: /wait SECONDS");
      waiting_ = true;
      QTimer::singleShot(static_cast<int>(*seconds * 1000), Qt::PreciseTimer, [this] {
        waiting_ = false;
        Next();
      });
      return;
    }
    if (word == "/library" || word == "/click") {
      const auto row = RowNumber(rest);
      if (!row) return Complain("usage: " + word + " N (a row number from 1)");
      const BusyScope busy(bot_.busyDepth);
      return word == "/library" ? DoubleClickLibraryRow(bot_, *row - 1) : ClickLibraryRow(bot_, *row - 1);
    }
    if (word == "/matches") return Matches(rest);
    Complain("unknown action " + WithoutControlCharacters(word) + " (see --help)");
  }

  void Matches(const std::string& what) {
    if (what.starts_with("play ")) {
      const auto row = RowNumber(what.substr(5));
      if (!row) return Complain("usage: /matches play N (a row number from 1)");
      const BusyScope busy(bot_.busyDepth);
      return DoubleClickMatchesRow(bot_, *row - 1);
    }
    if (what == "scroll") {
      // The scroll posts a row a second until it ends. It runs from the event
      // loop, not as this action, so that a later "/matches stop" line is read
      // while it runs, as a click on "stop scroll" would be.
      return bot_.loop.Post([this] { Command1_Click(bot_); });
    }
    if (what == "stop") return Command2_Click(bot_);
    if (what == "exit") return Command3_Click(bot_);
    Complain("usage: /matches play N | scroll | stop | exit");
  }

  static std::optional<int> RowNumber(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
  }

  static void Complain(const std::string& text) { PrintLine(stderr, "wavecrest: " + text); }

  Bot& bot_;
  sim::SimulatedClient& client_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::string pending_;
  std::deque<std::string> lines_;
  bool endOfInput_ = false;
  bool inAction_ = false;
  bool waiting_ = false;
};

}  // namespace

ParsedOptions ParseConsoleOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  ConsoleOptions options;
  const auto fail = [&](const std::string& why) {
    parsed.exitCode = 2;
    parsed.messageIsError = true;
    parsed.message = "wavecrest: " + why + "\n" + kUsage;
    return parsed;
  };
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      parsed.message = std::string(kHelp) + "\n" + kUsage;
      return parsed;
    }
    if (a == "--version") {
      parsed.message = std::string("wavecrest ") + WAVECREST_VERSION + "\n";
      return parsed;
    }
    if (a == "--console") continue;
    if (a == "--verbose") {
      options.verbose = true;
      continue;
    }
    if (a == "--raw") {
      options.style = OutputStyle::Raw;
    } else if (a == "--pretty") {
      options.style = OutputStyle::Pretty;
    } else if (a == "--settings") {
      if (!value(v) || v.empty()) return fail("--settings needs a file");
      options.settings = v;
    } else if (a == "--member") {
      if (!value(v) || v.empty()) return fail("--member needs a screen name");
      options.member = v;
    } else if (a == "--client-version") {
      if (!value(v) || !kVersions.contains(v)) return fail("--client-version takes 2.5, 3.0, 4.0 … 9.0");
      options.clientVersion = v;
    } else {
      return fail("unknown option " + WithoutControlCharacters(a));
    }
  }
  parsed.options = options;
  return parsed;
}

int RunConsole(int argc, char** argv, const ConsoleOptions& options) {
  QCoreApplication app(argc, argv);
  ConsoleMainView mainView;
  ConsoleMatchesView matchesView;
  AppSystem system(options, mainView, matchesView);
  Bot& bot = system.bot;
  sim::SimulatedClient& client = system.client;

  const bool pretty =
      options.style == OutputStyle::Pretty || (options.style == OutputStyle::Auto && ::isatty(STDOUT_FILENO));
  client.SetOnLineSaid([pretty](const sim::RoomLine& line) {
    if (pretty) {
      PrintLine(stdout, "\x1b[1m" + WithoutControlCharacters(line.speaker) + "\x1b[0m: " + RenderChatHtml(line.text));
    } else {
      PrintLine(stdout, line.speaker + ": " + line.text);
    }
  });
  bot.onEnd = [] { QCoreApplication::exit(0); };

  Form_Load(bot);
  if (bot.Ended()) {
    PrintLine(stderr, "wavecrest: another instance is running with " + system.settingsPath.string());
    return 3;
  }
  ConsoleSession session(bot, client);
  session.Start();
  return app.exec();
}

}  // namespace wavecrest
