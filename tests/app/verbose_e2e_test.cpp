// --verbose, driven through the real program: what was skipped, and why, goes
// to standard error for the person running it, never into the room.
#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <ostream>
#include <fstream>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "wavecrest_tests";
  static char* argv[] = {name, nullptr};
  if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

struct ProgramOutput {
  std::string out;
  std::string err;
};

ProgramOutput Converse(const std::vector<std::string>& args, const std::string& input) {
  QProcess p;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("WAVECREST_AUDIO_OUT", "null");
  p.setProcessEnvironment(env);
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  p.start(WAVECREST_BINARY, list);
  EXPECT_TRUE(p.waitForStarted(30000));
  p.write(input.data(), static_cast<qint64>(input.size()));
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(60000)) << "the program did not end";
  EXPECT_EQ(p.exitCode(), 0);
  return {p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

struct VerboseCase {
  const char* name;
  bool verbose;
  bool settingsBelowAFile;  // every write of the settings file fails
  const char* input;
  std::vector<std::string> expectedNotes;  // each must appear on standard error
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const VerboseCase& c, std::ostream* os) { *os << c.name; }

class VerboseE2E : public ::testing::TestWithParam<VerboseCase> {
 protected:
  void SetUp() override {
    EnsureApplication();
    dir_ = fs::temp_directory_path() / ("wavecrest-verbose-" + std::to_string(::getpid()) + "-" + GetParam().name);
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "music");
    fs::create_directories(dir_ / "shelf" / "album");  // folders only: dir refuses it
    // Not audio at all: the player cannot open it.
    std::ofstream(dir_ / "music" / "broken.mp3") << "this is not an mp3 file\n";
    // Nor this, whose name would clear the terminal if it were shown raw.
    std::ofstream(dir_ / "music" / "\x1b[2Jclear.mp3") << "not an mp3 either\n";
    std::ofstream(dir_ / "blocker") << "a file where the settings folder would be\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_P(VerboseE2E, SaysWhatWasSkippedOnlyWhenAskedAndNeverInTheRoom) {
  const VerboseCase& c = GetParam();
  const fs::path settings = c.settingsBelowAFile ? dir_ / "blocker" / "wavecrest.dat" : dir_ / "wavecrest.dat";
  if (!c.settingsBelowAFile) {
    std::ofstream(settings) << "[settings]\ndirectory=" << (dir_ / "music").string() << "/\nscreen name=member\n";
  }
  std::vector<std::string> args = {"--console", "--raw", "--member", "member", "--settings", settings.string()};
  if (c.verbose) args.push_back("--verbose");
  std::string input = c.input;
  for (std::size_t at; (at = input.find("$DIR")) != std::string::npos;) input.replace(at, 4, dir_.string());
  const ProgramOutput run = Converse(args, input);

  for (const std::string& note : c.expectedNotes) {
    EXPECT_NE(run.err.find(note), std::string::npos) << "missing on standard error: " << note << "\n" << run.err;
  }
  if (!c.verbose) {
    for (const char* note : {"skipped", "no answer to", "is invalid:"}) {
      EXPECT_EQ(run.err.find(note), std::string::npos) << run.err;
    }
    // A settings file that cannot be written is said once, not on every write.
    const std::size_t first = run.err.find("could not be written");
    if (first != std::string::npos) {
      EXPECT_EQ(run.err.find("could not be written", first + 1), std::string::npos) << run.err;
    }
  }
  EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << "a raw escape reached the terminal";
  // No note for the system's own replies, nor for somebody else's line.
  EXPECT_EQ(run.err.find("no answer to \"</b>"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("no answer to \"bob\""), std::string::npos) << run.err;
  // Failures are never told to the room.
  EXPECT_EQ(run.out.find("skipped"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("could not be written"), std::string::npos) << run.out;
}

// Lines of the member's (and one of somebody else's) that get no answer; the first
// while the box holds another screen name, with control characters in it; the
// last but one refused by its handler.
const char* const kUnanswered =
    "/screenname bob\nnext \x1b[31mred\x07\n/screenname member\n/as bob bob\n"
    "trig !\nnext\n!exit now\n!fcolor 12345\n!wavs\n!dir\n!hello\n"
    "!dir $DIR/music\n!dir $DIR/nothere/\n!dir $DIR/shelf/\n!skip abc\n!exit\n";

const std::string kBrokenNote = "wavecrest: skipped ";  // followed by the path and the reason

INSTANTIATE_TEST_SUITE_P(
    Notes, VerboseE2E,
    ::testing::Values(
        VerboseCase{"unplayable_file", true, false, "p broken\nexit\n",
                    {kBrokenNote, "broken.mp3: unrecognized file format"}},
        VerboseCase{"unplayable_file_quiet", false, false, "p broken\nexit\n", {}},
        VerboseCase{"hostile_file_name", true, false, "p clear\nexit\n", {kBrokenNote, "music/\\x1b[2Jclear.mp3: "}},
        VerboseCase{"unwritable_settings", true, true, "exit\n",
                    {"blocker/wavecrest.dat could not be written: ", "blocker: Not a directory"}},
        VerboseCase{"unwritable_settings_quiet", false, true, "fcolor ff0000\nfont arial\nexit\n",
                    {"blocker/wavecrest.dat could not be written: "}},
        VerboseCase{"why_no_answer", true, false, kUnanswered,
                    {R"(no answer to "next \x1b[31mred\x07": you are "member", not the screen name in the box ("bob"))",
                     "no answer to \"next\": the trigger is missing: say \"!next\"",
                     "no answer to \"!exit now\": \"exit\" takes nothing after it",
                     "no answer to \"!fcolor 12345\": \"fcolor\" takes exactly 6 characters",
                     "no answer to \"!wavs\": \"wavs\" is answered only while the extension is wav (it is mp3)",
                     "no answer to \"!dir\": \"dir\" needs something after a space",
                     "no answer to \"!hello\": \"!hello\" is no command",
                     "music is invalid: it does not end with /", "nothere/ is invalid: there is no such directory",
                     "shelf/ is invalid: no file lies directly in it",
                     "no answer to \"!skip abc\": no currently song is playing"}},
        VerboseCase{"why_no_answer_quiet", false, false, kUnanswered, {}}),
    [](const ::testing::TestParamInfo<VerboseCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace wavecrest
