#pragma once

// File-system questions the commands ask, with the platform's meanings made
// explicit for Linux: "/" separates, a name beginning with "." is hidden, and
// names are case-sensitive while chat arguments arrive lower-cased.

#include <string>
#include <string_view>

namespace wavecrest {

// Whether a listing of `path` for ordinary files returns a name:
// - false for an empty path;
// - a path ending in "/" names a directory: true when that directory directly
//   holds at least one ordinary, non-hidden file (subdirectories do not count);
// - otherwise true when the path names an ordinary file whose name does not
//   begin with "." (a directory without the trailing "/" is refused).
// Symbolic links count as what they point to. Errors count as false.
bool FileExists(const std::string& path);

// Why FileExists(path) is false, in words for the person at the computer
// ("no such directory", "it does not end with /", ...); empty when it is true.
std::string WhyFileExistsFails(const std::string& path);

// The path with each component matched against the file system without
// regard to case: "/tmp/x/music/" becomes "/tmp/x/Music/" when that is what
// exists. An exact match is preferred; among several names that differ only
// in case, the one first in byte order is taken. From the first component
// that matches nothing, the rest is kept as given. A trailing "/" is kept.
std::string ResolvePathIgnoringCase(const std::string& path);

// Whether a directory entry's name marks it hidden.
inline bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

}  // namespace wavecrest
