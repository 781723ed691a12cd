#pragma once

// A bouncer for end-to-end tests: ZNC in the foreground on a free loopback
// port, configured in a temporary directory with one user whose one network
// is an IRC server on loopback, kept in one channel under the user's nick.
// Any number of clients attach to that user at once, each with the same
// password. What one says in the channel reaches the others as the user's
// own line; a private line only those that asked for znc.in/self-message.
// Channel lines said while no client is attached are played back to the next
// one that attaches: to a client that asked for server-time with the time in
// the tag, to others between "Buffer Playback..." and "Playback Complete."
// lines from "***", the time written before the text ("[21:46:04] …").
// Starting takes seconds: ZNC lists its modules first. Runs as "nobody" when the tests run as root (as root ZNC stalls its
// start), and is stopped by its PID.

#include "support/child_process.h"
#include "support/irc_peer.h"
#include "support/temp_tree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace wavecrest::testing {

class Bouncer {
 public:
  // Starts ZNC for the user `nick` on the server at 127.0.0.1:serverPort and
  // returns once the user is in `channel`; throws when ZNC will not start or
  // the user does not get there.
  Bouncer(std::uint16_t serverPort, std::string nick, std::string channel);
  ~Bouncer();

  std::uint16_t Port() const { return port_; }
  // The server password a client gives to attach as the user (PASS).
  std::string Password() const;
  // How an IrcPeer attaches as the user, asking for `capabilities`.
  PeerLogin Login(std::vector<std::string> capabilities = {}) const;

 private:
  void Configure(std::uint16_t serverPort);
  bool TryStart();

  TempTree tree_;
  std::string nick_, channel_;
  std::uint16_t port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace wavecrest::testing
