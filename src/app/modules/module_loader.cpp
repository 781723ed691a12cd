#include "app/modules/module_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;

// Beside the program first (the build folder), then the installed library
// folder, found from the program's own folder so any install prefix works.
std::vector<fs::path> Candidates(const std::string& fileName) {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (error) return {};
  const fs::path folder = program.parent_path();
  return {folder / fileName, (folder / WAVECREST_MODULE_RELATIVE_DIR / fileName).lexically_normal()};
}

void* Open(const std::string& fileName, std::string& why) {
  const std::vector<fs::path> candidates = Candidates(fileName);
  for (const fs::path& candidate : candidates) {
    std::error_code error;
    if (!fs::exists(candidate, error)) continue;
    void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) why = ::dlerror();
    return handle;
  }
  why = "no " + fileName;
  for (const fs::path& candidate : candidates) why += (&candidate == &candidates.front() ? " at " : " or ") + candidate.parent_path().string();
  return nullptr;
}

}  // namespace

void* ModuleFunction(const std::string& fileName, const char* entry, std::string& why) {
  static std::map<std::string, void*> loaded;  // UI thread only
  void*& handle = loaded[fileName];
  if (handle == nullptr) handle = Open(fileName, why);
  if (handle == nullptr) return nullptr;
  void* function = ::dlsym(handle, entry);
  if (function == nullptr) why = fileName + " has no " + entry;
  return function;
}

}  // namespace wavecrest
