#pragma once

// The order the library lists show: the order a sorted list box files its
// rows in (case-insensitive, locale-aware, ties broken by code points),
// reached by sorting once on collation keys.

#include "library/found_files.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest {

// Called often during long work; returns false to abandon it.
using KeepGoing = std::function<bool()>;

struct Library {
  std::vector<std::string> paths;  // List3: sorted in list-box order
  std::vector<std::string> names;  // List2: the display names at the same positions
};

// Sorts found paths into list-box order and derives the display names.
// Sorting once at the end gives the same order as filing each path into a
// sorted list. nullopt when `keepGoing` asked to abandon.
std::optional<Library> SortLibrary(std::vector<std::string> found, const std::string& extension,
                                   const KeepGoing& keepGoing = {});

// Found files with their list-box order: order[k] is the position in
// `files` of the k-th path of the sorted list.
struct SortedFiles {
  FoundFiles files;
  std::vector<std::uint32_t> order;
};

// Puts found files into list-box order; nullopt when `keepGoing` asked to abandon.
std::optional<SortedFiles> SortFiles(FoundFiles found, const KeepGoing& keepGoing = {});

// The library of sorted files: the paths and their display names.
Library MakeLibrary(const SortedFiles& sorted, const std::string& extension);

}  // namespace wavecrest
