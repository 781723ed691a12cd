#include "library/scan.h"

#include "core/bot.h"
#include "core/collation.h"
#include "core/diagnostics.h"
#include "core/files.h"
#include "core/text.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <memory>
#include <chrono>
#include <filesystem>
#include <numeric>
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

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Length of the longest prefix all paths share that ends with "/".
std::size_t SharedDirectoryLength(const std::vector<std::string>& paths) {
  if (paths.empty()) return 0;
  const std::string_view first = paths.front();
  std::size_t common = first.size();
  for (const std::string& path : paths) {
    const std::size_t limit = std::min(common, path.size());
    std::size_t n = 0;
    while (n < limit && first[n] == path[n]) ++n;
    common = n;
  }
  const std::size_t slash = first.substr(0, common).rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

// Collation keys of paths in list-box order: the collator the list boxes
// use (the user's locale, root when it has none; letters and accents count,
// case does not), one collation pass per key into reused buffers. Paths are
// tens of thousands, so the cost per key is what the scan's speed hangs on.
class PathKeys {
 public:
  PathKeys() : collator_(NewListCollator()) {}

  // Appends the key of `text` (no terminating NUL) to `out`; nothing when no
  // collator could be made (the code-point tie-break then orders alone).
  void Append(std::string_view text, std::string& out) {
    if (!collator_) return;
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    utf16_.resize(text.size() + 1);
    u_strFromUTF8WithSub(utf16_.data(), static_cast<int32_t>(utf16_.size()), &length, text.data(),
                         static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return;
    int32_t needed = collator_->getSortKey(utf16_.data(), length, bytes_.data(), static_cast<int32_t>(bytes_.size()));
    if (needed > static_cast<int32_t>(bytes_.size())) {
      bytes_.resize(static_cast<std::size_t>(needed) * 2);
      needed = collator_->getSortKey(utf16_.data(), length, bytes_.data(), static_cast<int32_t>(bytes_.size()));
    }
    if (needed > 0 && bytes_[static_cast<std::size_t>(needed) - 1] == 0) --needed;
    out.append(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::size_t>(needed));
  }

 private:
  std::unique_ptr<icu::Collator> collator_;
  std::vector<UChar> utf16_;
  std::vector<uint8_t> bytes_ = std::vector<uint8_t>(512);
};

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

bool IsSelected(std::string_view name, std::string_view extension) {
  const std::string needle = "." + std::string(extension);
  if (name.size() < 2) return false;
  // File names are nearly always ASCII; plain byte folding then gives the same
  // answer as Unicode case folding, far faster.
  if (IsAscii(name) && IsAscii(needle)) {
    for (std::size_t at = 1; at + needle.size() <= name.size(); ++at) {
      if (AsciiEqualIgnoringCase(name.substr(at, needle.size()), needle)) return true;
    }
    return false;
  }
  return FindIgnoringCase(name, needle, 1) != std::string_view::npos;
}

std::string DisplayName(std::string_view path, std::string_view extension) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::string find = "." + std::string(extension);
  if (!IsAscii(name) || !IsAscii(find)) return ReplaceAll(name, find, "");
  std::string out;
  out.reserve(name.size());
  std::size_t at = 0;
  while (at < name.size()) {
    if (AsciiEqualIgnoringCase(name.substr(at, find.size()), find)) {
      at += find.size();
    } else {
      out += name[at++];
    }
  }
  return out;
}

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

std::optional<Library> SortLibrary(std::vector<std::string> found, const std::string& extension,
                                   const KeepGoing& keepGoing) {
  // Every path begins with the same directory text. Two texts that share a
  // prefix ending in "/" collate as their remainders do, so only the
  // remainders are keyed: far less collation work and memory.
  const std::size_t prefix = SharedDirectoryLength(found);
  const auto remainder = [&found, prefix](std::size_t i) { return std::string_view(found[i]).substr(prefix); };

  // The keys side by side in one block; ties are broken by the remainders'
  // code points, so the order is total.
  PathKeys keyer;
  std::string keys;
  // Reserved generously once: growing would copy the block, and pages never
  // written cost nothing.
  std::size_t remainderBytes = 0;
  for (std::size_t i = 0; i < found.size(); ++i) remainderBytes += remainder(i).size();
  keys.reserve(remainderBytes * 4);
  std::vector<std::size_t> ends;
  ends.reserve(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (i % kEntriesPerClockRead == 0 && keepGoing && !keepGoing()) return std::nullopt;
    keyer.Append(remainder(i), keys);
    ends.push_back(keys.size());
  }
  const auto keyOf = [&keys, &ends](std::size_t i) {
    const std::size_t begin = i == 0 ? 0 : ends[i - 1];
    return std::string_view(keys).substr(begin, ends[i] - begin);
  };
  std::vector<std::size_t> order(found.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int byKey = keyOf(a).compare(keyOf(b));
    return byKey != 0 ? byKey < 0 : remainder(a) < remainder(b);
  });
  std::string().swap(keys);
  std::vector<std::size_t>().swap(ends);

  Library library;
  library.paths.reserve(found.size());
  library.names.reserve(found.size());
  for (const std::size_t i : order) {
    library.names.push_back(DisplayName(found[i], extension));
    library.paths.push_back(std::move(found[i]));
  }
  return library;
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
