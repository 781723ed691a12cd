#pragma once

// A real IRC server (ngircd) for end-to-end tests: run in the foreground on
// free loopback ports, plain and TLS, from a configuration and a self-signed
// certificate generated in a temporary directory. Ident, DNS and PAM are off.
// Started as root it drops to "nobody", so every file it reads is readable by
// all. Stopped by its PID.

#include "support/child_process.h"
#include "support/temp_tree.h"

#include <cstdint>
#include <memory>
#include <string>

namespace wavecrest::testing {

class IrcServer {
 public:
  IrcServer();  // configures and starts; throws when the server will not start
  ~IrcServer();

  void Kill();   // SIGKILL: the connections drop as when a server dies
  void Start();  // again, on the same ports

  std::uint16_t Port() const { return port_; }
  std::uint16_t TlsPort() const { return tlsPort_; }
  // The self-signed certificate the TLS port shows; it is its own CA.
  std::string Certificate() const { return tree_.Path("cert.pem"); }
  bool Running() const { return process_ && process_->Running(); }

 private:
  bool TryStart();
  void Configure();

  TempTree tree_;
  std::uint16_t port_ = 0, tlsPort_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

// A loopback port nobody listens on at the moment of asking.
std::uint16_t FreePort();

}  // namespace wavecrest::testing
