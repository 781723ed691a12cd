// The stream when the server is not there, refuses the source, dies and comes
// back, or is fanned out by a relay: the room goes on, and listeners hear the
// song wherever they listen.
#include "app/stream_e2e.h"

#include "support/irc_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>

namespace wavecrest::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::size_t LinesFrom(const std::string& text, std::size_t from) {
  return static_cast<std::size_t>(std::count(text.begin() + static_cast<long>(from), text.end(), '\n'));
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

TEST_F(StreamE2E, AServerKilledAndBackIsRejoinedWhileTheOwnerIsAnswered) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming());
  std::optional<Heard> beforeKill;
  {
    ToneListener ear(ListenUrl());
    ASSERT_TRUE(Say("p alpha", "playing #1"));
    ASSERT_TRUE(ear.Await(Song(kAlpha), 20)) << ear.Transcript();
    const std::size_t errFrom = program_->Err().size();
    icecast_->Kill();
    EXPECT_FALSE(ear.Await([](const Heard&) { return false; }, 10));
    EXPECT_FALSE(ear.Connected()) << "the stream ends with the server";
    beforeKill = ear.LastToneBefore(ear.Windows().size());

    // Long enough for the source to have tried again twice (after 2 s, then 4 s).
    const auto killed = Clock::now();
    while (Clock::now() - killed < std::chrono::seconds(8)) {
      ASSERT_TRUE(Say("adv", "download this @", 10)) << "unanswered while the server was down";
    }
    EXPECT_EQ(LinesFrom(program_->Err(), errFrom), 1u) << "one line for the loss, none per retry:\n"
                                                       << program_->Err().substr(errFrom);
    icecast_->Start();
    ASSERT_TRUE(AwaitMount(*icecast_, "/live", [](const MountStats&) { return true; }, 60))
        << "the source did not come back: " << program_->Err().substr(errFrom);
    WaitUntil([&] { return LinesFrom(program_->Err(), errFrom) >= 2; }, 10);
    EXPECT_EQ(LinesFrom(program_->Err(), errFrom), 2u) << "one more line for the return:\n"
                                                       << program_->Err().substr(errFrom);
  }
  ASSERT_TRUE(beforeKill && beforeKill->song == kAlpha);
  ToneListener newcomer(ListenUrl());
  const auto heard = newcomer.Await([](const Heard& h) { return h.kind == Heard::Kind::kTone; }, 20);
  ASSERT_TRUE(heard) << newcomer.Transcript();
  // The song now playing, from where the player is: past where the stream broke off.
  EXPECT_EQ(newcomer.Windows()[*heard].song, kAlpha) << newcomer.Transcript();
  EXPECT_GT(newcomer.Windows()[*heard].step, beforeKill->step) << newcomer.Transcript();
}

enum class Fault { kWrongPassword, kNoServer };

struct FaultCase {
  const char* name;
  Fault fault;
  std::vector<std::string> reasons;  // any of them, in any case, tells why
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class StreamFault : public StreamE2E, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(StreamFault, TheReasonIsOnStandardErrorAndTheRoomGoesOnWithoutThePassword) {
  const FaultCase& c = GetParam();
  std::random_device random;
  const std::string password = "pw" + std::to_string(random()) + "x" + std::to_string(random());
  const std::string url = c.fault == Fault::kNoServer ? SourceUrl(FreePort()) : SourceUrl();
  ASSERT_NO_FATAL_FAILURE(StartProgram(url, password));
  const auto told = [&] {
    const std::string err = Lower(program_->Err());
    return std::any_of(c.reasons.begin(), c.reasons.end(),
                       [&](const std::string& r) { return err.find(r) != std::string::npos; });
  };
  EXPECT_TRUE(WaitUntil(told, 20)) << "stderr: " << program_->Err();

  EXPECT_TRUE(Say("p alpha", "playing #1 - <b>alpha echo</b>"));
  EXPECT_TRUE(Say("vol 40", "new volume: <b>40%</b>"));
  ASSERT_TRUE(HttpGet(icecast_->Port(), "/status-json.xsl"));
  EXPECT_FALSE(icecast_->Mount("/live")) << "no source was let on the air";
  std::ifstream cmdline("/proc/" + std::to_string(program_->Pid()) + "/cmdline", std::ios::binary);
  const std::string arguments{std::istreambuf_iterator<char>(cmdline), {}};
  ASSERT_FALSE(arguments.empty());
  EXPECT_EQ(arguments.find(password), std::string::npos);

  program_->Write("exit\n");
  EXPECT_EQ(program_->Exit(30), 0) << program_->Err();
  EXPECT_NE(program_->Out().find("goodbye - "), std::string::npos);
  EXPECT_EQ(program_->Out().find(password), std::string::npos);
  EXPECT_EQ(program_->Err().find(password), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StreamFault,
    ::testing::Values(FaultCase{"wrong_password", Fault::kWrongPassword, {"password", "401", "login", "auth"}},
                      FaultCase{"no_server", Fault::kNoServer, {"refused", "unreachable", "connect"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(StreamE2E, AListenerOfARelayHearsTheSong) {
  ASSERT_NO_FATAL_FAILURE(StartStreaming());
  ASSERT_TRUE(Say("p alpha", "playing #1"));
  IcecastServer relay(*icecast_, "/live");
  ASSERT_TRUE(AwaitMount(relay, "/live", [](const MountStats&) { return true; }, 30)) << relay.Log();
  ToneListener ear(relay.ListenUrl("/live"));
  EXPECT_TRUE(ear.Await(Song(kAlpha), 20)) << ear.Transcript();
}

}  // namespace
}  // namespace wavecrest::testing
