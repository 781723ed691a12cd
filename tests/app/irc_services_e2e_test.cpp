// The network with services the IRC tests log in to: it offers what a modern
// client asks for, an account logs in by password or by certificate, the
// server vouches for it in WHOIS, and what a logged-in client says carries its
// account to those who asked for it.
#include "support/certificates.h"
#include "support/irc_peer.h"
#include "support/services_network.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <memory>

namespace wavecrest::testing {
namespace {

class ServicesNetworkE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    network_ = std::make_unique<ServicesNetwork>();
    network_->RegisterAccount("alice", "alice-secret");
    tree_ = std::make_unique<TempTree>();
    MakeCertificate(tree_->Path("alice.pem"), tree_->Path("alice.pem"), "alice");
    network_->AddCertificate("alice", "alice-secret", tree_->Path("alice.pem"));
  }
  static void TearDownTestSuite() {
    network_.reset();
    tree_.reset();
  }


  inline static std::unique_ptr<ServicesNetwork> network_;
  inline static std::unique_ptr<TempTree> tree_;
};

TEST_F(ServicesNetworkE2E, SaslLogsInByPasswordOrCertificate) {
  struct Case {
    const char* name;
    SaslMechanism mechanism;
    const char* password;
    bool withCertificate;
    const char* outcome;  // the numeric that ends the login
    const char* account;  // as WHOIS shows it
  };
  const Case cases[] = {
      {"plain", SaslMechanism::kPlain, "alice-secret", false, "903", "alice"},
      {"wrongpass", SaslMechanism::kPlain, "not-her-secret", false, "904", ""},
      {"external", SaslMechanism::kExternal, "", true, "903", "alice"},
      {"nocert", SaslMechanism::kExternal, "", false, "904", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool tls = c.mechanism == SaslMechanism::kExternal;
    IrcPeer peer(tls ? network_->TlsPort() : network_->Port(),
                 PeerLogin{.nick = c.name,
                           .sasl = c.mechanism,
                           .account = "alice",
                           .accountPassword = c.password,
                           .transport = tls ? PeerTransport::kTls : PeerTransport::kPlain,
                           .certificate = c.withCertificate ? tree_->Path("alice.pem") : ""});
    // 903 success; 904 to 908 the ways a login fails.
    const auto outcome = peer.Await([](const IrcLine& l) { return l.command >= "903" && l.command <= "908"; }, 10);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(peer.Lines()[*outcome].command, c.outcome);
    EXPECT_EQ(peer.WhoisAccount(c.name), c.account);
  }
}

TEST_F(ServicesNetworkE2E, OffersWhatAModernClientAsksFor) {
  IrcPeer peer(network_->Port(), PeerLogin{.nick = "curious", .capabilities = {"server-time"}});
  std::string capabilities = " ", supported = " ";
  for (const IrcLine& l : peer.Lines()) {
    if (l.command == "CAP" && l.params.size() >= 3 && l.params[1] == "LS") capabilities += l.Text() + " ";
    for (std::size_t i = 1; l.command == "005" && i + 1 < l.params.size(); ++i) supported += l.params[i] + " ";
  }
  for (const char* capability : {"sasl=PLAIN,EXTERNAL", "account-tag", "account-notify", "extended-join", "away-notify",
                                 "echo-message", "multi-prefix", "message-tags", "server-time", "cap-notify"}) {
    EXPECT_NE(capabilities.find(std::string(" ") + capability + " "), std::string::npos) << capability << capabilities;
  }
  for (const char* token : {"CASEMAPPING=ascii", "WHOX", "MONITOR=", "PREFIX=", "CHANTYPES=", "NICKLEN=", "LINELEN="}) {
    EXPECT_NE(supported.find(std::string(" ") + token), std::string::npos) << token << supported;
  }
}

TEST_F(ServicesNetworkE2E, ALineCarriesItsSpeakersAccountAndTags) {
  IrcPeer listener(network_->Port(), PeerLogin{.nick = "listener", .capabilities = {"account-tag", "message-tags"}});
  listener.Join("#tags");
  IrcPeer alice(network_->Port(), PeerLogin{.nick = "alicephone",
                                            .capabilities = {"message-tags"},
                                            .sasl = SaslMechanism::kPlain,
                                            .account = "alice",
                                            .accountPassword = "alice-secret"});
  IrcPeer stranger(network_->Port(), "stranger");
  alice.Join("#tags");
  stranger.Join("#tags");
  // A client's own tag, its value escaped: a space, a semicolon, a backslash.
  alice.Send("@+example=a\\sb\\:c\\\\d PRIVMSG #tags :from alice");
  stranger.Say("#tags", "from a stranger");
  const auto said = [&](const std::string& text) {
    return listener.Await([&](const IrcLine& l) { return l.command == "PRIVMSG" && l.Text() == text; }, 10);
  };
  const auto fromAlice = said("from alice"), fromStranger = said("from a stranger");
  ASSERT_TRUE(fromAlice && fromStranger);
  const auto& aliceTags = listener.Lines()[*fromAlice].tags;
  EXPECT_EQ(aliceTags.count("account") ? aliceTags.at("account") : "", "alice");
  EXPECT_EQ(aliceTags.count("+example") ? aliceTags.at("+example") : "", "a b;c\\d");
  EXPECT_EQ(listener.Lines()[*fromStranger].tags.count("account"), 0U);
}

}  // namespace
}  // namespace wavecrest::testing
