// The plain test server compares nicks by ASCII case only, and says so: on it
// "bot[1]" and "bot{1}" are two people, while "BOT[1]" is "bot[1]" again.
#include "support/irc_peer.h"
#include "support/irc_server.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wavecrest::testing {
namespace {

TEST(IrcServerE2E, ComparesNicksByAsciiCase) {
  IrcServer server;
  IrcPeer square(server.Port(), "bot[1]");
  const auto announces = [](const IrcLine& l) {
    return l.command == "005" && std::find(l.params.begin(), l.params.end(), "CASEMAPPING=ascii") != l.params.end();
  };
  EXPECT_TRUE(square.Await(announces, 10));
  // Under rfc1459 this nick would be taken: the server would not welcome it.
  IrcPeer curly(server.Port(), "bot{1}");
  const std::size_t from = curly.Lines().size();
  curly.Send("NICK BOT[1]");
  const auto answered = [](const IrcLine& l) { return l.command == "433" || l.command == "NICK"; };
  const auto answer = curly.Await(answered, 10, from);
  ASSERT_TRUE(answer);
  EXPECT_EQ(curly.Lines()[*answer].command, "433");
}

}  // namespace
}  // namespace wavecrest::testing
