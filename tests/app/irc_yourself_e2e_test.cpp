// The program as the member's own presence in a real channel: beside a
// stranger who took the member's nick, and beside the member's own IRC
// client through a bouncer.
#include "app/irc_e2e.h"

#include "support/bouncer.h"
#include "support/irssi_client.h"

namespace wavecrest::testing {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The first line `nick` says from `from` on that tells a new volume, seen by `watcher`.
std::optional<std::string> VolumeSaidBy(IrcPeer& watcher, const std::string& nick, std::size_t from) {
  const auto line = watcher.Await(
      [&](const IrcLine& l) { return l.nick == nick && l.command == "PRIVMSG" && Has(l.Text(), "new volume"); }, 15, from);
  if (!line) return std::nullopt;
  return Visible(watcher.Lines()[*line].Text());
}

// A first run (the screen-name box still holds its placeholder) as "dj",
// while a stranger holds that nick: the program is dj_, the stranger's line
// is not obeyed, the member's typed one is at once, and once the stranger
// is gone the nick is taken back.
TEST_F(IrcE2E, AsYourselfBesideAStrangerHoldingYourNick) {
  Prepare("");
  auto stranger = Person("dj", "stranger");
  auto watcher = Person("watcher");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*watcher, "dj_", {"--member", "dj"}));
  const std::size_t from = watcher->Lines().size();
  stranger->Say(room_, "vol 11");
  ASSERT_TRUE(watcher->Await([](const IrcLine& l) { return l.nick == "dj" && l.Text() == "vol 11"; }, 10, from));
  program_->Write("vol 22\n");
  EXPECT_EQ(VolumeSaidBy(*watcher, "dj_", from), ".·•× new volume: 22% ×•·.") << program_->Err();
  stranger->Quit();
  const auto renamed = [](const IrcLine& l) { return l.command == "NICK" && l.nick == "dj_" && l.Text() == "dj"; };
  ASSERT_TRUE(watcher->Await(renamed, 15, from)) << program_->Err();
  const std::size_t after = watcher->Lines().size();
  program_->Write("vol 33\n");
  EXPECT_EQ(VolumeSaidBy(*watcher, "dj", after), ".·•× new volume: 33% ×•·.");
}

// The member's irssi and the program attached to one bouncer identity: a
// line typed in irssi is the member's, and the answer goes out under the
// member's nick.
TEST_F(IrcE2E, ThroughABouncerTheLinesTypedInYourOwnClientAreObeyed) {
  if (!IrssiClient::Available()) GTEST_SKIP() << "irssi and tmux are in scripts/install-deps";
  Prepare("member");
  auto person = Person("person");
  const Bouncer bouncer(server_->Port(), "member", room_);
  const std::string url = "irc://127.0.0.1:" + std::to_string(bouncer.Port()) + "/" + room_;
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*person, "member", {"--member", "member"}, Transport::kPlain, url,
                                               {"WAVECREST_IRC_PASSWORD=" + bouncer.Password()}));
  IrssiClient irssi({.port = bouncer.Port(), .nick = "member", .channel = room_, .password = bouncer.Password()});
  ASSERT_TRUE(irssi.AwaitShown(room_, 20)) << irssi.Output();
  const std::size_t from = person->Lines().size();
  irssi.Type("vol 33");
  EXPECT_EQ(VolumeSaidBy(*person, "member", from), ".·•× new volume: 33% ×•·.") << program_->Err();
  EXPECT_TRUE(Has(program_->Out(), "\nmember: vol 33\n")) << program_->Out();
}

// On a server whose nicks compare by ASCII case, bot{1} is somebody else:
// bot[1] does not take its parting for its own. Its owner is named by
// --owner, on a first run.
TEST_F(IrcE2E, BotWithBracketsKeepsAnsweringAfterItsCurlyNamesakeParts) {
  Prepare("");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(
      StartAndAwaitWelcome(*owner, "bot[1]", {"--nick", "bot[1]", "--owner", "owner", "--owner-mask", "owner!*@*"}));
  auto curly = Person("bot{1}");
  curly->Send("PART " + room_);
  ASSERT_TRUE(owner->Await([](const IrcLine& l) { return l.command == "PART" && l.nick == "bot{1}"; }, 10));
  const std::size_t from = owner->Lines().size();
  owner->Say(room_, "vol 12");
  EXPECT_EQ(VolumeSaidBy(*owner, "bot[1]", from), ".·•× new volume: 12% ×•·.") << program_->Err();
}

// A keyed channel is joined with its key; an invitation while the bot waits
// to get back into an invite-only channel lets it in at once.
TEST_F(IrcE2E, AKeyedChannelAndAnInvitation) {
  Prepare("owner");
  auto owner = Person("owner");
  owner->Send("MODE " + room_ + " +k sesame");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", {"--nick", "wcbot", "--owner-mask", "owner!*@*"},
                                               Transport::kPlain, "", {"WAVECREST_IRC_CHANNEL_KEY=sesame"}));
  owner->Send("MODE " + room_ + " +i");
  owner->Send("KICK " + room_ + " wcbot :out");
  ASSERT_TRUE(WaitUntil([&] { return Has(program_->Err(), "(473); retrying in"); }, 20)) << program_->Err();
  const std::size_t from = owner->Lines().size();
  owner->Send("INVITE wcbot " + room_);
  // Well before the retry: the invitation let it in.
  EXPECT_TRUE(owner->Await([](const IrcLine& l) { return l.command == "JOIN" && l.nick == "wcbot"; }, 5, from))
      << program_->Err();
}

}  // namespace
}  // namespace wavecrest::testing
