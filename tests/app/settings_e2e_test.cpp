// The settings file under real processes: instances started and refused while
// one changes settings, kills in the middle of writes, text that is not UTF-8,
// and what the console writes to a terminal.
#include "core/ini_text.h"
#include "core/text.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

// A colour's six hex digits: a two-digit prefix, then the number.
std::string Hex(const char* prefix, int number) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%s%04x", prefix, number & 0xFFFF);
  return digits;
}

class SettingsE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "wavecrest_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    dir_ = fs::temp_directory_path() / ("wavecrest-settings-e2e-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = dir_ / "wavecrest.dat";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::unique_ptr<QProcess> Start(std::vector<std::string> extra = {}, const std::map<QString, QString>& env = {}) {
    auto p = std::make_unique<QProcess>();
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("WAVECREST_AUDIO_OUT", "null");
    for (const auto& [key, value] : env) environment.insert(key, value);
    p->setProcessEnvironment(environment);
    QStringList args = {"--console", "--raw", "--member", "member", "--settings", QString::fromStdString(settings_)};
    for (const auto& a : extra) args << QString::fromStdString(a);
    p->start(WAVECREST_BINARY, args);
    EXPECT_TRUE(p->waitForStarted(30000));
    return p;
  }
  // Reads standard output until it holds `text`; false when the program ends first.
  static bool ReadUntil(QProcess& p, std::string& out, const std::string& text) {
    while (out.find(text) == std::string::npos) {
      if (!p.waitForReadyRead(60000)) return false;
      out += p.readAllStandardOutput().toStdString();
    }
    return true;
  }
  std::string Bytes() const {
    std::ifstream in(settings_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string Value(const std::string& key) const { return IniLookup(Bytes(), "settings", key).value_or("(missing)"); }
  int Temporaries() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) count += entry.path().filename().string().starts_with(".wavecrest.dat.");
    return count;
  }

  fs::path dir_;
  fs::path settings_;
};

TEST_F(SettingsE2E, InstancesRefusedWhileOneChangesSettingsLoseNothing) {
  std::ofstream(settings_) << "[settings]\nscreen name=member\n";
  auto first = Start();
  std::string out;
  ASSERT_TRUE(ReadUntil(*first, out, "welcome"));
  // Ten keys, each written once a round, spread over the time the refused
  // starts take to read the file and write their screen name.
  const struct {
    const char* command;
    const char* key;
    std::string (*value)(int round);
  } writes[] = {
      {"font", "font", [](int r) { return "font" + std::to_string(r); }},
      {"fcolor", "color", [](int r) { return Hex("a0", r); }},
      {"fascii", "front ascii", [](int r) { return "front" + std::to_string(r); }},
      {"fafont", "front ascii font", [](int r) { return "faf" + std::to_string(r); }},
      {"facolor", "front ascii color", [](int r) { return Hex("b0", r); }},
      {"eascii", "end ascii", [](int r) { return "end" + std::to_string(r); }},
      {"eafont", "end ascii font", [](int r) { return "eaf" + std::to_string(r); }},
      {"eacolor", "end ascii color", [](int r) { return Hex("c0", r); }},
      {"vol", "volume", [](int r) { return std::to_string(r % 100 + 1); }},
      {"handle", "handle", [](int r) { return "handle" + std::to_string(r); }},
  };
  // Rounds follow each other while the refused instances start, so the first
  // writes nearly all the time; any key rolled back within a round is seen at
  // its end, as each is written once a round.
  constexpr int kGroups = 3;
  constexpr int kStartsEachGroup = 4;
  constexpr int kMaxRoundsEachGroup = 400;
  int round = 0;
  for (int group = 0; group < kGroups; ++group) {
    std::vector<std::unique_ptr<QProcess>> refused;
    for (int i = 0; i < kStartsEachGroup; ++i) {
      refused.push_back(Start());
      refused.back()->closeWriteChannel();
    }
    const auto running = [&refused] {
      bool any = false;
      for (auto& p : refused) {
        if (!p->waitForFinished(0) && p->state() != QProcess::NotRunning) any = true;
      }
      return any;
    };
    for (int inGroup = 0; inGroup < kMaxRoundsEachGroup && running(); ++inGroup, ++round) {
      std::string batch;
      for (const auto& w : writes) batch += std::string(w.command) + " " + w.value(round) + "\n";
      first->write(batch.c_str());
      ASSERT_TRUE(ReadUntil(*first, out, writes[9].value(round) + "</b>")) << "round " << round;
      for (const auto& w : writes) ASSERT_EQ(Value(w.key), w.value(round)) << "round " << round << ": " << w.key;
    }
    for (auto& p : refused) {
      if (p->state() != QProcess::NotRunning) {
        ASSERT_TRUE(p->waitForFinished(60000));
      }
      EXPECT_EQ(p->exitCode(), 3) << "group " << group;
    }
  }
  std::printf("%d rounds of %zu writes while %d instances were refused\n", round, std::size(writes),
              kGroups * kStartsEachGroup);
  EXPECT_EQ(Value("load"), "1");
  first->write("/quit\n");
  ASSERT_TRUE(first->waitForFinished(60000));
  EXPECT_EQ(first->exitCode(), 0);
}

