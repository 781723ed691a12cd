#pragma once

// A person's own IRC client for end-to-end tests: irssi in tmux, configured
// in a temporary directory to connect to one server on loopback and join one
// channel. tmux runs in control mode: commands go in on its standard input,
// and the pane's output and the commands' answers come back on its standard
// output. The tmux server is ended through its own socket.

#include "support/child_process.h"
#include "support/temp_tree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace wavecrest::testing {

struct IrssiSetup {
  std::uint16_t port = 0;
  std::string nick{};
  std::string channel{};   // joined at once
  std::string password{};  // the server password, e.g. a bouncer's; none when empty
};

class IrssiClient {
 public:
  // Whether irssi and tmux are installed (scripts/install-deps brings them).
  static bool Available();

  // Starts irssi; it connects and joins by itself, so wait on the channel.
  explicit IrssiClient(const IrssiSetup& setup);
  ~IrssiClient();

  // Types `line` into irssi's current window and presses Enter.
  void Type(std::string_view line);
  // Everything the pane has shown so far, as tmux reports it.
  const std::string& Output() const { return tmux_->Out(); }
  // Waits at most `seconds` for the pane to have shown `text`; the channel's
  // name shows once irssi is in it, its window the current one.
  bool AwaitShown(std::string_view text, double seconds);
  // The pane as it is now, its styles as terminal escapes; empty when tmux
  // does not answer.
  std::string Screen();

 private:
  void Command(const std::string& command);  // answered in order, each as one block

  TempTree tree_;
  std::unique_ptr<ChildProcess> tmux_;
  int commands_ = 0;
};

}  // namespace wavecrest::testing
