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

// A server slow to let the bot in: start-up goes on without the channel and
// says so, and the join that comes later is said too, once.
TEST_F(FakeServerE2E, AJoinAfterStartUpGaveUpWaitingIsSaidOnce) {
  server_.Silent();
  Start(Url("irc"));
  ASSERT_TRUE(AwaitErr("not in the channel yet", 40)) << program_->Err();
  server_.Write(":fake 001 wcbot :Welcome wcbot!u@fake\r\n");
  ASSERT_TRUE(server_.Await([](const IrcLine& l) { return l.command == "JOIN"; }, 10));
  server_.Write(":wcbot!u@fake JOIN :#room\r\n");
  EXPECT_TRUE(AwaitErr("wavecrest: irc: joined #room as wcbot\n", 10)) << program_->Err();
  // Start-up ends with the welcome, heard now: from then on lines are read.
  ASSERT_TRUE(server_.Await([](const IrcLine& l) { return l.command == "PRIVMSG" && l.Text().find("welcome - ") != std::string::npos; }, 10));
  server_.Write(":op!o@h KICK #room wcbot :out\r\n");
  ASSERT_TRUE(AwaitErr("kicked from #room", 10));
  const std::size_t kicked = server_.Lines().size();
  server_.Write(":op!o@h INVITE wcbot :#room\r\n");
  ASSERT_TRUE(server_.Await([](const IrcLine& l) { return l.command == "JOIN"; }, 5, kicked));
  server_.Write(":wcbot!u@fake JOIN :#room\r\n:owner!o@h PRIVMSG #room :vol 5\r\n");
  // Answered: the rejoin has been taken in.
  ASSERT_TRUE(server_.Await([](const IrcLine& l) { return l.command == "PRIVMSG" && l.Text().find("new volume") != std::string::npos; }, 10)) << program_->Out() << program_->Err();
  program_->Write("/quit\n");
  EXPECT_EQ(program_->Exit(20), 0);
  const std::string err = program_->Err();
  EXPECT_EQ(err.find("joined #room"), err.rfind("joined #room")) << "said once: " << err;
}

TEST_F(FakeServerE2E, PlainTextWhereTlsWasExpectedSaysThePortMayNotSpeakIt) {
  server_.Greet(":fake NOTICE * :*** Looking up your hostname...\r\n");
  Start(Url("ircs"));
  EXPECT_TRUE(AwaitErr("the port may not speak TLS", 20)) << program_->Err();
  EXPECT_FALSE(Has(program_->Err(), "Unknown error")) << program_->Err();
}

}  // namespace
}  // namespace wavecrest::testing
