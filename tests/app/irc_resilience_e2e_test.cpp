// The bot in a real IRC channel when things go wrong: the server dies, the
// owner floods it, a file name carries protocol, a line is too long.
#include "app/irc_e2e.h"

#include <tuple>

namespace wavecrest::testing {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::vector<std::string> kBot = {"--nick", "wcbot", "--owner-mask", "owner!*@*"};

TEST_F(IrcE2E, AfterTheServerDiesTheBotRejoinsWithoutASecondBanner) {
  Prepare("owner");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", kBot));
  server_->Kill();
  server_->Start();
  owner = Person("owner");
  // The first retry comes 10 s after the drop.
  const auto joined = owner->Await([](const IrcLine& l) { return l.command == "JOIN" && l.nick == "wcbot"; }, 25);
  ASSERT_TRUE(joined) << "stderr: " << program_->Err();
  EXPECT_EQ(Visible(Answer(*owner, "vol 44", "wcbot").value_or("")), ".·•× new volume: 44% ×•·.");
  EXPECT_EQ(SaidBy(*owner, "wcbot", room_, *joined).size(), 1u) << "more than the answer was said after the rejoin";
  EXPECT_TRUE(program_->Running());
}

TEST_F(IrcE2E, ThirtyCommandsInARowAreAllAnsweredInOrder) {
  Prepare("owner");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", kBot));
  const std::size_t from = owner->Lines().size();
  std::vector<std::string> expected;
  for (int i = 1; i <= 30; ++i) {
    owner->Say(room_, "vol " + std::to_string(i));
    expected.push_back(".·•× new volume: " + std::to_string(i) + "% ×•·.");
  }
  // Four lines at once, then one a second.
  const auto answered = [&] { return SaidBy(*owner, "wcbot", room_, from).size() >= expected.size(); };
  EXPECT_TRUE(WaitUntil(answered, 60)) << "stderr: " << program_->Err();
  std::vector<std::string> said;
  for (const auto& line : SaidBy(*owner, "wcbot", room_, from)) said.push_back(Visible(line));
  EXPECT_EQ(said, expected);
  EXPECT_FALSE(owner->Await([](const IrcLine& l) { return l.command == "QUIT" && l.nick == "wcbot"; }, 0, from));
  EXPECT_TRUE(owner->Connected());
}

TEST_F(IrcE2E, AFileNameCannotInjectACommand) {
  const std::string name = "x\r\nQUIT :injected\r\nPRIVMSG " + room_ + " :injected\nPART " + room_;
  Prepare("owner", {name});
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", kBot));
  const std::size_t from = owner->Lines().size();
  const auto answer = Answer(*owner, "p injected", "wcbot");
  ASSERT_TRUE(answer) << "stderr: " << program_->Err();
  EXPECT_TRUE(Has(*answer, "QUIT :injected")) << *answer;
  EXPECT_EQ(Visible(Answer(*owner, "vol 12", "wcbot").value_or("")), ".·•× new volume: 12% ×•·.");
  // The name arrived as one line of text and nothing else.
  std::vector<std::string> seen;
  for (std::size_t i = from; i < owner->Lines().size(); ++i) {
    const IrcLine& l = owner->Lines()[i];
    if (l.nick != "wcbot") continue;
    seen.push_back(l.command + (Has(l.Text(), "playing #1") ? " playing" : Has(l.Text(), "new volume") ? " volume" : ""));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"PRIVMSG playing", "PRIVMSG volume"}));
}

// Exit after a burst of answers: every line the bot said (the room echoes
// each on standard output) reaches the channel, in order, and the QUIT
// follows the goodbye at once rather than half a minute later.
TEST_F(IrcE2E, ExitLetsEveryLineAlreadySaidLeaveAndQuitsRightAfter) {
  Prepare("owner");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", kBot));
  const std::size_t from = owner->Lines().size();
  for (int i = 0; i < 6; ++i) owner->Say(room_, "adv");
  owner->Say(room_, "exit");
  EXPECT_EQ(program_->Exit(60), 0) << program_->Err();
  const auto quit = owner->Await([](const IrcLine& l) { return l.command == "QUIT" && l.nick == "wcbot"; }, 10, from);
  ASSERT_TRUE(quit);
  const std::string out = "\n" + program_->Out();
  std::size_t composed = 0;
  for (std::size_t at = out.find("\nwcbot: "); at != std::string::npos; at = out.find("\nwcbot: ", at + 1)) ++composed;
  const auto said = SaidBy(*owner, "wcbot", room_);
  EXPECT_EQ(said.size(), composed) << program_->Out();
  ASSERT_FALSE(said.empty());
  EXPECT_TRUE(Has(Visible(said.back()), "goodbye - ")) << said.back();
  EXPECT_EQ(SaidBy(*owner, "wcbot", room_, *quit).size(), 0u) << "nothing after the QUIT";
}

// The styled bytes of lines as a client shows them: formatting starts afresh
// on every line. Spaces are left out, since a split may take one.
std::vector<std::tuple<char, bool, int>> Styled(const std::vector<std::string>& lines) {
  std::vector<std::tuple<char, bool, int>> out;
  for (const auto& line : lines) {
    bool bold = false;
    int colour = -1;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (c == '\x02') bold = !bold;
      if (c == '\x0f') std::tie(bold, colour) = std::make_tuple(false, -1);
      if (c == '\x03') {
        const bool two = i + 2 < line.size() && std::isdigit(static_cast<unsigned char>(line[i + 1])) &&
                         std::isdigit(static_cast<unsigned char>(line[i + 2]));
        colour = two ? std::stoi(line.substr(i + 1, 2)) : -1;
        i += two ? 2 : 0;
      }
      if (static_cast<unsigned char>(c) >= 0x20 && c != ' ') out.emplace_back(c, bold, colour);
    }
  }
  return out;
}

TEST_F(IrcE2E, ALongDecorationIsSplitWithItsFormattingCarriedOver) {
  Prepare("owner");
  auto owner = Person("owner");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*owner, "wcbot", kBot));
  std::string ascii;
  for (int i = 0; i < 100; ++i) ascii += "w" + std::to_string(i) + " ";
  ascii.pop_back();
  const std::size_t from = owner->Lines().size();
  owner->Say(room_, "fascii " + ascii);
  // The whole reply: the new decoration in front, then again in bold in the middle.
  const std::vector<std::string> whole = {"\x03" "12" + ascii + "\x03 new front ascii: \x02" + ascii +
                                          "\x02 \x03" "12×•·."};
  const auto complete = [&] { return Styled(SaidBy(*owner, "wcbot", room_, from)).size() >= Styled(whole).size(); };
  ASSERT_TRUE(WaitUntil(complete, 15)) << "stderr: " << program_->Err();
  const auto pieces = SaidBy(*owner, "wcbot", room_, from);
  EXPECT_GE(pieces.size(), 2u);
  EXPECT_EQ(Styled(pieces), Styled(whole));
  for (std::size_t i = from; i < owner->Lines().size(); ++i) {
    EXPECT_LE(owner->Lines()[i].raw.size() + 2, 512u) << owner->Lines()[i].raw;
  }
}

}  // namespace
}  // namespace wavecrest::testing
