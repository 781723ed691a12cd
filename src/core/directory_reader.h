#pragma once

// Listing directories: one directory's entries as name bytes and a type,
// with nothing built per entry that the caller does not ask for. The library
// scan lists thousands of directories, so what a listing costs per entry is
// what the scan's speed hangs on.
//
// Threading: UI thread only. Failures come back as values (an error code of
// the operating system's generic category, whose message says why); nothing
// here throws.

#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace wavecrest {

// What an entry is in itself: a symbolic link is Link, whatever it leads to.
enum class EntryType { File, Directory, Link, Other };

struct DirectoryEntry {
  std::string_view name;  // the bytes the file system holds; valid only during the call
  EntryType type;
};

enum class ListingStep { Continue, Stop };

struct ListingOutcome {
  enum class Status {
    Complete,     // every entry was passed on
    Stopped,      // the caller asked to stop
    NotOpened,    // the directory could not be opened: nothing was passed on
    Interrupted,  // reading failed part-way: the entries before it were passed on
  };
  Status status = Status::Complete;
  std::error_code error;  // why, for NotOpened and Interrupted
};

// What a path leads to with every link followed: File, Directory or Other,
// or an error (a link to nothing, a circle of links, no permission).
struct FollowOutcome {
  EntryType type = EntryType::Other;
  std::error_code error;
};

// A path with every link, "." and ".." resolved, or why that failed.
struct RealPathOutcome {
  std::string path;
  std::error_code error;
};

class DirectoryReader {
 public:
  virtual ~DirectoryReader() = default;

  // Lists `directory` (a trailing "/" is allowed) once, passing each entry
  // except "." and ".." to `onEntry` in the order the file system gives
  // them, until it answers Stop. The listing stays open only during this
  // call, and `onEntry` must not start another listing: one is open at a
  // time. It may call Follow and RealPath.
  virtual ListingOutcome List(const std::string& directory,
                              const std::function<ListingStep(const DirectoryEntry&)>& onEntry) = 0;

  // What `path` leads to, links followed; never Link.
  virtual FollowOutcome Follow(const std::string& path) = 0;

  // The real path of `path`: absolute, without links, "." or "..", and
  // without a trailing "/".
  virtual RealPathOutcome RealPath(const std::string& path) = 0;
};

}  // namespace wavecrest