TEST_F(SettingsE2E, SimultaneousStartsRunOneInstanceAndCountOneStart) {
  constexpr int kRounds = 3;
  constexpr int kStarts = 8;
  for (int round = 0; round < kRounds; ++round) {
    std::ofstream(settings_) << "[settings]\nscreen name=member\nhandle=h" << round << "\nload=" << round * 10 << "\n";
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < kStarts; ++i) starts.push_back(Start());
    // All but one are refused; the one that runs waits for its input.
    int refused = 0;
    QProcess* running = nullptr;
    for (auto& p : starts) {
      // The one that runs says its welcome; a refused one ends after its line.
      std::string out;
      while (out.find("welcome") == std::string::npos && p->state() != QProcess::NotRunning) {
        p->waitForReadyRead(60000);
        out += p->readAllStandardOutput().toStdString();
      }
      if (out.find("welcome") != std::string::npos) {
        EXPECT_EQ(running, nullptr) << "round " << round << ": two instances run";
        running = p.get();
      } else {
        EXPECT_EQ(p->exitCode(), 3) << "round " << round;
        ++refused;
      }
    }
    ASSERT_NE(running, nullptr) << "round " << round;
    EXPECT_EQ(refused, kStarts - 1);
    running->write("/quit\n");
    ASSERT_TRUE(running->waitForFinished(60000));
    EXPECT_EQ(Value("load"), std::to_string(round * 10 + 1)) << "round " << round << ":\n" << Bytes();
    EXPECT_EQ(Value("handle"), "h" + std::to_string(round)) << "round " << round;
    EXPECT_EQ(Value("screen name"), "member") << "round " << round;
  }
}

TEST_F(SettingsE2E, KillsDuringWritesNeverTearTheFileAndLeaveNothingBehind) {
  std::ofstream(settings_) << "[settings]\nscreen name=member\nhandle=kept\n";
  std::mt19937 random(12345);
  constexpr int kKills = 12;
  for (int kill = 0; kill < kKills; ++kill) {
    auto run = Start();
    std::string out;
    ASSERT_TRUE(ReadUntil(*run, out, "welcome"));
    std::string writes;
    for (int i = 0; i < 60; ++i) writes += "font f" + std::to_string(i) + "\n";
    run->write(writes.c_str());
    // Killed after a random number of confirmed writes, most likely inside another.
    const int after = static_cast<int>(random() % 20);
    ASSERT_TRUE(ReadUntil(*run, out, "new font: <b>f" + std::to_string(after) + "</b>"));
    run->kill();
    ASSERT_TRUE(run->waitForFinished(30000));
    const std::string font = Value("font");
    EXPECT_TRUE(font.size() >= 2 && font[0] == 'f' && std::stoi(font.substr(1)) >= after) << kill << ": " << Bytes();
    EXPECT_EQ(Value("handle"), "kept") << kill;
    EXPECT_EQ(Value("load"), std::to_string(kill + 1)) << kill;
  }
  // The next start clears whatever temporary files the kills left.
  auto last = Start();
  last->write("/quit\n");
  ASSERT_TRUE(last->waitForFinished(60000));
  EXPECT_EQ(Temporaries(), 0);
  EXPECT_FALSE(fs::exists(settings_.string() + ".write-lock"));
}

TEST_F(SettingsE2E, TextThatIsNotUtf8SpoilsNoOtherSetting) {
  std::ofstream(settings_) << "[settings]\nscreen name=member\nhandle=jos\xC3\xA9\nfront ascii=\xE2\x80\xA2\n";
  auto run = Start();
  // The box is written twice, each time the whole file read and written again;
  // a line longer than 1 MiB follows.
  const std::string input = "/screenname me\xFF\n/screenname member\n/type " + std::string(1100000, 'x') + "\n/quit\n";
  run->write(input.data(), static_cast<qint64>(input.size()));
  run->closeWriteChannel();
  ASSERT_TRUE(run->waitForFinished(60000));
  const std::string bytes = Bytes();
  EXPECT_TRUE(IsValidUtf8(bytes)) << bytes;
  EXPECT_EQ(Value("handle"), "jos\xC3\xA9");
  EXPECT_EQ(Value("front ascii"), "\xE2\x80\xA2");
  EXPECT_EQ(Value("screen name"), "member");
  EXPECT_NE(run->readAllStandardError().toStdString().find("longer than 1 MiB was cut"), std::string::npos);
}

TEST_F(SettingsE2E, PrettyOutputIsReadableOnADarkTerminalAndHonoursNoColor) {
  std::ofstream(settings_) << "[settings]\nscreen name=member\n";
  const struct {
    const char* noColor;
    bool colours;
  } cases[] = {{"", true}, {"1", false}};
  for (const auto& c : cases) {
    auto run = Start({"--pretty"}, {{"NO_COLOR", c.noColor}});
    run->write("/quit\n");
    ASSERT_TRUE(run->waitForFinished(60000));
    const std::string out = run->readAllStandardOutput().toStdString();
    ASSERT_NE(out.find("welcome"), std::string::npos) << out;
    // The default text colour, black, is the terminal's own; the blue decorations stay blue.
    EXPECT_EQ(out.find("\x1b[38;2;0;0;0m"), std::string::npos) << c.noColor;
    EXPECT_EQ(out.find("\x1b[39m") != std::string::npos, c.colours) << c.noColor;
    EXPECT_EQ(out.find("\x1b[38;2;0;0;255m") != std::string::npos, c.colours) << c.noColor;
  }
}

}  // namespace
}  // namespace wavecrest
