#pragma once

// The directory listing port on POSIX: opendir/readdir, the entry's type
// taken from the listing itself (d_type) and asked of the file system only
// when the listing does not know it or a link must be followed.

#include "core/directory_reader.h"

namespace wavecrest {

class PosixDirectoryReader final : public DirectoryReader {
 public:
  ListingOutcome List(const std::string& directory,
                      const std::function<ListingStep(const DirectoryEntry&)>& onEntry) override;
  FollowOutcome Follow(const std::string& path) override;
  RealPathOutcome RealPath(const std::string& path) override;
};

}  // namespace wavecrest
