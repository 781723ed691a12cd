#pragma once

// A directory tree built for one test under the system's temporary directory
// and removed with everything in it when the test ends.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace wavecrest::testing {

class TempTree {
 public:
  TempTree() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() /
            ("wavecrest-tree-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(root_);
  }
  ~TempTree() {
    std::error_code ignored;
    // Directories a test made unreadable must be opened up again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(
             root_, std::filesystem::directory_options::skip_permission_denied, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
      }
    }
    for (const auto& p : locked_) {
      std::filesystem::permissions(p, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The root without a trailing "/".
  std::string Root() const { return root_.string(); }
  std::string Path(std::string_view relative) const { return (root_ / relative).string(); }

  // A file of `size` bytes (sparse when large), its directories made as needed.
  std::string File(std::string_view relative, std::uintmax_t size = 0) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).close();
    if (size > 0) std::filesystem::resize_file(path, size);
    return path.string();
  }
  // A file holding exactly `bytes`.
  std::string Bytes(std::string_view relative, std::string_view bytes) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }
  std::string Dir(std::string_view relative) const {
    std::filesystem::create_directories(root_ / relative);
    return (root_ / relative).string();
  }
  // A symbolic link at `relative` pointing to `target` (as given).
  void Link(std::string_view relative, const std::string& target) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_directory_symlink(target, path);
  }
  // Takes every permission off a directory; restored before removal.
  void Lock(std::string_view relative) {
    locked_.push_back(root_ / relative);
    std::filesystem::permissions(root_ / relative, std::filesystem::perms::none);
  }

 private:
  std::filesystem::path root_;
  std::vector<std::filesystem::path> locked_;
};

}  // namespace wavecrest::testing
