// The program in a real IRC channel, black-box: what people in the channel
// see and what they can make it do.
#include "app/irc_e2e.h"

#include "app/program_options.h"

#include <signal.h>

#include <algorithm>
#include <cctype>

namespace wavecrest::testing {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

bool QuitBy(const IrcLine& l, const std::string& nick) { return l.command == "QUIT" && l.nick == nick; }

TEST_F(IrcE2E, TheMembersOwnClientSaysTheirLinesAndAnswersUnderTheirNick) {
  Prepare("dj");
  auto other = Person("other");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*other, "dj", {"--member", "dj"}));
  const std::size_t from = other->Lines().size();
  program_->Write("vol 40\n");
  ASSERT_TRUE(other->Await([](const IrcLine& l) { return Has(l.Text(), "new volume"); }, 10, from));
  EXPECT_EQ(SaidBy(*other, "dj", room_, from), (std::vector<std::string>{"vol 40", "\x03" "12.·•×\x03 new volume: \x02" "40%\x02 \x03" "12×•·."}));
  other->Say(room_, "\x02hi\x02 \x03" "04,01there");
  EXPECT_TRUE(WaitUntil([&] { return Has(program_->Out(), "\nother: "); }, 10)) << program_->Out();
  program_->Write("/quit\n");
  EXPECT_EQ(program_->Exit(15), 0) << program_->Err();
  EXPECT_TRUE(other->Await([](const IrcLine& l) { return QuitBy(l, "dj"); }, 5, from));
  EXPECT_TRUE(Has(program_->Out(), "\ndj: vol 40\n"));
  EXPECT_TRUE(Has(program_->Out(), "\ndj: </b></u></i><font face=\"times new roman\" color=#0000ff>.·•×"));
  EXPECT_TRUE(Has(program_->Out(), "\nother: hi there\n")) << program_->Out();
}

TEST_F(IrcE2E, AHeadlessBotObeysItsOwnerWithTheExactLineAndLeavesOnExit) {
  Prepare("owner");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", {"--nick", "wcbot", "--owner-mask", "owner!*@*"}));
  EXPECT_EQ(Answer(*owner, "p echo", "wcbot"),
            "\x03" "12.·•×\x03 playing #1 - \x02" "echo valley\x02 \x03" "12×•·.");
  const std::size_t from = owner->Lines().size();
  owner->Say(room_, "exit");
  EXPECT_TRUE(owner->Await([](const IrcLine& l) { return QuitBy(l, "wcbot"); }, 10, from));
  const auto said = SaidBy(*owner, "wcbot", room_, from);
  ASSERT_FALSE(said.empty());
  EXPECT_TRUE(Has(Visible(said.back()), "goodbye - ")) << said.back();
  EXPECT_EQ(program_->Exit(10), 0) << program_->Err();
  EXPECT_TRUE(Has(program_->Out(), "\nowner: p echo\n"));
  EXPECT_TRUE(Has(program_->Out(), "\nwcbot: </b></u></i><font face=\"times new roman\" color=#0000ff>.·•×<font "
                                   "face=\"times new roman\" color=#000000> playing #1 - <b>echo valley</b> "));
}

// A private line is shown and never obeyed; a private help is answered by
// NOTICE, to the one who asked.
TEST_F(IrcE2E, PrivateLinesAreShownAndHelpAnsweredButNeverObeyed) {
  Prepare("owner");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", {"--nick", "wcbot", "--owner-mask", "owner!*@*"}));
  const std::size_t from = owner->Lines().size();
  owner->Send("PRIVMSG wcbot :vol 33");
  owner->Send("NOTICE wcbot :a notice");
  EXPECT_TRUE(WaitUntil([&] { return Has(program_->Out(), "\n-owner- a notice\n"); }, 10)) << program_->Out();
  EXPECT_TRUE(Has(program_->Out(), "\n*owner* vol 33\n")) << program_->Out();
  const auto notice = [](const std::string& part) {
    return [part](const IrcLine& l) { return l.command == "NOTICE" && l.nick == "wcbot" && Has(l.Text(), part); };
  };
  owner->Send("PRIVMSG wcbot :help");
  EXPECT_TRUE(owner->Await(notice("commands: .trig? exit adv"), 10, from)) << program_->Err();
  EXPECT_TRUE(SaidBy(*owner, "wcbot", room_, from).empty()) << "nothing private was obeyed";
}

