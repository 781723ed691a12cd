// The real program, driven through its console front-end as a script would.
#include "app/console/console_front_end.h"
#include "app/console/terminal_text.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "wavecrest_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)app;
  return *QCoreApplication::instance();
}

struct ProgramRun {
  int exitCode = -1;
  std::vector<std::string> out;
  std::string err;
};

std::vector<std::string> SplitLines(const QByteArray& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes.toStdString());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

QStringList Args(const std::vector<std::string>& args) {
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  return list;
}

class ConsoleE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    dir_ = fs::temp_directory_path() / ("wavecrest-e2e-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = dir_ / "wavecrest.dat";
  }
  void TearDown() override { fs::remove_all(dir_); }

  static QProcess* Start(const std::vector<std::string>& args) {
    auto* p = new QProcess;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("WAVECREST_AUDIO_OUT", "null");
    p->setProcessEnvironment(env);
    p->start(WAVECREST_BINARY, Args(args));
    EXPECT_TRUE(p->waitForStarted(30000));
    return p;
  }

  ProgramRun Conversation(const std::string& input, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"--console", "--raw", "--settings", settings_.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    QProcess* p = Start(args);
    p->write(input.data(), static_cast<qint64>(input.size()));
    p->closeWriteChannel();
    EXPECT_TRUE(p->waitForFinished(60000)) << "the program did not end";
    ProgramRun run{p->exitCode(), SplitLines(p->readAllStandardOutput()), p->readAllStandardError().toStdString()};
    delete p;
    return run;
  }

  void Store(const std::string& content) { std::ofstream(settings_) << content; }

  fs::path dir_;
  fs::path settings_;
};

// The member's lines as the room shows them, with the look stripped.
std::string Shown(const std::string& line) {
  std::string out;
  bool inTag = false;
  for (const char c : line) {
    if (c == '<') inTag = true;
    if (!inTag) out.push_back(c);
    if (c == '>') inTag = false;
  }
  return out;
}

TEST_F(ConsoleE2E, FirstAndSecondStartCountUp) {
  Store("[settings]\nscreen name=DJ Bob\n");
  ProgramRun first = Conversation("");
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(first.out.size(), 2u) << first.err;
  EXPECT_EQ(Shown(first.out[0]), "DJ Bob: .·•× wavecrest system 0.0.8 - by - quillon ×•·.");
  EXPECT_EQ(Shown(first.out[1]), "DJ Bob: .·•× welcome - new user, aol - 9.0, on - 1 ×•·.");
  EXPECT_EQ(first.out[1],
            "DJ Bob: </b></u></i><font face=\"times new roman\" color=#0000ff>.·•×<font face=\"times new roman\" "
            "color=#000000> welcome - <b>new user</b>, aol - <b>9.0</b>, on - <b>1</b> <font face=\"times new "
            "roman\" color=#0000ff>×•·.");
  ProgramRun second = Conversation("", {"--client-version", "6.0"});
  ASSERT_EQ(second.out.size(), 2u) << second.err;
  EXPECT_EQ(Shown(second.out[1]), "DJ Bob: .·•× welcome - new user, aol - 6.0, on - 2 ×•·.");
}

