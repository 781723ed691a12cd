#pragma once

// A scriptable IRC server for end-to-end tests of what a real server will
// not do on request: it listens on a free loopback port, takes one client
// at a time, keeps every line the client sends, and writes whatever bytes
// the test gives it (a thousand lines in one write, a line that never ends,
// plain text to a TLS client). By default it registers the client and
// echoes its JOIN; Silent() makes it say nothing at all.

#include "support/event_wait.h"
#include "support/irc_peer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::testing {

class FakeIrcServer : public WaitSource {
 public:
  FakeIrcServer();  // throws when it cannot listen
  ~FakeIrcServer() override;

  std::uint16_t Port() const { return port_; }
  // Say nothing on its own: no welcome, no JOIN echo, no PONG.
  void Silent() { silent_ = true; }
  // Bytes written to every client as soon as it connects.
  void Greet(std::string bytes) { greeting_ = std::move(bytes); }
  // Bytes to the client as they are (add "\r\n" yourself).
  void Write(std::string_view bytes);
  // Closes the client's connection; the next one is taken.
  void Drop();

  bool ClientConnected() const { return client_ >= 0; }
  int Connections() const { return connections_; }
  // Every line the clients sent, in order, over all connections.
  const std::vector<IrcLine>& Lines() const { return lines_; }
  // The nick the client registered with, once welcomed.
  const std::string& ClientNick() const { return nick_; }
  std::optional<std::size_t> Await(const std::function<bool(const IrcLine&)>& match, double seconds,
                                   std::size_t from = 0);

  std::vector<int> WaitFds() const override;
  void OnReadable(int fd) override;

 private:
  void OnClientLine(const IrcLine& line);

  int listener_ = -1;
  int client_ = -1;
  std::uint16_t port_ = 0;
  bool silent_ = false;
  std::string greeting_;
  int connections_ = 0;
  std::string pending_;
  std::string nick_;
  std::vector<IrcLine> lines_;
};

}  // namespace wavecrest::testing