struct TrustCase {
  const char* name;
  const char* speaker;
  const char* user;
  const char* mask;  // nullptr: no --owner-mask
  bool obeyed;
};
void PrintTo(const TrustCase& c, std::ostream* os) { *os << c.name; }

class IrcTrust : public IrcE2E, public ::testing::WithParamInterface<TrustCase> {};

// The speaker says "vol 11", then the real owner "vol 22": the bot's first
// answer tells whose line it obeyed.
TEST_P(IrcTrust, OnlyTheOwnerIsObeyed) {
  const TrustCase& c = GetParam();
  Prepare("owner");
  auto watcher = Person("watcher");
  std::vector<std::string> options = {"--nick", "wcbot"};
  if (c.mask) options.insert(options.end(), {"--owner-mask", c.mask});
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*watcher, "wcbot", options));
  EXPECT_EQ(Count(program_->Err(), "owner-mask"), c.mask ? 0u : 1u) << program_->Err();
  const std::size_t from = watcher->Lines().size();
  auto speaker = Person(c.speaker, c.user);
  speaker->Say(room_, "vol 11");
  ASSERT_TRUE(watcher->Await([&](const IrcLine& l) { return l.nick == c.speaker && l.Text() == "vol 11"; }, 5, from));
  speaker->Quit();
  auto owner = Person("owner", "realuser");
  owner->Say(room_, "vol 22");
  ASSERT_TRUE(watcher->Await([](const IrcLine& l) { return l.nick == "wcbot"; }, 10, from)) << program_->Err();
  EXPECT_EQ(Visible(SaidBy(*watcher, "wcbot", room_, from).front()),
            std::string(".·•× new volume: ") + (c.obeyed ? "11" : "22") + "% ×•·.");
}

INSTANTIATE_TEST_SUITE_P(Speakers, IrcTrust,
                         ::testing::Values(TrustCase{"owner_without_mask", "owner", "someone", nullptr, true},
                                           TrustCase{"someone_else", "eve", "realuser", nullptr, false},
                                           TrustCase{"owner_matching_mask", "owner", "realuser", "owner!*realuser@*", true},
                                           TrustCase{"impostor", "owner", "fake", "owner!*realuser@*", false}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(IrcE2E, ANickInUseFallsBackInOrder) {
  Prepare("owner");
  auto owner = Person("owner");
  const std::vector<std::pair<std::string, std::string>> rounds = {
      {"wcbot", "wcbot_"}, {"wcbot_", "wcbot__"}, {"wcbot__", "wcbot1"}};
  std::vector<std::unique_ptr<IrcPeer>> holders;
  for (const auto& [taken, expected] : rounds) {
    holders.push_back(std::make_unique<IrcPeer>(server_->Port(), taken));
    ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, expected, {"--nick", "wcbot", "--owner-mask", "owner!*@*"}));
    EXPECT_EQ(Visible(Answer(*owner, "vol 33", expected).value_or("")), ".·•× new volume: 33% ×•·.") << expected;
    program_->Write("/quit\n");
    EXPECT_EQ(program_->Exit(10), 0) << program_->Err();
  }
}

