// The bot on a network with services: it logs in to its account, and it
// obeys its owner by the owner's account, whatever nick either uses.
#include "support/certificates.h"
#include "support/child_process.h"
#include "support/irc_peer.h"
#include "support/services_network.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace wavecrest::testing {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class AccountsE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    network_ = std::make_unique<ServicesNetwork>();
    network_->RegisterAccount("wcbot", "bot-secret");
    network_->RegisterAccount("dj", "dj-secret");
    certificates_ = std::make_unique<TempTree>();
    MakeCertificate(certificates_->Path("wcbot.pem"), certificates_->Path("wcbot.pem"), "wcbot");
    network_->AddCertificate("wcbot", "bot-secret", certificates_->Path("wcbot.pem"));
  }
  static void TearDownTestSuite() {
    network_.reset();
    certificates_.reset();
  }
  void SetUp() override {
    room_ = "#a" + std::to_string(++rooms_);
    std::ofstream(tree_.Path("wavecrest.dat")) << "[settings]\nscreen name=owner\n";
  }

  ChildProcess& Start(std::vector<std::string> options, const std::string& password = "",
                      bool tls = false) {
    const std::uint16_t port = tls ? network_->TlsPort() : network_->Port();
    std::vector<std::string> argv = {WAVECREST_BINARY, "--console", "--raw", "--settings", tree_.Path("wavecrest.dat"),
                                     "--irc", std::string(tls ? "ircs" : "irc") + "://127.0.0.1:" + std::to_string(port) + "/" + room_};
    argv.insert(argv.end(), options.begin(), options.end());
    std::vector<std::string> env = {"WAVECREST_AUDIO_OUT=null"};
    if (!password.empty()) env.push_back("WAVECREST_IRC_PASSWORD=" + password);
    program_ = std::make_unique<ChildProcess>(argv, env);
    return *program_;
  }
  std::unique_ptr<IrcPeer> Person(PeerLogin login) {
    auto peer = std::make_unique<IrcPeer>(network_->Port(), login);
    peer->Join(room_);
    return peer;
  }
  bool AwaitWelcome(IrcPeer& watcher, const std::string& nick) {
    return watcher
        .Await([&](const IrcLine& l) { return l.nick == nick && l.command == "PRIVMSG" && Has(l.Text(), "welcome - "); }, 40)
        .has_value();
  }
  // The volume the bot's next answer from line `from` on tells.
  std::string NextVolume(IrcPeer& watcher, std::size_t from) {
    const auto answer = watcher.Await(
        [](const IrcLine& l) { return l.nick == "wcbot" && l.command == "PRIVMSG" && Has(l.Text(), "new volume"); }, 15,
        from);
    if (!answer) return "";
    const std::string& text = watcher.Lines()[*answer].Text();
    const std::size_t at = text.find("new volume: ") + 12;
    return text.substr(at + 1, text.find('%', at) - at - 1);
  }

  inline static std::unique_ptr<ServicesNetwork> network_;
  inline static std::unique_ptr<TempTree> certificates_;
  inline static int rooms_ = 0;
  std::string room_;
  TempTree tree_;
  std::unique_ptr<ChildProcess> program_;
};

TEST_F(AccountsE2E, TheBotLogsInByPasswordAndByCertificate) {
  auto watcher = Person({.nick = "watcher"});
  Start({"--nick", "wcbot", "--irc-account", "wcbot", "--owner-account", "dj"}, "bot-secret");
  ASSERT_TRUE(AwaitWelcome(*watcher, "wcbot")) << program_->Err();
  EXPECT_EQ(watcher->WhoisAccount("wcbot"), "wcbot");
  program_->Write("/quit\n");
  EXPECT_EQ(program_->Exit(20), 0) << program_->Err();

  Start({"--nick", "wccert", "--irc-cert", certificates_->Path("wcbot.pem"), "--irc-ca", network_->Certificate(),
         "--owner-account", "dj"},
        "", true);
  ASSERT_TRUE(AwaitWelcome(*watcher, "wccert")) << program_->Err();
  EXPECT_EQ(watcher->WhoisAccount("wccert"), "wcbot");
}

TEST_F(AccountsE2E, AWrongPasswordNeverJoinsAndKeepsTrying) {
  auto watcher = Person({.nick = "watcher"});
  Start({"--nick", "wcbot", "--irc-account", "wcbot"}, "not-the-secret");
  // The first attempt fails, then the second: it goes on with the backoff.
  EXPECT_TRUE(WaitUntil([&] { return Has(program_->Err(), "trying again in 20 s"); }, 60)) << program_->Err();
  EXPECT_TRUE(Has(program_->Err(), "the SASL PLAIN login as wcbot failed")) << program_->Err();
  EXPECT_FALSE(Has(program_->Err(), "not-the-secret"));
  EXPECT_FALSE(watcher->Await([](const IrcLine& l) { return l.nick == "wcbot"; }, 0)) << "it joined";
  EXPECT_TRUE(program_->Running());
}

TEST_F(AccountsE2E, TheOwnerIsWhoeverHoldsTheAccountNotTheNick) {
  auto watcher = Person({.nick = "watcher"});
  Start({"--nick", "wcbot", "--owner-account", "dj"});
  ASSERT_TRUE(AwaitWelcome(*watcher, "wcbot")) << program_->Err();
  auto phone = Person({.nick = "djphone", .sasl = SaslMechanism::kPlain, .account = "dj", .accountPassword = "dj-secret"});
  std::size_t from = watcher->Lines().size();
  phone->Say(room_, "vol 11");
  EXPECT_EQ(NextVolume(*watcher, from), "11") << program_->Err();
  auto impostor = Person({.nick = "dj", .user = "impostor"});
  from = watcher->Lines().size();
  impostor->Say(room_, "vol 22");
  ASSERT_TRUE(watcher->Await([](const IrcLine& l) { return l.nick == "dj" && l.Text() == "vol 22"; }, 10, from));
  phone->Say(room_, "vol 33");
  EXPECT_EQ(NextVolume(*watcher, from), "33") << "the impostor was obeyed";
}

}  // namespace
}  // namespace wavecrest::testing
