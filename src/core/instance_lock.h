#pragma once

// The test for another running instance of the program with the same settings.
// Threading: UI thread. Failures: a lock that cannot be checked counts as free.

namespace wavecrest {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // True when another running instance holds the lock; otherwise takes it
  // for this process (released when the process ends, even by a crash).
  virtual bool AnotherInstanceRunning() = 0;
};

}  // namespace wavecrest
