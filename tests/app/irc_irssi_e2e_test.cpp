// Once as a person would: irssi, in tmux, joins the room and types "p echo";
// its screen shows the bot's answer with the song's name in bold.
#include "app/irc_e2e.h"
#include "support/irssi_client.h"

#include <regex>

namespace wavecrest::testing {
namespace {

TEST_F(IrcE2E, APersonInIrssiSeesTheAnswerInBold) {
  if (!IrssiClient::Available()) GTEST_SKIP() << "irssi and tmux are in scripts/install-deps";
  Prepare("person");
  auto watcher = Person("watcher");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*watcher, "wcbot", {"--nick", "wcbot", "--owner-mask", "person!*@*"}));
  IrssiClient irssi({.port = server_->Port(), .nick = "person", .channel = room_});
  const auto joined = [&](const IrcLine& l) { return l.command == "JOIN" && l.nick == "person"; };
  ASSERT_TRUE(watcher->Await(joined, 20)) << irssi.Output();

  const std::size_t from = watcher->Lines().size();
  irssi.Type("/window goto " + room_);
  irssi.Type("p echo");
  const auto answered = [&](const IrcLine& l) { return l.nick == "wcbot" && l.Text().find("echo valley") != std::string::npos; };
  ASSERT_TRUE(watcher->Await(answered, 10, from)) << program_->Err();
  // The answer has reached tmux once the pane's output shows it.
  const auto shown = [&] { return irssi.Output().find("valley", irssi.Output().rfind("playing")) != std::string::npos; };
  ASSERT_TRUE(WaitUntil(shown, 10)) << irssi.Output();
  const std::string screen = irssi.Screen();
  // "playing #1 - ", styles, then the name: among the styles, bold (SGR 1).
  std::smatch match;
  ASSERT_TRUE(std::regex_search(screen, match, std::regex("playing #1 - ((\x1b\\[[0-9;]*m)*)echo valley"))) << screen;
  EXPECT_TRUE(std::regex_search(match[1].str(), std::regex("\x1b\\[(1|[0-9;]*;1)[;m]"))) << screen;
}

}  // namespace
}  // namespace wavecrest::testing
