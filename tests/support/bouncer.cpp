#include "support/bouncer.h"

#include "support/config_text.h"
#include "support/irc_server.h"

#include <csignal>
#include <fstream>
#include <stdexcept>

namespace wavecrest::testing {
namespace {

const char* const kNetwork = "test";
const char* const kSecret = "bouncer-secret";

// No wait before connecting and none between connections: the tests start
// and stop servers quickly.
const char* const kConfig = R"(Version = 1.8.2
ConnectDelay = 0
ServerThrottle = 0
<Listener listener>
  Host = 127.0.0.1
  Port = {port}
  IPv4 = true
  IPv6 = false
  SSL = false
  AllowIRC = true
  AllowWeb = false
</Listener>
<User {nick}>
  Pass = plain#{secret}
  Nick = {nick}
  AltNick = {nick}_
  Ident = {nick}
  RealName = {nick}
  <Network {network}>
    Server = 127.0.0.1 {serverPort}
    <Chan {channel}>
    </Chan>
  </Network>
</User>
)";

}  // namespace

Bouncer::Bouncer(std::uint16_t serverPort, std::string nick, std::string channel)
    : nick_(std::move(nick)), channel_(std::move(channel)) {
  // A port taken between asking and binding: try others.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    Configure(serverPort);
    if (TryStart()) break;
  }
  if (!process_->Running()) throw std::runtime_error("ZNC did not start: " + process_->Out() + process_->Err());
  // Its user is in the channel once an attached client is told so.
  IrcPeer probe(port_, Login());
  const auto joined = [&](const IrcLine& l) {
    return l.command == "JOIN" && !l.params.empty() && l.params[0] == channel_;
  };
  if (!probe.Await(joined, 20)) throw std::runtime_error("ZNC did not join " + channel_ + ": " + process_->Out());
}

Bouncer::~Bouncer() {
  if (process_->Running()) process_->Signal(SIGTERM);
  process_->Exit(5);
}

std::string Bouncer::Password() const { return nick_ + "/" + kNetwork + ":" + kSecret; }

PeerLogin Bouncer::Login(std::vector<std::string> capabilities) const {
  return PeerLogin{.nick = nick_, .user = nick_, .password = Password(), .capabilities = std::move(capabilities)};
}

void Bouncer::Configure(std::uint16_t serverPort) {
  tree_.Dir("configs");
  std::ofstream(tree_.Path("configs/znc.conf"))
      << Filled(kConfig, {{"port", std::to_string(port_)}, {"serverPort", std::to_string(serverPort)},
                          {"nick", nick_}, {"network", kNetwork}, {"secret", kSecret}, {"channel", channel_}});
}

bool Bouncer::TryStart() {
  HandOver(tree_.Root());
  process_ = std::make_unique<ChildProcess>(Unprivileged(
      {"/usr/bin/stdbuf", "-oL", "-eL", "/usr/bin/znc", "--foreground", "--datadir=" + tree_.Root()}));
  // It lists its modules first, which takes seconds on a busy machine.
  const auto started = [&] { return process_->Out().find("Staying open") != std::string::npos || !process_->Running(); };
  return WaitUntil(started, 60) && process_->Running();
}

}  // namespace wavecrest::testing
