#include "app/settings/ini_file_store.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

class IniFileStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("wavecrest-ini-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / "wavecrest.dat";
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  void WriteRaw(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string ReadRaw() {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  fs::path dir_;
  fs::path path_;
};

TEST_F(IniFileStoreTest, MissingFileReadsEmptyAndIsCreatedOnWrite) {
  IniFileStore store(path_);
  EXPECT_EQ(store.ReadIni("settings", "load"), "");
  EXPECT_TRUE(store.WriteIni("settings", "load", "1"));
  EXPECT_EQ(ReadRaw(), "[settings]\nLOAD=1\n");
  EXPECT_EQ(store.ReadIni("settings", "LOAD"), "1");
}

TEST_F(IniFileStoreTest, CarriedOverWindowsFileIsReadAndKeptIntact) {
  // Windows-1252 bytes, CR LF line ends: a file from the original platform.
  WriteRaw("[SETTINGS]\r\nHandle=Some One\r\nfront ascii=\xB7\x95\xD7\r\n");
  IniFileStore store(path_);
  EXPECT_EQ(store.ReadIni("settings", "handle"), "Some One");
  EXPECT_EQ(store.ReadIni("settings", "front ascii"), "·•×");
  EXPECT_TRUE(store.WriteIni("settings", "load", "2"));
  EXPECT_EQ(ReadRaw(), "[SETTINGS]\r\nHandle=Some One\r\nfront ascii=·•×\r\nLOAD=2\r\n");
}

TEST_F(IniFileStoreTest, NoLeftoverTemporaryFiles) {
  IniFileStore store(path_);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(store.WriteIni("settings", "load", std::to_string(i)));
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(IniFileStoreTest, DirectoryInPlaceOfTheFileLosesTheChangeSafely) {
  fs::create_directory(path_);
  IniFileStore store(path_);
  EXPECT_EQ(store.ReadIni("settings", "load"), "");
  EXPECT_FALSE(store.WriteIni("settings", "load", "1"));
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(IniFileStoreTest, UnwritableLocationLosesTheChangeSilently) {
  // A path below a regular file can never be written, not even by root.
  WriteRaw("[settings]\nload=4\n");
  IniFileStore store(path_ / "wavecrest.dat");
  EXPECT_FALSE(store.WriteIni("settings", "load", "5"));
  EXPECT_EQ(ReadRaw(), "[settings]\nload=4\n");
}

TEST_F(IniFileStoreTest, ReadOnlyDirectoryKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  WriteRaw("[settings]\nload=4\n");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  IniFileStore store(path_);
  EXPECT_FALSE(store.WriteIni("settings", "load", "5"));
  EXPECT_EQ(store.ReadIni("settings", "load"), "4");
}

TEST_F(IniFileStoreTest, UnreadableFileIsNeverOverwritten) {
  // A file that cannot be read must not be replaced by one holding a single key.
  fs::create_directory(dir_ / "sub");
  path_ = dir_ / "sub" / "wavecrest.dat";
  WriteRaw("[settings]\nhandle=keep me\n");
  fs::permissions(path_, fs::perms::none);
  IniFileStore store(path_);
  if (std::ifstream(path_).good()) GTEST_SKIP() << "root reads files without permission";
  EXPECT_FALSE(store.WriteIni("settings", "load", "1"));
  fs::permissions(path_, fs::perms::owner_read);
  EXPECT_EQ(ReadRaw(), "[settings]\nhandle=keep me\n");
}

TEST_F(IniFileStoreTest, KeepsPermissionsAndSymbolicLinks) {
  const fs::path real = dir_ / "real.dat";
  { std::ofstream(real) << "[settings]\nload=1\n"; }
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(real, path_);
  IniFileStore store(path_);
  ASSERT_TRUE(store.WriteIni("settings", "load", "2"));
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(store.ReadIni("settings", "load"), "2");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileStoreTest, WritersOfTheSameFileNeverRollBackEachOther) {
  // Each writer adds keys of its own: a write that renamed a copy read before
  // another's write would drop that key for good.
  constexpr int kWriters = 3;
  constexpr int kKeysEach = 25;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([this, w] {
      IniFileStore store(path_);
      for (int k = 0; k < kKeysEach; ++k) store.WriteIni("settings", "w" + std::to_string(w) + "k" + std::to_string(k), "v");
    });
  }
  for (auto& writer : writers) writer.join();
  IniFileStore store(path_);
  int missing = 0;
  for (int w = 0; w < kWriters; ++w) {
    for (int k = 0; k < kKeysEach; ++k) missing += store.ReadIni("settings", "w" + std::to_string(w) + "k" + std::to_string(k)) != "v";
  }
  EXPECT_EQ(missing, 0);
  EXPECT_FALSE(fs::exists(path_.string() + ".write-lock"));
}

TEST_F(IniFileStoreTest, StartRemovesOnlyOurOwnStaleTemporaryFiles) {
  WriteRaw("[settings]\nload=3\n");
  const struct {
    const char* name;
    bool removed;
  } files[] = {
      {".wavecrest.dat.a1B2c3", true},  {".wavecrest.dat.ZZZZZZ", true}, {".wavecrest.dat.a1B2c", false},
      {".wavecrest.dat.a1B2c3d", false}, {".other.dat.a1B2c3", false},    {"wavecrest.dat.lock", false},
      {".wavecrest.dat.a1-2c3", false},
  };
  for (const auto& f : files) std::ofstream(dir_ / f.name) << "partial";
  IniFileStore store(path_);
  for (const auto& f : files) EXPECT_EQ(fs::exists(dir_ / f.name), !f.removed) << f.name;
  EXPECT_EQ(store.ReadIni("settings", "load"), "3");
}

TEST_F(IniFileStoreTest, MissingFoldersAreMadePrivateOnTheFirstWrite) {
  const fs::path nested = dir_ / "new" / "deeper" / "wavecrest.dat";
  IniFileStore store(nested);
  EXPECT_FALSE(fs::exists(dir_ / "new"));
  ASSERT_TRUE(store.WriteIni("settings", "load", "1"));
  EXPECT_EQ(store.ReadIni("settings", "load"), "1");
  for (const fs::path& folder : {dir_ / "new", dir_ / "new" / "deeper"}) {
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0) << folder;
    EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
  }
}

TEST_F(IniFileStoreTest, StrayBytesInOneLineLeaveTheOthersIntact) {
  WriteRaw("[settings]\nhandle=jos\xC3\xA9\nfront ascii=\xE2\x80\xA2\n");
  IniFileStore store(path_);
  ASSERT_TRUE(store.WriteIni("settings", "screen name", "me\xFF"));
  ASSERT_TRUE(store.WriteIni("settings", "load", "2"));
  EXPECT_EQ(ReadRaw(), "[settings]\nhandle=jos\xC3\xA9\nfront ascii=\xE2\x80\xA2\nSCREEN NAME=me\xC3\xBF\nLOAD=2\n");
}

}  // namespace
}  // namespace wavecrest
