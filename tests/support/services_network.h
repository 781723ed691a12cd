#pragma once

// An IRC network with services for end-to-end tests: an InspIRCd server and
// Atheme linked to it as its services server (NickServ, SaslServ), both in
// the foreground on free loopback ports, configured in a temporary directory.
// Clients connect plain or by TLS (a self-signed certificate, its own CA).
// The server announces CASEMAPPING=ascii and WHOX and offers sasl (PLAIN,
// EXTERNAL), account-tag, account-notify, extended-join, away-notify,
// echo-message, multi-prefix, message-tags, server-time, userhost-in-names,
// cap-notify and MONITOR. Host and ident lookups are off. The server takes
// about a second to welcome each client. Both run as "nobody" when the tests
// run as root and are stopped by their PIDs.

#include "support/child_process.h"
#include "support/irc_peer.h"
#include "support/temp_tree.h"

#include <cstdint>
#include <memory>
#include <string>

namespace wavecrest::testing {

class ServicesNetwork {
 public:
  // Configures and starts both, and returns once the services have linked;
  // throws when either will not start or the link does not come up.
  ServicesNetwork();
  ~ServicesNetwork();

  std::uint16_t Port() const { return port_; }
  std::uint16_t TlsPort() const { return tlsPort_; }
  // The self-signed certificate the TLS port shows; it is its own CA.
  std::string Certificate() const { return tree_.Path("ircd/cert.pem"); }

  // A services account `name` with `password`, registered through NickServ
  // by a client of that nick (so the nick must be free); throws unless
  // NickServ confirms it.
  void RegisterAccount(const std::string& name, const std::string& password);
  // Lets the client certificate `certificate` (PEM) log in to `name` by SASL
  // EXTERNAL; throws unless NickServ confirms it.
  void AddCertificate(const std::string& name, const std::string& password, const std::string& certificate);

 private:
  void Configure();
  bool TryStart();
  // Says `command` to NickServ as a client introduced by `login`; throws
  // unless NickServ's answer holds `confirmation`.
  void TellNickServ(const PeerLogin& login, const std::string& command, const std::string& confirmation);

  TempTree tree_;
  std::uint16_t port_ = 0, tlsPort_ = 0, linkPort_ = 0;
  int helpers_ = 0;
  std::unique_ptr<ChildProcess> ircd_, services_;
};

}  // namespace wavecrest::testing