// A said line with control characters in it stays one line of --raw
// output, the characters shown escaped as the scan tool shows them.
TEST_F(ConsoleE2E, OneSaidLineIsOneRawOutputLine) {
  ProgramRun run = Conversation("/as b\x01ob one\ttwo\x1b[2J\x0bthree\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(run.out.back(), "b\\x01ob: one\\x09two\\x1b[2J\\x0bthree");
}

TEST_F(ConsoleE2E, TriggerConversation) {
  ProgramRun run = Conversation("/screenname member\ntrig !\n!.trig?\n.trig?\n/as bob !.trig?\nexit\n!exit\n.trig?\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> shown;
  for (const auto& l : run.out) shown.push_back(Shown(l));
  const std::vector<std::string> expected = {
      "member: .·•× wavecrest system 0.0.8 - by - quillon ×•·.",
      "member: .·•× welcome - new user, aol - 9.0, on - 1 ×•·.",
      "member: trig !",
      "member: .·•× new trigger: ! ×•·.",
      "member: !.trig?",
      "member: .trig?",
      "member: .·•× current trigger: ! ×•·.",
      "bob: !.trig?",
      "member: exit",
      "member: !exit",
      "member: .·•× wavecrest system 0.0.8 - by - quillon ×•·.",
      "member: .·•× goodbye - new user, aol - 9.0, off - 1 ×•·.",
  };
  EXPECT_EQ(shown, expected);
}

TEST_F(ConsoleE2E, ASecondInstanceIsRefusedAndTheFirstGoesOn) {
  Store("[settings]\nscreen name=member\nload=4\n");
  QProcess* first = Start({"--console", "--raw", "--settings", settings_.string()});
  // Wait for the first instance's welcome: it holds the lock from then on.
  std::string firstOut;
  while (firstOut.find("welcome") == std::string::npos) {
    ASSERT_TRUE(first->waitForReadyRead(60000)) << "no welcome from the first instance";
    firstOut += first->readAllStandardOutput().toStdString();
  }
  ProgramRun second = Conversation(".trig?\n");
  EXPECT_EQ(second.exitCode, 3);
  ASSERT_EQ(second.out.size(), 1u);
  EXPECT_EQ(Shown(second.out[0]), "member: .·•× wavecrest system is currently running... ×•·.");

  first->write("time?\n");
  first->closeWriteChannel();
  ASSERT_TRUE(first->waitForFinished(60000));
  firstOut += first->readAllStandardOutput().toStdString();
  EXPECT_EQ(first->exitCode(), 0);
  EXPECT_NE(firstOut.find("current time: <b>"), std::string::npos);
  delete first;
  // The count was raised once, by the first instance only.
  std::ifstream in(settings_);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_NE(content.str().find("load=5"), std::string::npos) << content.str();
}

TEST_F(ConsoleE2E, RealFilesPlayOneAfterAnotherEvenAfterASongEnded) {
  const fs::path music = dir_ / "Music";
  const std::string make = std::string(WAVECREST_SOURCE_DIR) + "/assets/make-test-audio.sh '" + music.string() + "' 3";
  if (std::system("command -v ffmpeg >/dev/null") != 0) GTEST_SKIP() << "ffmpeg makes the test audio";
  ASSERT_EQ(std::system(make.c_str()), 0);
  fs::rename(music / "tone.mp3", music / "Alpha.mp3");
  fs::copy_file(music / "Alpha.mp3", music / "beta.mp3");
  Store("[settings]\nscreen name=member\n");
  // The directory is typed in lower case; the folder is "Music".
  ProgramRun run = Conversation("dir " + (dir_ / "music").string() + "/\np alpha\n/wait 7\nnext\nmode?\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> replies;
  for (const auto& l : run.out) {
    if (l.find("</b></u></i>") != std::string::npos) replies.push_back(Shown(l));
  }
  // The room sees the directory as the member's line arrived: lower-cased.
  const std::string dir = LowerCase((dir_ / "music").string()) + "/";
  const std::vector<std::string> expected = {
      "member: .·•× wavecrest system 0.0.8 - by - quillon ×•·.",
      "member: .·•× welcome - new user, aol - 9.0, on - 1 ×•·.",
      "member: .·•× please wait while wavecrest is searching... ×•·.",
      "member: .·•× directory " + dir + " set, total 2 mp3s ×•·.",
      "member: .·•× playing #1 - Alpha ×•·.",
      "member: .·•× next #2 - beta ×•·.",
      // The song that ended sat at its end for a while: the next one still plays.
      "member: .·•× current media - audio: normal, playstate: play, playstyle: none ×•·.",
  };
  EXPECT_EQ(replies, expected);
}

TEST_F(ConsoleE2E, TerminationSignalsEndItAsQuitDoes) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    Store("[settings]\nscreen name=member\nhandle=dj bob\n");
    QProcess* p = Start({"--console", "--raw", "--settings", settings_.string()});
    for (std::string out; out.find("welcome") == std::string::npos;) {
      ASSERT_TRUE(p->waitForReadyRead(60000)) << "no welcome";
      out += p->readAllStandardOutput().toStdString();
    }
    ::kill(static_cast<pid_t>(p->processId()), signal);
    ASSERT_TRUE(p->waitForFinished(30000)) << signal;
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit) << signal;
    EXPECT_EQ(p->exitCode(), 128 + signal) << signal;
    delete p;
    // The lock is free again and the settings file whole.
    ProgramRun next = Conversation("/quit\n");
    EXPECT_EQ(next.exitCode, 0) << signal;
    ASSERT_EQ(next.out.size(), 2u) << signal;
    EXPECT_EQ(Shown(next.out[1]), "member: .·•× welcome - dj bob, aol - 9.0, on - 2 ×•·.") << signal;
  }
}

TEST_F(ConsoleE2E, BadOptionsGetAUsageMessage) {
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"}, {"--settings"}, {"--client-version", "10.0"}, {"--member"}};
  for (const auto& args : cases) {
    QProcess* p = Start(args);
    p->closeWriteChannel();
    ASSERT_TRUE(p->waitForFinished(30000));
    EXPECT_EQ(p->exitCode(), 2) << args[0];
    EXPECT_NE(p->readAllStandardError().toStdString().find("usage: wavecrest"), std::string::npos) << args[0];
    delete p;
  }
}

TEST_F(ConsoleE2E, ScreenNameMessageBoxGoesToStandardError) {
  ProgramRun run = Conversation("/screenname ab\n/as ab coms\n", {"--member", "ab"});
  EXPECT_NE(run.err.find("Interface Error: Please enter your current AOL Screen Name in the box below!"),
            std::string::npos)
      << run.err;
}

TEST_F(ConsoleE2E, AFreshSettingsFileAsksForTheScreenNameAtStartAndOnceWhenALineIsIgnored) {
  ProgramRun run = Conversation("next\nnext\n/screenname Me\n.trig?\n", {"--member", "me"});
  const std::string prompt = "enter current aol screen name: the box holds \"screen name here\", and only lines from "
                             "that screen name are obeyed; answer with /screenname NAME (you are \"me\")\n";
  std::size_t shown = 0;
  for (std::size_t at = 0; (at = run.err.find(prompt, at)) != std::string::npos; at += prompt.size()) ++shown;
  EXPECT_EQ(shown, 2u) << run.err;
  ASSERT_FALSE(run.out.empty());
  EXPECT_EQ(Shown(run.out.back()), "me: .·•× current trigger: none ×•·.");
}

TEST(ProgramOptions, ParsesTheContract) {
  const auto parsed = ParseProgramOptions({"wavecrest", "--console", "--settings", "/tmp/x.dat", "--member", "Bob",
                                           "--client-version", "7.0", "--pretty"});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->settings, fs::path("/tmp/x.dat"));
  EXPECT_EQ(parsed.options->member, "Bob");
  EXPECT_EQ(parsed.options->clientVersion, "7.0");
  EXPECT_EQ(parsed.options->style, OutputStyle::Pretty);
  const auto version = ParseProgramOptions({"wavecrest", "--version"});
  EXPECT_FALSE(version.options);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.message, "wavecrest 0.0.8\n");
}

TEST(TerminalText, NothingInAChatLineCanDriveTheTerminal) {
  const struct {
    const char* html;
    const char* shown;
  } cases[] = {
      {"plain", "plain\x1b[0m"},
      {"a\x1b]0;owned\x07" "b", "a]0;ownedb\x1b[0m"},
      {"x\r\ny\t\x7f", "xy\x1b[0m"},
      {"c1 \xC2\x9B" "31m", "c1 31m\x1b[0m"},
      {"&lt;b&gt; &amp;", "<b> &\x1b[0m"},
      {"<b>bold</b>", "\x1b[0m\x1b[1mbold\x1b[0m\x1b[0m"},
      {"<font color=#ff0000>red", "\x1b[0m\x1b[38;2;255;0;0mred\x1b[0m"},
  };
  for (const auto& c : cases) EXPECT_EQ(RenderChatHtml(c.html), c.shown) << c.html;
}

}  // namespace
}  // namespace wavecrest
