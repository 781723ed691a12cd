#include "library/scan.h"

#include "core/bot.h"
#include "core/diagnostics.h"
#include "core/directory_reader.h"
#include "core/files.h"
#include "library/entry_names.h"

#include <algorithm>
#include <chrono>
#include <string_view>
#include <system_error>
#include <utility>

namespace wavecrest {

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

void ScanFolder(DirectoryReader& reader, const Folder& folder, std::vector<Folder>& directories, WalkState& state) {
  const std::string path = WithSlash(folder.path);
  const std::string realPrefix = WithSlash(folder.real);
  // Reused for every link of the listing.
  std::string linkPath;
  int sinceCheck = 0;
  const auto onEntry = [&](const DirectoryEntry& entry) {
    if (++sinceCheck == kEntriesPerClockRead) {
      sinceCheck = 0;
      if (!KeepWalking(state)) return ListingStep::Stop;
    }
    const std::string_view name = entry.name;
    if (IsHiddenName(name)) return ListingStep::Continue;
    EntryType type = entry.type;
    if (type == EntryType::Link) {
      linkPath.assign(path).append(name);
      const FollowOutcome target = reader.Follow(linkPath);
      // A link that leads nowhere, or round in a circle.
      if (target.error) {
        NoteSkipped(linkPath, target.error);
        return ListingStep::Continue;
      }
      type = target.type;
    }
    if (type == EntryType::Directory) {
      if (directories.size() >= state.limits.directoriesPerLevel) return ListingStep::Continue;
      std::string real;
      if (entry.type == EntryType::Link) {
        RealPathOutcome resolved = reader.RealPath(linkPath);
        if (resolved.error) {
          NoteSkipped(linkPath, resolved.error);
          return ListingStep::Continue;
        }
        real = std::move(resolved.path);
      } else {
        real.assign(realPrefix).append(name);
      }
      // Every real directory is listed once, by whichever path reached it first.
      if (!state.visited.insert(real).second) return ListingStep::Continue;
      directories.push_back(Folder{std::string(path).append(name), std::move(real)});
    } else if (type == EntryType::File) {
      if (state.Full() || !IsSelected(name, state.extension)) return ListingStep::Continue;
      state.found.Add(path, name);
    }
    return ListingStep::Continue;
  };
  const ListingOutcome outcome = reader.List(path, onEntry);
  // Unreadable or vanished: nothing (more) from here.
  if (outcome.status == ListingOutcome::Status::NotOpened) NoteSkipped("directory " + path, outcome.error);
  if (outcome.status == ListingOutcome::Status::Interrupted) NoteSkipped("the rest of directory " + path, outcome.error);
}

std::optional<FoundFiles> WalkTree(DirectoryReader& reader, const std::string& root, const std::string& extension,
                                   const KeepGoing& keepGoing, WalkLimits limits) {
  WalkState state;
  state.extension = extension;
  state.keepGoing = keepGoing;
  state.limits = limits;
  state.found.Reserve(std::min(limits.entries, kMaxLibraryEntries));
  RealPathOutcome real = reader.RealPath(root);
  if (real.error) {
    NoteSkipped("directory " + root, real.error);
    return KeepWalking(state) ? std::optional(std::move(state.found)) : std::nullopt;
  }
  state.visited.insert(real.path);

  std::vector<Folder> level;
  ScanFolder(reader, Folder{root, std::move(real.path)}, level, state);
  std::vector<Folder> next;
  // Once the library is full nothing further can be added, so the walk ends.
  while (!level.empty() && !state.Full() && !state.abandoned) {
    next.clear();
    for (const Folder& folder : level) {
      if (state.Full() || !KeepWalking(state)) break;
      ScanFolder(reader, folder, next, state);
    }
    std::swap(level, next);
  }
  if (!KeepWalking(state)) return std::nullopt;
  return std::move(state.found);
}

std::optional<std::vector<std::string>> FindFiles(DirectoryReader& reader, const std::string& root,
                                                  const std::string& extension, const KeepGoing& keepGoing,
                                                  WalkLimits limits) {
  const std::optional<FoundFiles> found = WalkTree(reader, root, extension, keepGoing, limits);
  if (!found) return std::nullopt;
  return found->Strings();
}

std::optional<SortedFiles> FindSortedFiles(DirectoryReader& reader, const std::string& directory,
                                           const std::string& extension, const KeepGoing& keepGoing) {
  std::optional<FoundFiles> found = WalkTree(reader, ResolvePathIgnoringCase(directory), extension, keepGoing);
  if (!found) return std::nullopt;
  return SortFiles(std::move(*found), keepGoing);
}

std::optional<Library> BuildLibrary(DirectoryReader& reader, const std::string& directory,
                                    const std::string& extension, const KeepGoing& keepGoing) {
  std::optional<SortedFiles> sorted = FindSortedFiles(reader, directory, extension, keepGoing);
  if (!sorted) return std::nullopt;
  return MakeLibrary(*sorted, extension);
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
  if (keepGoing()) library = BuildLibrary(bot.directories, directory, extension, keepGoing);
  bot.mainView.SetBusyPointer(false);
  if (!library || generation != scanGeneration) return;
  bot.form1.List3.items = std::move(library->paths);
  bot.form1.List2.items = std::move(library->names);
  bot.mainView.Refresh();
}

}  // namespace wavecrest
