#include "support/services_network.h"

#include "support/certificates.h"
#include "support/config_text.h"
#include "support/irc_server.h"

#include <csignal>
#include <fstream>
#include <stdexcept>

namespace wavecrest::testing {
namespace {

// The server: TLS, the link to the services, accounts and SASL, and the
// client capabilities a modern network offers. Lookups of hosts would leave
// the machine: none are made, and a stray one would stay on loopback.
const char* const kServerConfig = R"(<server name="irc.test" description="wavecrest test server" network="wavecrest">
<admin name="test" nick="test" email="test@test.invalid">
<bind address="127.0.0.1" port="{port}" type="clients">
<bind address="127.0.0.1" port="{tlsPort}" type="clients" sslprofile="clients">
<bind address="127.0.0.1" port="{linkPort}" type="servers">
<dns server="127.0.0.1" timeout="1">
<connect name="main" allow="*" resolvehostnames="no" useident="no" maxlocal="1000" maxglobal="1000"
         localmax="1000" globalmax="1000" threshold="1000" commandrate="100000" fakelag="off"
         hardsendq="1048576" softsendq="65536" recvq="65536" pingfreq="2m" timeout="1m">
<options casemapping="ascii">
<performance clonesonconnect="no">
<module name="ssl_gnutls">
<sslprofile name="clients" provider="gnutls" certfile="{dir}/cert.pem" keyfile="{dir}/key.pem"
            requestclientcert="yes" hash="sha256">
<module name="sslinfo">
<module name="spanningtree">
<link name="services.test" ipaddr="127.0.0.1" port="{linkPort}" allowmask="127.0.0.0/8"
      sendpass="{linkPassword}" recvpass="{linkPassword}" hidden="no">
<uline server="services.test" silent="yes">
<module name="services_account">
<module name="cap">
<module name="sasl">
<sasl target="services.test">
<module name="ircv3">
<ircv3 accountnotify="yes" awaynotify="yes" extendedjoin="yes">
<module name="ircv3_accounttag">
<module name="ircv3_capnotify">
<module name="ircv3_ctctags">
<module name="ircv3_echomessage">
<module name="ircv3_servertime">
<module name="namesx">
<module name="uhnames">
<module name="monitor">
<log method="file" type="* -USERINPUT -USEROUTPUT" level="default" target="{dir}/ircd.log">
)";

// The services: accounts with passwords and certificate fingerprints, and
// SASL. Tests register accounts quickly, one after another.
const char* const kServicesConfig = R"(loadmodule "modules/protocol/inspircd";
loadmodule "modules/backend/opensex";
loadmodule "modules/crypto/pbkdf2v2";
loadmodule "modules/nickserv/main";
loadmodule "modules/nickserv/register";
loadmodule "modules/nickserv/identify";
loadmodule "modules/nickserv/cert";
loadmodule "modules/nickserv/info";
loadmodule "modules/saslserv/main";
loadmodule "modules/saslserv/plain";
loadmodule "modules/saslserv/external";
serverinfo {
  name = "services.test"; desc = "wavecrest test services"; numeric = "00A"; recontime = 1;
  netname = "wavecrest"; hidehostsuffix = "users.test"; adminname = "test";
  adminemail = "test@test.invalid"; registeremail = "test@test.invalid"; auth = none;
  loglevel = { error; info; network; }; maxlogins = 50; maxusers = 50; casemapping = ascii;
};
uplink "irc.test" {
  host = "127.0.0.1"; port = {linkPort}; send_password = "{linkPassword}"; receive_password = "{linkPassword}";
};
nickserv { nick = "NickServ"; user = "NickServ"; host = "services.test"; real = "Nickname Services"; expire = 0; };
saslserv { nick = "SaslServ"; user = "SaslServ"; host = "services.test"; real = "SASL"; };
general { flood_msgs = 0; ratelimit_uses = 1000; ratelimit_period = 1; commit_interval = 5; language = "en"; };
)";

}  // namespace