TEST_F(IrcE2E, TlsNeedsATrustedCertificate) {
  Prepare("owner");
  auto owner = Person("owner");
  Start({"--nick", "wcbot"}, Url(Transport::kTls));
  const auto reason = [&] {
    std::string err = program_->Err();
    std::transform(err.begin(), err.end(), err.begin(), [](unsigned char c) { return std::tolower(c); });
    return Has(err, "certificate");
  };
  EXPECT_TRUE(WaitUntil(reason, 15)) << "stderr: " << program_->Err();
  EXPECT_FALSE(owner->Await([](const IrcLine& l) { return l.nick == "wcbot"; }, 0));
  program_->Signal(SIGTERM);
  EXPECT_TRUE(program_->Exit(10)) << "SIGTERM did not end the program";

  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(
      *owner, "wcbot", {"--nick", "wcbot", "--owner-mask", "owner!*@*", "--irc-ca", server_->Certificate()},
      Transport::kTls));
  EXPECT_EQ(Visible(Answer(*owner, "vol 21", "wcbot").value_or("")), ".·•× new volume: 21% ×•·.");
}

TEST(IrcOptions, ABadUrlGetsAUsageMessage) {
  for (const std::string url : {"http://127.0.0.1/#room", "irc://127.0.0.1:70000/#room", "irc://127.0.0.1/room",
                                "irc:///#room", "irc://127.0.0.1/#", "irc://127.0.0.1/#locked?key=x"}) {
    const TempTree tree;
    ChildProcess p({WAVECREST_BINARY, "--console", "--raw", "--settings", tree.Path("wavecrest.dat"), "--irc", url},
                   {"WAVECREST_AUDIO_OUT=null"});
    p.CloseInput();
    EXPECT_EQ(p.Exit(30), 2) << url;
    EXPECT_TRUE(Has(p.Err(), "usage: wavecrest")) << url << ": " << p.Err();
  }
}

// The network's options: each with the others it needs, and every file it
// names readable at start rather than on the first connection.
TEST(IrcOptions, WhatTheNetworksOptionsNeed) {
  const TempTree tree;
  const std::string readable = tree.Path("readable");
  std::ofstream(readable) << "x\n";
  const std::string missing = tree.Path("missing");
  ::unsetenv("WAVECREST_IRC_PASSWORD");
  const struct {
    std::vector<std::string> args;
    const char* error;  // nullptr: accepted
  } cases[] = {
      {{"--irc", "ircs://h/#c", "--irc-cert", readable, "--irc-ca", readable}, nullptr},
      {{"--irc", "irc://h/#c", "--irc-account", "bot", "--irc-password-file", readable, "--owner-account", "dj"}, nullptr},
      {{"--irc", "irc://h/#c", "--owner", "dj", "--irc-channel-key-file", readable}, nullptr},
      {{"--irc", "ircs://h/#c", "--irc-ca", missing}, "--irc-ca: cannot read"},
      {{"--irc", "ircs://h/#c", "--irc-cert", missing}, "--irc-cert: cannot read"},
      {{"--irc", "irc://h/#c", "--irc-channel-key-file", missing}, "--irc-channel-key-file: cannot read"},
      {{"--irc", "irc://h/#c", "--irc-cert", readable}, "--irc-cert needs an ircs:// address"},
      {{"--irc", "irc://h/#c", "--irc-account", "bot"}, "--irc-account needs its password"},
      {{"--irc", "irc://h/#c", "--owner", "two words"}, "--owner needs the owner's nick"},
      {{"--owner-account", "dj"}, "go with --irc"},
      {{"--irc-cert", readable}, "go with --irc"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"wavecrest", "--console"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ParsedOptions parsed = ParseProgramOptions(args);
    if (c.error == nullptr) {
      EXPECT_TRUE(parsed.options) << args[2] << " " << args[3] << ": " << parsed.message;
      continue;
    }
    EXPECT_FALSE(parsed.options) << c.error;
    EXPECT_EQ(parsed.exitCode, 2) << c.error;
    EXPECT_TRUE(Has(parsed.message, c.error)) << parsed.message;
  }
}

}  // namespace
}  // namespace wavecrest::testing
