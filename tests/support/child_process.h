#pragma once

// A program started by a test with its standard streams on pipes, read as
// they arrive while the test waits (see event_wait.h). The destructor kills
// the program by its PID if it still runs, so a failed test leaves nothing.

#include "support/event_wait.h"

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::testing {

class ChildProcess : public WaitSource {
 public:
  // argv[0] is the program's path; `env` entries ("NAME=value") are added to
  // the test's own environment.
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});
  ~ChildProcess() override;

  pid_t Pid() const { return pid_; }
  const std::string& Out() const { return out_; }
  const std::string& Err() const { return err_; }
  void Write(std::string_view text);
  void CloseInput();
  void Signal(int signal);
  bool Running() const { return !status_; }
  // The exit code once the program has ended and closed its output, waiting
  // at most `seconds`; -signal when a signal ended it.
  std::optional<int> Exit(double seconds);

  std::vector<int> WaitFds() const override;
  void OnReadable(int fd) override;

 private:
  pid_t pid_ = -1;
  int in_ = -1, out_fd_ = -1, err_fd_ = -1, pidfd_ = -1;
  std::string out_, err_;
  std::optional<int> status_;
};

// `argv` run as "nobody" when the tests run as root, else as it is: some
// servers refuse root or stall under it, and none of them needs it here.
std::vector<std::string> Unprivileged(std::vector<std::string> argv);
// Gives `path` and everything in it to the user Unprivileged runs programs as,
// so that they can write their data there.
void HandOver(const std::string& path);

}  // namespace wavecrest::testing
