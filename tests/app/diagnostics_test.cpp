// The notes the adapters leave for --verbose, caught in process.
#include "core/diagnostics.h"
#include "app/settings/ini_file_store.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

class DiagnosticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("wavecrest-diagnostics-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    SetDiagnosticSink([this](std::string_view note) { notes_.emplace_back(note); });
  }
  void TearDown() override {
    SetDiagnosticSink(nullptr);
    fs::remove_all(dir_);
  }

  fs::path dir_;
  std::vector<std::string> notes_;
};

TEST_F(DiagnosticsTest, NothingIsPassedOnOnceTheSinkIsCleared) {
  Diagnose("first");
  SetDiagnosticSink(nullptr);
  Diagnose("second");
  EXPECT_EQ(notes_, std::vector<std::string>{"first"});
}

TEST_F(DiagnosticsTest, SettingsWritesThatFailSayWhichFileAndWhy) {
  struct Case {
    const char* name;
    fs::path settings;
    std::string reason;
  };
  fs::create_directories(dir_ / "a directory");
  std::ofstream(dir_ / "a file") << "x";
  const Case cases[] = {
      // A missing folder is made; one below a file cannot be.
      {"folder cannot be made", dir_ / "a file" / "missing" / "wavecrest.dat", "could not be written: " + (dir_ / "a file").string() + ": Not a directory"},
      {"path is a directory", dir_ / "a directory", "as it could not be read: not a regular file"},
  };
  for (const Case& c : cases) {
    notes_.clear();
    IniFileStore store(c.settings);
    EXPECT_FALSE(store.WriteIni("settings", "volume", "50")) << c.name;
    ASSERT_EQ(notes_.size(), 1u) << c.name;
    EXPECT_NE(notes_[0].find(c.settings.string()), std::string::npos) << c.name << ": " << notes_[0];
    EXPECT_NE(notes_[0].find(c.reason), std::string::npos) << c.name << ": " << notes_[0];
  }
}

TEST_F(DiagnosticsTest, SettingsWritesThatSucceedLeaveNoNote) {
  IniFileStore store(dir_ / "wavecrest.dat");
  EXPECT_TRUE(store.WriteIni("settings", "volume", "50"));
  EXPECT_EQ(store.ReadIni("settings", "volume"), "50");
  EXPECT_TRUE(notes_.empty());
}

TEST(ReplaceFileAtomically, GivesTheReasonItFailed) {
  const fs::path dir = fs::temp_directory_path() / ("wavecrest-replace-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "sub");
  std::string error;
  EXPECT_FALSE(ReplaceFileAtomically(dir / "sub", "x", &error));
  EXPECT_EQ(error, "it is a directory");
  error.clear();
  EXPECT_FALSE(ReplaceFileAtomically(dir / "none" / "f", "x", &error));
  EXPECT_EQ(error, "No such file or directory");
  error = "left over";
  EXPECT_TRUE(ReplaceFileAtomically(dir / "f", "x", &error));
  EXPECT_EQ(error, "left over");  // untouched on success
  fs::remove_all(dir);
}

}  // namespace
}  // namespace wavecrest
