#include "library/scan.h"

#include "core/bot.h"
#include "core/diagnostics.h"
#include "core/files.h"
#include "library/entry_names.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <utility>

namespace wavecrest {

namespace fs = std::filesystem;

namespace {

// Bumped by every scan that starts; a scan that sees it move while it let
// events run knows a nested scan has replaced it. One UI thread, so a plain
// counter suffices.
unsigned long long scanGeneration = 0;

// Events run after this much work, so the windows stay responsive without
// paying for a pass of the event queue after every file.
constexpr double kSliceSeconds = 0.05;
// The clock is read once per this many entries.
constexpr int kEntriesPerClockRead = 64;

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// The scan never speaks of failures in the room; these notes are how a person
// finds out why songs are missing from the library.
void NoteSkipped(const std::string& subject, const std::error_code& error) {
  Diagnose("skipped " + subject + ": " + error.message());
}

bool KeepWalking(WalkState& state) {
  if (!state.abandoned && state.keepGoing && !state.keepGoing()) state.abandoned = true;
  return !state.abandoned;
}

}  // namespace

void ScanFolder(const Folder& folder, std::vector<Folder>& directories, WalkState& state) {
  const std::string path = WithSlash(folder.path);
  const std::string realPrefix = WithSlash(folder.real);
  std::error_code error;
  fs::directory_iterator it(fs::path(path), error);
  if (error) {  // unreadable or vanished: nothing from here
    NoteSkipped("directory " + path, error);
    return;
  }
  int sinceCheck = 0;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) {
      NoteSkipped("the rest of directory " + path, error);
      return;
    }
    if (++sinceCheck == kEntriesPerClockRead) {
      sinceCheck = 0;
      if (!KeepWalking(state)) return;
    }
    const fs::directory_entry& entry = *it;
    std::string name = entry.path().filename().string();
    if (IsHiddenName(name)) continue;
    std::error_code typeError;
    const bool isDirectory = entry.is_directory(typeError);
    // A link that leads nowhere, or round in a circle.
    if (typeError) {
      NoteSkipped(path + name, typeError);
      continue;
    }
    if (isDirectory) {
      if (directories.size() >= state.limits.directoriesPerLevel) continue;
      std::string real = realPrefix + name;
      if (entry.is_symlink(typeError)) {
        real = fs::canonical(entry.path(), typeError).string();
        if (typeError) {
          NoteSkipped(path + name, typeError);
          continue;
        }
      }
      // Every real directory is listed once, by whichever path reached it first.
      if (!state.visited.insert(real).second) continue;
      directories.push_back(Folder{path + name, std::move(real)});
    } else if (entry.is_regular_file(typeError)) {
      if (state.Full() || !IsSelected(name, state.extension)) continue;
      state.found.push_back(path + name);
    }
  }
}

std::optional<std::vector<std::string>> FindFiles(const std::string& root, const std::string& extension,
                                                  const KeepGoing& keepGoing, WalkLimits limits) {
  WalkState state;
  state.extension = extension;
  state.keepGoing = keepGoing;
  state.limits = limits;
  state.found.reserve(std::min(limits.entries, kMaxLibraryEntries));
  std::error_code error;
  const fs::path real = fs::canonical(fs::path(root), error);
  if (error) {
    NoteSkipped("directory " + root, error);
    return KeepWalking(state) ? std::optional(std::move(state.found)) : std::nullopt;
  }
  state.visited.insert(real.string());

  std::vector<Folder> level;
  ScanFolder(Folder{root, real.string()}, level, state);
  std::vector<Folder> next;
  // Once the library is full nothing further can be added, so the walk ends.
  while (!level.empty() && !state.Full() && !state.abandoned) {
    next.clear();
    for (const Folder& folder : level) {
      if (state.Full() || !KeepWalking(state)) break;
      ScanFolder(folder, next, state);
    }
    std::swap(level, next);
  }
  if (!KeepWalking(state)) return std::nullopt;
  return std::move(state.found);
}

std::optional<Library> BuildLibrary(const std::string& directory, const std::string& extension,
                                    const KeepGoing& keepGoing) {
  std::optional<std::vector<std::string>> found = FindFiles(ResolvePathIgnoringCase(directory), extension, keepGoing);
  if (!found) return std::nullopt;
  return SortLibrary(std::move(*found), extension, keepGoing);
}

void ScanLibrary(Bot& bot) {
  if (bot.form1.lblDir.empty()) return;
  const unsigned long long generation = ++scanGeneration;
  bot.form1.List2.Clear();
  bot.form1.List3.Clear();
  const std::string directory = bot.form1.lblDir;
  const std::string extension = bot.form1.lblExt;
  bot.mainView.SetBusyPointer(true);
  bot.mainView.Refresh();

  // Pending events run at the start and then after every slice of work; a
  // nested scan started by one of them replaces this one.
  double sliceStart = bot.loop.SecondsSinceMidnight();
  bool started = false;
  const KeepGoing keepGoing = [&bot, generation, &sliceStart, &started] {
    const double now = bot.loop.SecondsSinceMidnight();
    // A clock that went back has passed midnight: that counts as a full slice.
    if (started && now >= sliceStart && now - sliceStart < kSliceSeconds) return true;
    started = true;
    bot.loop.PumpOnce(std::chrono::milliseconds(0));
    sliceStart = bot.loop.SecondsSinceMidnight();
    return generation == scanGeneration;
  };
  std::optional<Library> library;
  if (keepGoing()) library = BuildLibrary(directory, extension, keepGoing);
  bot.mainView.SetBusyPointer(false);
  if (!library || generation != scanGeneration) return;
  bot.form1.List3.items = std::move(library->paths);
  bot.form1.List2.items = std::move(library->names);
  bot.mainView.Refresh();
}

}  // namespace wavecrest
