#include "app/cli/tools.h"

#include "app/files/posix_directory_reader.h"
#include "app/modules/lazy_tag_reader.h"
#include "core/files.h"
#include "core/control_characters.h"
#include "library/entry_names.h"
#include "library/scan.h"
#include "trackinfo/format.h"
#include "trackinfo/id3.h"
#include "trackinfo/track_info.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace wavecrest {

namespace {

constexpr const char* kScanUsage = "usage: wavecrest scan [-0] DIR [--ext EXT]\n";
constexpr const char* kTagsUsage = "usage: wavecrest tags FILE\n";

struct ScanArguments {
  std::string directory;
  std::string extension = "mp3";
  // -0: records end in NUL and are written as they are, for scripts; else
  // each ends in a line end and its control characters are shown escaped.
  bool nulSeparated = false;
};

std::optional<ScanArguments> ParseScanArguments(int argc, char** argv) {
  ScanArguments arguments;
  bool haveDirectory = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "-0") {
      arguments.nulSeparated = true;
    } else if (argument == "--ext") {
      if (i + 1 >= argc || std::string(argv[i + 1]).empty()) return std::nullopt;
      arguments.extension = argv[++i];
    } else if (!haveDirectory && !argument.empty() && argument.rfind("--", 0) != 0) {
      arguments.directory = argument;
      haveDirectory = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveDirectory) return std::nullopt;
  return arguments;
}

// Appends `text` as the terminal may be shown it. Nearly every file name is
// printable ASCII, which is kept as it is; only the rest needs the escaping.
void AppendShown(std::string_view text, std::string& out) {
  const bool printable =
      std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
  if (printable) {
    out += text;
  } else {
    out += EscapeControls(text);
  }
}

}  // namespace

int RunScanTool(int argc, char** argv, std::ostream& out, std::ostream& err) {
  const std::optional<ScanArguments> arguments = ParseScanArguments(argc, argv);
  if (!arguments) {
    err << kScanUsage;
    return 2;
  }
  std::error_code error;
  const std::string resolved = ResolvePathIgnoringCase(arguments->directory);
  if (!std::filesystem::is_directory(resolved, error)) {
    err << "wavecrest scan: " << EscapeControls(arguments->directory) << ": not a directory that can be read\n";
    return 1;
  }
  PosixDirectoryReader reader;
  const std::optional<SortedFiles> sorted = FindSortedFiles(reader, arguments->directory, arguments->extension);
  if (!sorted) return 1;
  // Written in blocks straight from the found paths: few writes, and no
  // second copy of the whole library.
  const bool raw = arguments->nulSeparated;
  std::string text;
  std::string name;
  for (std::size_t i = 0; i < sorted->order.size(); ++i) {
    const std::string_view path = sorted->files[sorted->order[i]];
    name.clear();
    AppendDisplayName(path, arguments->extension, name);
    text += std::to_string(i + 1);
    text += '\t';
    if (raw) {
      text.append(name).append(1, '\t').append(path).append(1, '\0');
    } else {
      AppendShown(name, text);
      text += '\t';
      AppendShown(path, text);
      text += '\n';
    }
    if (text.size() >= 64 * 1024) {
      out << text;
      text.clear();
    }
  }
  out << text;
  out.flush();
  return out ? 0 : 1;
}

int RunTagsTool(int argc, char** argv, TagReader& id3v2, std::ostream& out, std::ostream& err) {
  if (argc != 2 || std::string(argv[1]).empty()) {
    err << kTagsUsage;
    return 2;
  }
  const std::string path = argv[1];
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    err << "wavecrest tags: " << EscapeControls(path) << ": not a file that can be read\n";
    return 1;
  }
  const TrackInfo info = ReadTrackInfo(path, id3v2);
  std::string size = FormatSize(path).value_or("");
  if (const std::size_t tag = size.find("</b>"); tag != std::string::npos) size.replace(tag, 4, " ");
  const struct {
    const char* name;
    std::string value;
  } lines[] = {
      {"title", TagFieldText(info.tag.title)},
      {"artist", TagFieldText(info.tag.artist)},
      {"album", TagFieldText(info.tag.album)},
      {"year", TagFieldText(info.tag.year)},
      {"comment", TagFieldText(info.tag.comment)},
      // The chat leaves an unknown rate empty; a person is told why.
      {"kbit", info.bitRate.empty() ? "no MPEG audio header" : info.bitRate},
      {"size", size},
  };
  for (const auto& line : lines) out << line.name << '\t' << EscapeControls(line.value) << '\n';
  return 0;
}

int RunScanTool(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return RunScanTool(argc, argv, std::cout, std::cerr);
}

int RunTagsTool(int argc, char** argv) {
  LazyTagReader tags(LoadTagsModule);
  return RunTagsTool(argc, argv, tags, std::cout, std::cerr);
}

}  // namespace wavecrest
