#pragma once

// Waiting for outside events in end-to-end tests: every live source (a child
// process's pipes, a socket) registers itself, and WaitUntil reads whatever
// arrives on any of them until the awaited condition holds or time is up.
// Nothing sleeps: the wait is a poll() on the sources' descriptors.

#include <functional>
#include <vector>

namespace wavecrest::testing {

class WaitSource {
 public:
  WaitSource();
  virtual ~WaitSource();
  WaitSource(const WaitSource&) = delete;
  WaitSource& operator=(const WaitSource&) = delete;

  // The descriptors to watch now (closed ones left out).
  virtual std::vector<int> WaitFds() const = 0;
  // Called when fd is readable or hung up.
  virtual void OnReadable(int fd) = 0;
};

// Reads from every live source until done() holds or `seconds` have passed;
// returns done().
bool WaitUntil(const std::function<bool()>& done, double seconds);

}  // namespace wavecrest::testing