ServicesNetwork::ServicesNetwork() {
  tree_.Dir("ircd");
  tree_.Dir("services");
  MakeCertificate(tree_.Path("ircd/cert.pem"), tree_.Path("ircd/key.pem"), "127.0.0.1");
  // A port taken between asking and binding: try others.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    tlsPort_ = FreePort();
    linkPort_ = FreePort();
    Configure();
    if (TryStart()) return;
  }
  throw std::runtime_error("the services network did not start: " + ircd_->Out() + ircd_->Err());
}

ServicesNetwork::~ServicesNetwork() {
  if (services_ && services_->Running()) services_->Signal(SIGTERM);
  if (services_) services_->Exit(5);
  // Killed: the TLS library's cleanup at a normal exit can crash and leave a core.
  if (ircd_) ircd_->Signal(SIGKILL);
  if (ircd_) ircd_->Exit(5);
}

void ServicesNetwork::Configure() {
  const std::vector<std::pair<std::string, std::string>> values = {
      {"port", std::to_string(port_)},         {"tlsPort", std::to_string(tlsPort_)},
      {"linkPort", std::to_string(linkPort_)}, {"linkPassword", "services-link"},
      {"dir", tree_.Path("ircd")}};
  std::ofstream(tree_.Path("ircd/inspircd.conf")) << Filled(kServerConfig, values);
  std::ofstream(tree_.Path("services/atheme.conf")) << Filled(kServicesConfig, values);
}

bool ServicesNetwork::TryStart() {
  const std::string ircd = tree_.Path("ircd"), services = tree_.Path("services");
  HandOver(ircd);
  HandOver(services);
  services_.reset();
  ircd_ = std::make_unique<ChildProcess>(Unprivileged({"/usr/bin/stdbuf", "-oL", "-eL", "/usr/sbin/inspircd",
                                                        "--nofork", "--nopid", "--config", ircd + "/inspircd.conf"}));
  // It goes on when a port will not bind, but says so first.
  const auto started = [&] { return ircd_->Out().find("is now running as") != std::string::npos || !ircd_->Running(); };
  if (!WaitUntil(started, 20) || !ircd_->Running() || ircd_->Out().find("failed to bind") != std::string::npos) {
    ircd_->Signal(SIGKILL);
    ircd_->Exit(5);
    return false;
  }
  services_ = std::make_unique<ChildProcess>(
      Unprivileged({"/usr/bin/stdbuf", "-oL", "-eL", "/usr/bin/atheme-services", "-n", "-c", services + "/atheme.conf",
                    "-D", services, "-l", services + "/atheme.log", "-p", services + "/atheme.pid"}));
  const auto linked = [&] {
    const std::string said = services_->Out() + services_->Err();
    return said.find("finished synching with uplink") != std::string::npos || !services_->Running();
  };
  if (WaitUntil(linked, 20) && services_->Running()) return true;
  throw std::runtime_error("the services did not link: " + services_->Out() + services_->Err());
}

void ServicesNetwork::TellNickServ(const PeerLogin& login, const std::string& command,
                                   const std::string& confirmation) {
  IrcPeer peer(port_, login);
  const std::size_t from = peer.Lines().size();
  peer.Send("PRIVMSG NickServ :" + command);
  const auto fromNickServ = [](const IrcLine& l) { return l.command == "NOTICE" && l.nick == "NickServ"; };
  const auto answer = peer.Await(fromNickServ, 10, from);
  if (!answer || peer.Lines()[*answer].Text().find(confirmation) == std::string::npos) {
    throw std::runtime_error("NickServ did not confirm \"" + command.substr(0, command.find(' ')) + "\": " +
                             (answer ? peer.Lines()[*answer].Text() : "no answer"));
  }
  peer.Quit();
}

void ServicesNetwork::RegisterAccount(const std::string& name, const std::string& password) {
  // Each account its own address: the services limit accounts per address.
  TellNickServ(PeerLogin{.nick = name}, "REGISTER " + password + " " + name + "@test.invalid", "is now registered");
}

void ServicesNetwork::AddCertificate(const std::string& name, const std::string& password,
                                     const std::string& certificate) {
  const PeerLogin login{.nick = "certhelper" + std::to_string(++helpers_),
                        .sasl = SaslMechanism::kPlain,
                        .account = name,
                        .accountPassword = password};
  TellNickServ(login, "CERT ADD " + CertificateFingerprint(certificate), "Added fingerprint");
}

}  // namespace wavecrest::testing
