#include "support/event_wait.h"

#include <poll.h>

#include <algorithm>
#include <chrono>

namespace wavecrest::testing {
namespace {

std::vector<WaitSource*>& Sources() {
  static std::vector<WaitSource*> sources;
  return sources;
}

}  // namespace

WaitSource::WaitSource() { Sources().push_back(this); }
WaitSource::~WaitSource() { std::erase(Sources(), this); }

bool WaitUntil(const std::function<bool()>& done, double seconds) {
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  while (!done()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    if (left <= 0) return false;
    std::vector<pollfd> fds;
    std::vector<WaitSource*> owners;
    for (WaitSource* source : Sources()) {
      for (const int fd : source->WaitFds()) {
        fds.push_back({fd, POLLIN, 0});
        owners.push_back(source);
      }
    }
    if (::poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, 1000))) <= 0) continue;
    // A source may close descriptors while handling one, so look each up again.
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      const auto& live = Sources();
      if (std::find(live.begin(), live.end(), owners[i]) == live.end()) continue;
      const auto current = owners[i]->WaitFds();
      if (std::find(current.begin(), current.end(), fds[i].fd) != current.end()) owners[i]->OnReadable(fds[i].fd);
    }
  }
  return true;
}

}  // namespace wavecrest::testing
