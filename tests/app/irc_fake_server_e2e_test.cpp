// The program against a server that does what real servers will not on
// request: a flood of the owner's lines in one write, a connection that
// never finishes its TLS handshake, plain text where TLS was expected.
#include "support/child_process.h"
#include "support/fake_irc_server.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <fstream>

namespace wavecrest::testing {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class FakeServerE2E : public ::testing::Test {
 protected:
  // The program as a bot on `url`, obeying "owner".
  ChildProcess& Start(const std::string& url) {
    std::ofstream(tree_.Path("wavecrest.dat")) << "[settings]\nscreen name=owner\n";
    program_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{WAVECREST_BINARY, "--console", "--raw", "--settings", tree_.Path("wavecrest.dat"),
                                 "--irc", url, "--nick", "wcbot", "--owner-mask", "owner!*@*"},
        std::vector<std::string>{"WAVECREST_AUDIO_OUT=null"});
    return *program_;
  }
  std::string Url(const char* scheme) const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(server_.Port()) + "/#room";
  }
  bool AwaitErr(const std::string& part, double seconds) {
    return WaitUntil([&] { return Has(program_->Err(), part); }, seconds);
  }

  FakeIrcServer server_;
  TempTree tree_;
  std::unique_ptr<ChildProcess> program_;
};

// 20,000 owner lines in one write once overflowed the stack; /quit now ends
// the program at once, with the QUIT after what was already said.
TEST_F(FakeServerE2E, AFloodOfOwnerLinesNeitherCrashesTheBotNorHoldsItsQuit) {
  ChildProcess& bot = Start(Url("irc"));
  const auto said = [](const std::string& part) {
    return [part](const IrcLine& l) { return l.command == "PRIVMSG" && Has(l.Text(), part); };
  };
  ASSERT_TRUE(server_.Await(said("welcome - "), 40)) << bot.Err();
  std::string flood;
  for (int i = 0; i < 20000; ++i) flood += ":owner!o@h PRIVMSG #room :vol " + std::to_string(i % 100 + 1) + "\r\n";
  server_.Write(flood);
  ASSERT_TRUE(server_.Await(said("new volume"), 20)) << bot.Err();
  bot.Write("/quit\n");
  EXPECT_EQ(bot.Exit(60), 0) << bot.Err();
  EXPECT_TRUE(server_.Await([](const IrcLine& l) { return l.command == "QUIT"; }, 5));
}

// A server that accepts and then says nothing: the handshake is given up
// after 20 s with the reason, and the connection made again.
TEST_F(FakeServerE2E, ATlsHandshakeThatNeverEndsIsGivenUpAndTriedAgain) {
  server_.Silent();
  Start(Url("ircs"));
  EXPECT_TRUE(AwaitErr("the TLS handshake did not finish within 20 s; the port may not speak TLS", 40))
      << program_->Err();
  EXPECT_TRUE(WaitUntil([&] { return server_.Connections() >= 2; }, 20)) << program_->Err();
  EXPECT_FALSE(Has(program_->Err(), "Unknown error")) << program_->Err();
}

TEST_F(FakeServerE2E, PlainTextWhereTlsWasExpectedSaysThePortMayNotSpeakIt) {
  server_.Greet(":fake NOTICE * :*** Looking up your hostname...\r\n");
  Start(Url("ircs"));
  EXPECT_TRUE(AwaitErr("the port may not speak TLS", 20)) << program_->Err();
  EXPECT_FALSE(Has(program_->Err(), "Unknown error")) << program_->Err();
}

}  // namespace
}  // namespace wavecrest::testing
