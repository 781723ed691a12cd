#include "support/irc_server.h"

#include "support/certificates.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace wavecrest::testing {
namespace {

const char* const kNgircd = "/usr/sbin/ngircd";

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

}  // namespace

std::uint16_t FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

IrcServer::IrcServer() {
  namespace fs = std::filesystem;
  fs::permissions(tree_.Root(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
  const std::string dir = tree_.Root();
  MakeCertificate(dir + "/cert.pem", dir + "/key.pem", "127.0.0.1");
  // A named DH group: made in milliseconds.
  Run("openssl genpkey -genparam -algorithm DH -pkeyopt dh_param:ffdhe2048 -out '" + dir + "/dh.pem' && chmod 644 '" +
      dir + "/dh.pem'");
  // A port taken between asking and binding: try others.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    tlsPort_ = FreePort();
    Configure();
    if (TryStart()) return;
  }
  throw std::runtime_error("ngircd did not start: " + process_->Out() + process_->Err());
}

IrcServer::~IrcServer() {
  if (Running()) process_->Signal(SIGTERM);
  if (process_) process_->Exit(5);
}

void IrcServer::Configure() {
  std::ofstream(tree_.Path("ngircd.conf"))
      << "[Global]\nName = irc.test\nInfo = wavecrest test server\nListen = 127.0.0.1\nPorts = " << port_
      << "\nMotdPhrase = test\nAdminInfo1 = test\nAdminInfo2 = test\nAdminEMail = test@test\n"
      << "[Limits]\nMaxConnectionsIP = 0\nMaxNickLength = 30\n"
      << "[Options]\nIdent = no\nDNS = no\nPAM = no\n"
      << "[SSL]\nCertFile = " << tree_.Path("cert.pem") << "\nKeyFile = " << tree_.Path("key.pem")
      << "\nDHFile = " << tree_.Path("dh.pem") << "\nPorts = " << tlsPort_ << "\n";
}

bool IrcServer::TryStart() {
  // Its log is the sign of readiness; on a pipe it would sit in a buffer.
  process_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/stdbuf", "-oL", "-eL", kNgircd, "-n", "-f", tree_.Path("ngircd.conf")});
  const auto ready = [&] { return (process_->Out() + process_->Err()).find(") ready.") != std::string::npos || !process_->Running(); };
  return WaitUntil(ready, 10) && process_->Running();
}

void IrcServer::Kill() {
  process_->Signal(SIGKILL);
  process_->Exit(5);
}

void IrcServer::Start() {
  if (!TryStart()) throw std::runtime_error("ngircd did not start again: " + process_->Out() + process_->Err());
}

}  // namespace wavecrest::testing
