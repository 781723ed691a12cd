#include "app/console/console_front_end.h"

#include "app/app_system.h"
#include "app/console/input_lines.h"
#include "app/console/screen_name_prompt.h"
#include "app/console/state_json.h"
#include "app/console/terminal_text.h"
#include "app/mpris/mpris_service.h"
#include "core/bot.h"
#include "core/control_characters.h"
#include "library/matches.h"
#include "playback/play_entry.h"
#include "host/sim/simulated_client.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>

namespace wavecrest {
namespace {

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

// The S of "/wait S": seconds, from 0 to a day.
std::optional<double> ParseWaitSeconds(const std::string& text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !(value >= 0) || value > 86400) return std::nullopt;
  return value;
}

// A room line as standard output shows it: "SPEAKER: TEXT"; a network's
// actions as "* SPEAKER TEXT", notices as "-SPEAKER- TEXT" and private
// messages as "*SPEAKER* TEXT". With a palette (--pretty) the line is
// rendered for the terminal; else it is raw, its control characters
// escaped as the scan tool shows them, so one line said is one line out.
std::string ConsoleRoomLine(const sim::RoomLine& line, const std::optional<TerminalPalette>& pretty) {
  const std::string speaker =
      pretty ? "\x1b[1m" + WithoutControlCharacters(line.speaker) + "\x1b[0m" : EscapeControls(line.speaker);
  // A network line's text is plain; its styled form is the HTML to render.
  const std::string text =
      pretty ? RenderChatHtml(line.styled.empty() ? line.text : line.styled, *pretty) : EscapeControls(line.text);
  switch (line.kind) {
    case RoomLineKind::kAction: return "* " + speaker + " " + text;
    case RoomLineKind::kNotice:
    case RoomLineKind::kPrivateNotice: return "-" + speaker + "- " + text;
    case RoomLineKind::kPrivateMessage: return "*" + speaker + "* " + text;
    case RoomLineKind::kMessage: break;
  }
  return speaker + ": " + text;
}

// Reads standard input as lines and performs them one at a time: the next
// line is taken once the previous action, and every command it set off, has
// finished. That keeps a script's conversation in the order it was written.
// What the end of standard input means: the end of a script, or nothing (a
// bot on a network runs unattended until told to stop).
enum class EndOfInput { kEndsProgram, kKeepsRunning };

class ConsoleSession {
 public:
  ConsoleSession(Bot& bot, sim::SimulatedClient& client, EndOfInput endOfInput)
      : bot_(bot), client_(client), endOfInputEnds_(endOfInput == EndOfInput::kEndsProgram) {}

