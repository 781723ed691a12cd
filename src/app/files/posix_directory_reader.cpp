#include "app/files/posix_directory_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

namespace wavecrest {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

EntryType TypeOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryType::File;
  if (S_ISDIR(mode)) return EntryType::Directory;
  if (S_ISLNK(mode)) return EntryType::Link;
  return EntryType::Other;
}

// The type the listing gave; for a file system that leaves it unknown, the
// entry itself is asked (without following a link). An entry that vanished
// meanwhile counts as Other, which every caller passes over.
EntryType TypeOfEntry(DIR* listing, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG: return EntryType::File;
    case DT_DIR: return EntryType::Directory;
    case DT_LNK: return EntryType::Link;
    case DT_UNKNOWN: break;
    default: return EntryType::Other;
  }
  struct stat status {};
  if (fstatat(dirfd(listing), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryType::Other;
  return TypeOfMode(status.st_mode);
}

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

struct CloseListing {
  void operator()(DIR* listing) const { closedir(listing); }
};

}  // namespace

ListingOutcome PosixDirectoryReader::List(const std::string& directory,
                                          const std::function<ListingStep(const DirectoryEntry&)>& onEntry) {
  const std::unique_ptr<DIR, CloseListing> listing(opendir(directory.c_str()));
  if (!listing) return {ListingOutcome::Status::NotOpened, LastError()};
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(listing.get());
    if (entry == nullptr) {
      if (errno != 0) return {ListingOutcome::Status::Interrupted, LastError()};
      return {};
    }
    if (IsDotOrDotDot(entry->d_name)) continue;
    if (onEntry(DirectoryEntry{entry->d_name, TypeOfEntry(listing.get(), *entry)}) == ListingStep::Stop) {
      return {ListingOutcome::Status::Stopped, {}};
    }
  }
}

FollowOutcome PosixDirectoryReader::Follow(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return {EntryType::Other, LastError()};
  return {TypeOfMode(status.st_mode), {}};
}

RealPathOutcome PosixDirectoryReader::RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  // A path that passes through a file ("song.mp3/") names nothing, and is
  // reported as missing, like any other path that names nothing.
  if (!real && errno == ENOTDIR) return {{}, std::make_error_code(std::errc::no_such_file_or_directory)};
  if (!real) return {{}, LastError()};
  return {real.get(), {}};
}

}  // namespace wavecrest
