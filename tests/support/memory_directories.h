#pragma once

// The directory listing port over a tree held in memory, for failures a real
// file system will not produce on demand (a read that fails part-way).

#include "core/directory_reader.h"

#include <map>
#include <string>
#include <vector>

namespace wavecrest::testing {

class MemoryDirectories final : public DirectoryReader {
 public:
  struct Entry {
    std::string name;
    EntryType type;
  };
  struct Listing {
    std::vector<Entry> entries;
    std::error_code openError;   // the listing cannot be opened
    std::error_code errorAfter;  // reading fails after the entries
  };
  std::map<std::string, Listing> listings;        // by directory path ending in "/"
  std::map<std::string, FollowOutcome> links;     // what each link leads to
  std::map<std::string, std::string> realPaths;   // where a path is not its own real path
  bool nestedListing = false;                     // a listing was started while one was open

  ListingOutcome List(const std::string& directory,
                      const std::function<ListingStep(const DirectoryEntry&)>& onEntry) override {
    if (open_) nestedListing = true;
    const auto found = listings.find(directory);
    if (found == listings.end()) {
      return {ListingOutcome::Status::NotOpened, std::make_error_code(std::errc::no_such_file_or_directory)};
    }
    const Listing& listing = found->second;
    if (listing.openError) return {ListingOutcome::Status::NotOpened, listing.openError};
    open_ = true;
    for (const Entry& entry : listing.entries) {
      if (onEntry(DirectoryEntry{entry.name, entry.type}) == ListingStep::Stop) {
        open_ = false;
        return {ListingOutcome::Status::Stopped, {}};
      }
    }
    open_ = false;
    if (listing.errorAfter) return {ListingOutcome::Status::Interrupted, listing.errorAfter};
    return {};
  }
  FollowOutcome Follow(const std::string& path) override {
    const auto found = links.find(path);
    if (found == links.end()) return {EntryType::Other, std::make_error_code(std::errc::no_such_file_or_directory)};
    return found->second;
  }
  RealPathOutcome RealPath(const std::string& path) override {
    const auto found = realPaths.find(path);
    if (found != realPaths.end()) return {found->second, {}};
    const bool slash = path.size() > 1 && path.back() == '/';
    return {slash ? path.substr(0, path.size() - 1) : path, {}};
  }

 private:
  bool open_ = false;
};

}  // namespace wavecrest::testing