  void Start() {
    ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
    notifier_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadInput(); });
    // Input already waiting is read once the event loop runs, so that an end
    // of input found at once can end that loop.
    QTimer::singleShot(0, [this] { ReadInput(); });
    prompt_.AtStart(bot_.form1, client_.MemberName());
  }

 private:
  // Reads what standard input holds now, without blocking, until a few lines
  // are queued: the input is read no further ahead than that, however much a
  // script pipes in, and the notifier is off until the queue runs low.
  void ReadInput() {
    constexpr std::size_t kReadAheadLines = 16;
    char buffer[64 * 1024];
    while (queuedLines_.size() < kReadAheadLines) {
      if (std::optional<InputLine> line = input_.Next()) {
        if (line->cut) Complain("an input line longer than 1 MiB was cut to its first 1 MiB");
        queuedLines_.push_back(std::move(line->text));
        continue;
      }
      if (endOfInput_) break;
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n > 0) {
        input_.Append(std::string_view(buffer, static_cast<std::size_t>(n)));
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        break;  // wait for the notifier
      } else {
        endOfInput_ = true;  // the end, or an input that cannot be read
        input_.Finish();
      }
    }
    notifier_->setEnabled(!endOfInput_ && queuedLines_.size() < kReadAheadLines);
    PerformNextLine();
  }

  // Performs the next queued line unless an action or a /wait is still
  // running: they call this again when they finish. Input used up ends the
  // program.
  void PerformNextLine() {
    if (inAction_ || waiting_) return;
    if (bot_.Ended()) return;
    if (queuedLines_.empty()) {
      if (endOfInput_ && endOfInputEnds_) QCoreApplication::exit(0);
      return;
    }
    std::string line = std::move(queuedLines_.front());
    queuedLines_.pop_front();
    if (!endOfInput_ && !notifier_->isEnabled()) QTimer::singleShot(0, [this] { ReadInput(); });
    inAction_ = true;
    // What an action set off goes on in the event loop after it returns (the
    // lines it said reach the bot as events, and their commands pause): the
    // Bot tells when all of it has finished.
    bot_.Perform([this, &line] { PerformAction(line); },
                 [this] {
                   inAction_ = false;
                   PerformNextLine();
                 });
  }

  void PerformAction(const std::string& line) {
    if (!line.starts_with("/")) return MemberSays(line);
    if (line.starts_with("//")) return MemberSays(line.substr(1));
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "/as") {
      if (client_.Network() != nullptr) return Complain("/as: on a network only real people speak");
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
      const auto seconds = ParseWaitSeconds(rest);
      if (!seconds) return Complain("usage: /wait SECONDS");
      waiting_ = true;
      QTimer::singleShot(static_cast<int>(*seconds * 1000), Qt::PreciseTimer, [this] {
        waiting_ = false;
        PerformNextLine();
      });
      return;
    }
    if (word == "/library" || word == "/click") {
      const auto row = ParseRowNumber(rest);
      if (!row) return Complain("usage: " + word + " N (a row number from 1)");
      return word == "/library" ? DoubleClickLibraryRow(bot_, *row - 1) : ClickLibraryRow(bot_, *row - 1);
    }
    if (word == "/matches") return PerformMatchesAction(rest);
    Complain("unknown action " + WithoutControlCharacters(word) + " (see --help)");
  }

  void MemberSays(const std::string& text) {
    prompt_.BeforeMemberLine(bot_.form1, client_.MemberName(), text);
    client_.MemberSays(text);
  }

  void PerformMatchesAction(const std::string& what) {
    if (what.starts_with("play ")) {
      const auto row = ParseRowNumber(what.substr(5));
      if (!row) return Complain("usage: /matches play N (a row number from 1)");
      DoubleClickMatchesRow(bot_, *row - 1);
      return;
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

  static std::optional<int> ParseRowNumber(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
  }

  static void Complain(const std::string& text) { PrintLine(stderr, "wavecrest: " + text); }

  Bot& bot_;
  sim::SimulatedClient& client_;
  ScreenNamePrompt prompt_;
  std::unique_ptr<QSocketNotifier> notifier_;
  InputLines input_;
  std::deque<std::string> queuedLines_;
  bool endOfInput_ = false;
  const bool endOfInputEnds_;
  bool inAction_ = false;
  bool waiting_ = false;
};

}  // namespace

int RunConsole(int argc, char** argv, const ProgramOptions& options) {
  QCoreApplication app(argc, argv);
  ConsoleMainView mainView;
  ConsoleMatchesView matchesView;
  AppSystem system(options, mainView, matchesView);
  Bot& bot = system.bot;
  sim::SimulatedClient& client = system.client;

  const bool pretty =
      options.style == OutputStyle::Pretty || (options.style == OutputStyle::Auto && ::isatty(STDOUT_FILENO));
  const std::optional<TerminalPalette> palette =
      pretty ? std::optional<TerminalPalette>(PaletteFromEnvironment()) : std::nullopt;
  client.SetOnLineSaid([palette](const sim::RoomLine& line) { PrintLine(stdout, ConsoleRoomLine(line, palette)); });

  ConsoleSession session(bot, client, system.irc ? EndOfInput::kKeepsRunning : EndOfInput::kEndsProgram);
  return system.Run(MprisHooks{}, [&session] { session.Start(); });
}

}  // namespace wavecrest
