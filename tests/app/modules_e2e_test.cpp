// The program's modules: loaded only when used, and a missing one said once, never a crash.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

// Standard error (with the loader's notes under LD_DEBUG) and the exit status of a shell command.
std::pair<std::string, int> Shell(const std::string& command) {
  FILE* pipe = ::popen((command + " 2>&1 >/dev/null").c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer{};
  for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
  return {out, WEXITSTATUS(::pclose(pipe))};
}

TEST(ProgramModules, LoadedOnlyWhenUsedAndAMissingOneIsSaidOnceNeverACrash) {
  const fs::path dir = fs::temp_directory_path() / ("wavecrest-modules-" + std::to_string(::getpid()));
  fs::create_directories(dir / "music");
  std::ofstream(dir / "music" / "alpha.mp3") << "not really a song";
  // An ID3v2 tag and no ID3v1 one: only such a file needs the tag library.
  const std::string title("TIT2\0\0\0\x07\0\0\x03Tagged", 17);
  std::ofstream(dir / "tagged.mp3") << std::string("ID3\x04\0\0\0\0\0\x11", 10) << title << std::string(300, '\0');
  const std::string tagged = " tags " + (dir / "tagged.mp3").string();
  std::ofstream(dir / "wavecrest.dat") << "[settings]\ndirectory=" << (dir / "music").string() << "/\nscreen name=m\n";
  // The program alone, without its modules beside it or installed.
  fs::copy_file(WAVECREST_BINARY, dir / "wavecrest");
  const std::string console = " --console --settings " + (dir / "wavecrest.dat").string();
  const std::string env = "HOME=" + dir.string() + " WAVECREST_AUDIO_OUT=null ";
  const struct {
    std::string command;
    int status;
    std::string said;  // a line standard error must hold; empty: none from the program
    std::string loads = "";  // the one module library the run maps (seen under LD_DEBUG)
  } runs[] = {
      {"LD_DEBUG=files " WAVECREST_BINARY " scan " + dir.string(), 0, ""},
      {"LD_DEBUG=files " WAVECREST_BINARY " tags " + (dir / "music/alpha.mp3").string(), 0, ""},
      {"echo exit | LD_DEBUG=files " WAVECREST_BINARY + console, 0, ""},
      {"printf 'p alpha\\np alpha\\nexit\\n' | " + (dir / "wavecrest").string() + console, 0, "wavecrest: cannot load the player"},
      {"DISPLAY=:97 " + (dir / "wavecrest").string() + " --settings " + (dir / "wavecrest.dat").string(), 1,
       "wavecrest: cannot load the windows"},
      {"LD_DEBUG=files " WAVECREST_BINARY + tagged, 0, "", "file=libtag"},
      {(dir / "wavecrest").string() + tagged, 0, "wavecrest: cannot load the tag reader"},
  };
  for (const auto& run : runs) {
    const auto [err, status] = Shell(env + run.command);
    EXPECT_EQ(status, run.status) << run.command << "\n" << err;
    for (const char* library : {"file=libmpv", "file=libQt6Gui", "file=libQt6Widgets", "file=libtag"}) {
      const bool loaded = err.find(library) != std::string::npos;
      EXPECT_EQ(loaded, run.loads == library) << run.command << (loaded ? " loaded " : " did not load ") << library;
    }
    if (run.said.empty()) continue;
    const size_t first = err.find(run.said);
    EXPECT_NE(first, std::string::npos) << run.command << "\n" << err;
    EXPECT_EQ(err.find(run.said, first + 1), std::string::npos) << "said twice:\n" << err;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace wavecrest
