// The member's own IRC client behind a bouncer, with other clients of the
// member's attached beside it. A line typed in irssi reaches the channel under
// the member's nick, and every other attached client gets it as the member's
// own line; a private line to someone reaches only those that asked for
// znc.in/self-message.
#include "support/bouncer.h"
#include "support/irc_peer.h"
#include "support/irc_server.h"
#include "support/irssi_client.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavecrest::testing {
namespace {

TEST(BouncerE2E, LinesTypedInIrssiReachTheMembersOtherClients) {
  if (!IrssiClient::Available()) GTEST_SKIP() << "irssi and tmux are in scripts/install-deps";
  IrcServer server;
  IrcPeer person(server.Port(), "person");
  person.Join("#den");
  const Bouncer bouncer(server.Port(), "member", "#den");
  IrcPeer selfMessage(bouncer.Port(), bouncer.Login({"znc.in/self-message"}));
  IrcPeer plain(bouncer.Port(), bouncer.Login());
  IrssiClient irssi({.port = bouncer.Port(), .nick = "member", .channel = "#den", .password = bouncer.Password()});
  ASSERT_TRUE(irssi.AwaitShown("#den", 20)) << irssi.Output();

  irssi.Type("p echo");
  // Quotes, a semicolon and a backslash reach irssi as typed.
  const std::string aside = "it's \"psst\"; a \\ b";
  irssi.Type("/msg person " + aside);
  const auto said = [](const std::string& target, const std::string& text) {
    return [=](const IrcLine& l) {
      return l.nick == "member" && l.command == "PRIVMSG" && l.params.size() == 2 && l.params[0] == target &&
             l.Text() == text;
    };
  };
  EXPECT_TRUE(person.Await(said("#den", "p echo"), 10)) << irssi.Output();
  EXPECT_TRUE(person.Await(said("person", aside), 10));
  EXPECT_TRUE(selfMessage.Await(said("#den", "p echo"), 10));
  EXPECT_TRUE(selfMessage.Await(said("person", aside), 10));
  // What the person says next reaches the plain client after whatever the
  // bouncer passed on of the member's lines.
  person.Say("#den", "after");
  ASSERT_TRUE(plain.Await([](const IrcLine& l) { return l.command == "PRIVMSG" && l.Text() == "after"; }, 10));
  EXPECT_TRUE(std::any_of(plain.Lines().begin(), plain.Lines().end(), said("#den", "p echo")));
  EXPECT_TRUE(std::none_of(plain.Lines().begin(), plain.Lines().end(), said("person", aside)));
}

}  // namespace
}  // namespace wavecrest::testing
