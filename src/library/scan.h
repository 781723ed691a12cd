#pragma once

// The library: every file of the music directory's tree whose name holds "."
// plus the current extension, as full paths in List3 (sorted) and display
// names in List2 at the same positions.
//
// The walk is breadth-first and lists one directory completely before the
// next, so no listing is ever open while another runs and no recursion is
// needed. On Linux: "/" separates, a leading "." hides a file or directory,
// the lower-cased directory text is matched against the file system without
// regard to case, every real directory is listed at most once (a symbolic
// link that leads back into the tree cannot make the walk endless) and a
// directory that cannot be read yields nothing (--verbose says which, and why).

#include "library/found_files.h"
#include "library/library_order.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace wavecrest {

class Bot;
class DirectoryReader;

// Library positions are 16-bit: at most this many entries, and at most this
// many directories kept for one level of the walk.
inline constexpr std::size_t kMaxLibraryEntries = 32767;
inline constexpr std::size_t kMaxDirectoriesPerLevel = 32767;

struct WalkLimits {
  std::size_t entries = kMaxLibraryEntries;
  std::size_t directoriesPerLevel = kMaxDirectoriesPerLevel;
};

// A directory waiting to be listed: the path as the library shows it, and
// the real path that identifies it (no links, no "." or "..").
struct Folder {
  std::string path;
  std::string real;
};

// What one walk carries from folder to folder.
struct WalkState {
  std::string extension;                    // the extension copy used for the whole walk
  FoundFiles found;                         // selected files, in found order
  std::unordered_set<std::string> visited;  // real paths of the directories queued so far
  KeepGoing keepGoing;
  WalkLimits limits;
  bool abandoned = false;

  bool Full() const { return found.Count() >= limits.entries; }
};

// Lists one directory: appends its subdirectories to `directories` (up to
// the per-level limit) and its selected files to `state.found` (up to the
// library limit). Hidden entries, and directories listed before, are skipped.
void ScanFolder(DirectoryReader& reader, const Folder& folder, std::vector<Folder>& directories, WalkState& state);

// The full paths of the selected files of the tree below `root`, the root's
// own files included, in walk order: the root, then level by level, each
// directory in listing order. nullopt when `keepGoing` asked to abandon.
std::optional<FoundFiles> WalkTree(DirectoryReader& reader, const std::string& root, const std::string& extension,
                                   const KeepGoing& keepGoing = {}, WalkLimits limits = {});
// The same, each path a string of its own.
std::optional<std::vector<std::string>> FindFiles(DirectoryReader& reader, const std::string& root,
                                                  const std::string& extension, const KeepGoing& keepGoing = {},
                                                  WalkLimits limits = {});

// The selected files of a directory text (resolved without regard to case)
// and an extension, with their list-box order; nullopt when abandoned.
std::optional<SortedFiles> FindSortedFiles(DirectoryReader& reader, const std::string& directory,
                                           const std::string& extension, const KeepGoing& keepGoing = {});

// The library the bot builds from a directory text and an extension;
// nullopt when abandoned.
std::optional<Library> BuildLibrary(DirectoryReader& reader, const std::string& directory,
                                    const std::string& extension, const KeepGoing& keepGoing = {});

// Rebuilds List3 and List2 from lblDir and lblExt; does nothing when lblDir is
// empty. Shows the busy pointer during the walk and lets pending events run
// every 50 ms of work.
//
// A scan asked for from an event handled while a scan is running replaces
// it: the nested scan empties the lists and runs to its end, and the outer
// scan, once it gets control back, gives up without touching the lists. The
// lists therefore always describe the most recently started complete scan,
// made with the directory and extension current when it started.
void ScanLibrary(Bot& bot);

}  // namespace wavecrest
