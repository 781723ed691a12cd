#include "host/irc/session.h"

#include "host/irc/text.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace wavecrest::irc {
namespace {

using Lines = std::vector<std::string>;

// Everything the session tells its listener, as text, in order.
struct Recorder final : SessionListener {
  Lines sent, events, problems;
  void SendLine(const std::string& line) override { sent.push_back(line); }
  void OnChannelLine(const std::string& speaker, const std::string& text, const std::string& styled, LineKind kind,
                     bool trusted) override {
    const char* kinds[] = {"message", "action", "notice"};
    events.push_back("line " + speaker + "|" + text + "|" + styled + "|" + kinds[static_cast<int>(kind)] +
                     (trusted ? "" : "|untrusted"));
  }
  void OnPeople(const std::vector<std::string>& nicks) override {
    std::string list;
    for (const std::string& nick : nicks) list += (list.empty() ? "" : ",") + nick;
    events.push_back("people " + list);
  }
  void OnOwnNick(const std::string& nick) override { events.push_back("nick " + nick); }
  void OnJoined() override { events.push_back("joined"); }
  void OnLeftChannel() override { events.push_back("left"); }
  void OnProblem(const std::string& text) override { problems.push_back(text); }
};

struct Step {
  const char* serverLine;  // nullptr: only a tick
  Lines clientLines;
  double at = 0.0;
};

class IrcSession : public ::testing::Test {
 protected:
  void Start(SessionConfig config, double now = 0.0) {
    session = std::make_unique<Session>(std::move(config), recorder);
    session->OnConnected(now);
  }
  // A registered, joined session as "bot" on #room, seen as bot!~wc@10.0.0.1.
  void Join(std::optional<std::string> ownerMask = std::nullopt) {
    Start({.nick = "bot", .channel = "#room", .ownerMask = std::move(ownerMask)});
    Run({{":s 001 bot :Welcome", {"JOIN #room"}}, {":bot!~wc@10.0.0.1 JOIN :#room", {}},
         {":s 353 bot = #room :bot @op", {}}, {":s 366 bot #room :End", {}}});
    recorder.events.clear();
  }
  // Each step's server line (and a tick at its time) must make the client send exactly its lines.
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      recorder.sent.clear();
      if (step.serverLine != nullptr) session->OnLineReceived(step.serverLine, step.at);
      session->OnTick(step.at);
      EXPECT_EQ(recorder.sent, step.clientLines) << (step.serverLine ? step.serverLine : "tick") << " at " << step.at;
    }
  }
  Recorder recorder;
  std::unique_ptr<Session> session;
};

TEST_F(IrcSession, RegistrationConversations) {
  const struct {
    const char* name;
    SessionConfig config;
    Lines opening;
    std::vector<Step> steps;
    const char* finalNick;
  } scripts[] = {
      {"CAP, a password, PING while registering and the nick fallback",
       {.nick = "bot", .password = "secret word", .channel = "#room"},
       {"CAP LS 302", "PASS :secret word", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{"PING :reg-1", {"PONG reg-1"}}, {":s CAP * LS * :multi-prefix sasl", {}}, {":s CAP * LS :away-notify", {"CAP END"}},
        {":s 433 * bot :Nickname is already in use", {"NICK bot_"}}, {":s 437 * bot_ :unavailable", {"NICK bot__"}},
        {":s 433 * bot__ :in use", {"NICK bot1"}}, {":s 432 * bot1 :Erroneous", {"NICK bot2"}},
        {":s 001 bot2 :Welcome bot2!~wc@h", {"JOIN #room"}}, {":s PING :k", {"PONG k"}},
        {":s 433 bot2 bot :in use", {}}, {"ERROR :Closing link (bad password secret word)", {}}},
       "bot2"},
      {"a server without CAP", {.nick = "bot", .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s 421 * CAP :Unknown command", {}}, {":s 001 bot :Welcome", {"JOIN #room"}}},
       "bot"},
      {"a nick too long for the server is shortened", {.nick = "wavecrest1", .channel = "#room"},
       {"CAP LS 302", "NICK wavecrest1", "USER wavecrest 0 * wavecrest"},
       {{":s 432 * wavecrest1 :Erroneous nickname", {"NICK wavecrest"}}, {":s 433 * wavecrest :in use", {"NICK wavecres_"}},
        {":s 001 wavecres_ :Welcome", {"JOIN #room"}}},
       "wavecres_"},
  };
  for (const auto& script : scripts) {
    SCOPED_TRACE(script.name);
    recorder = Recorder();
    Start(script.config);
    EXPECT_EQ(recorder.sent, script.opening);
    Run(script.steps);
    EXPECT_EQ(session->Nick(), script.finalNick);
    EXPECT_EQ(recorder.events, Lines{std::string("nick ") + script.finalNick});
    EXPECT_FALSE(session->Joined());
    for (const std::string& problem : recorder.problems) EXPECT_EQ(problem.find("secret"), std::string::npos) << problem;
  }
}

TEST_F(IrcSession, TheChannelItsPeopleAndWhoIsTrusted) {
  Join("owner!*@trusted.host");
  const struct {
    const char* serverLine;
    Lines events;
  } cases[] = {
      {":owner!o@trusted.host PRIVMSG #room :\x02p\x02 echo", {"line owner|p echo|\x02p\x02 echo|message"}},
      {":owner!o@evil.host PRIVMSG #Room :p x", {"line owner|p x|p x|message|untrusted"}},
      {":owner!o@trusted.host PRIVMSG #room :\x01" "ACTION waves\x01", {"line owner|waves|waves|action"}},
      {":owner!o@trusted.host NOTICE #room :note", {"line owner|note|note|notice"}},
      {":x!x@h PRIVMSG #room :\x1B[2Jhi\x07", {"line x|[2Jhi|[2Jhi|message|untrusted"}},
      {":owner!o@trusted.host PRIVMSG bot :private", {}},
      {":owner!o@trusted.host PRIVMSG #room :\x01VERSION\x01", {}},
      {":owner!o@trusted.host NOTICE #room :\x01PING 1\x01", {}},
      {":owner!o@trusted.host PRIVMSG #other :elsewhere", {}},
      {":Joe!j@h JOIN #room", {"people bot,op,Joe"}},
      {":joe!j@h NICK Jim", {"people bot,op,Jim"}},
      {":Jim!j@h PART #room :later", {"people bot,op"}},
      {":Kim!k@h JOIN #room", {"people bot,op,Kim"}},
      {":op!o@h KICK #room Kim :out", {"people bot,op"}},
      {":op!o@h QUIT :bye", {"people bot"}},
      {":nobody!n@h QUIT :bye", {}},
      {":bot!~wc@10.0.0.1 NICK bot_", {"nick bot_", "people bot_"}},
      {":s 353 bot_ @ #room :@+a %b ~c bot_ d!u@h", {}},
      {":s 366 bot_ #room :End", {"people a,b,c,bot_,d"}},
  };
  for (const auto& c : cases) {
    recorder.events.clear();
    session->OnLineReceived(c.serverLine, 1.0);
    EXPECT_EQ(recorder.events, c.events) << c.serverLine;
  }
  EXPECT_TRUE(recorder.sent.empty() && recorder.problems.empty()) << "channel lines are never answered";
}

TEST_F(IrcSession, KickRejoinsAfterTenSecondsAndRefusedJoinsBackOff) {
  Join();
  Run({{":op!o@h KICK #room bot :go away", {}, 100.0}, {nullptr, {}, 109.9}, {nullptr, {"JOIN #room"}, 110.0},
       {":s 474 bot #room :Cannot join channel (+b)", {}, 110.0}, {nullptr, {}, 119.9}, {nullptr, {"JOIN #room"}, 120.0},
       {":s 471 bot #room :Channel is full", {}, 120.0}, {nullptr, {}, 139.9}, {nullptr, {"JOIN #room"}, 140.0},
       {":s 475 bot #room :Bad key", {}, 140.0}, {nullptr, {"JOIN #room"}, 180.0},
       {":bot!~wc@h JOIN #room", {}, 180.0}, {":op!o@h KICK #room bot :again", {}, 200.0}, {nullptr, {"JOIN #room"}, 210.0}});
  EXPECT_EQ(recorder.events, (Lines{"people ", "left", "joined", "people bot", "people ", "left"}));
  ASSERT_EQ(recorder.problems.size(), 5u);
  EXPECT_NE(recorder.problems[1].find("Cannot join channel (+b)"), std::string::npos) << recorder.problems[1];
}

TEST_F(IrcSession, KeepalivePingsAfterSilenceAndGivesUpAfterTwoMinutes) {
  Join();
  const struct {
    double at;
    const char* serverLine;
    Lines sent;
    SessionAction action;
  } ticks[] = {
      {50.0, ":s NOTICE bot :traffic", {}, SessionAction::kNone},   {139.9, nullptr, {}, SessionAction::kNone},
      {140.0, nullptr, {"PING wavecrest"}, SessionAction::kNone},   {150.0, nullptr, {}, SessionAction::kNone},
      {169.9, nullptr, {}, SessionAction::kNone},                   {170.0, nullptr, {}, SessionAction::kReconnect},
  };
  for (const auto& t : ticks) {
    recorder.sent.clear();
    if (t.serverLine) session->OnLineReceived(t.serverLine, t.at);
    EXPECT_EQ(session->OnTick(t.at), t.action) << t.at;
    EXPECT_EQ(recorder.sent, t.sent) << t.at;
  }
  EXPECT_DOUBLE_EQ(session->NextWakeup(150.0), 20.0);
  session->OnDisconnected(170.0);
  EXPECT_EQ(recorder.events.back(), "left");
  EXPECT_EQ(session->NextWakeup(170.0), kIdleWakeupSeconds);
  // The connection stayed up past a minute: the backoff starts again.
  for (const double delay : {10.0, 20.0, 40.0, 80.0, 160.0, 300.0, 300.0}) EXPECT_EQ(session->ReconnectDelay(), delay);
  session->OnConnected(1000.0);
  session->OnLineReceived(":s 001 bot :Welcome", 1000.0);
  session->OnDisconnected(1059.0);
  EXPECT_EQ(session->ReconnectDelay(), 300.0) << "a connection up for less than a minute keeps the backoff";
}

TEST_F(IrcSession, FloodBucketReleasesFourAtOnceThenOneASecond) {
  Start({.nick = "bot", .channel = "#room"});
  EXPECT_EQ(session->Say("not joined yet", 0.0), 0u);
  Join();
  recorder.sent.clear();
  std::uint64_t last = 0;
  for (int i = 1; i <= 30; ++i) last = session->Say("line " + std::to_string(i), 10.0);
  EXPECT_EQ(last, 30u);
  std::vector<double> sentAt(recorder.sent.size(), 10.0);
  for (double now = 10.0; session->LinesSent() < last;) {
    now += session->NextWakeup(now);
    session->OnLineReceived("PING :p", now);  // answered at once, whatever waits
    ASSERT_EQ(recorder.sent.back(), "PONG p");
    recorder.sent.pop_back();
    session->OnTick(now);
    sentAt.resize(recorder.sent.size(), now);
    ASSERT_LT(now, 100.0);
  }
  ASSERT_EQ(recorder.sent.size(), 30u);
  for (std::size_t i = 0; i < recorder.sent.size(); ++i) {
    EXPECT_EQ(recorder.sent[i], "PRIVMSG #room :line " + std::to_string(i + 1)) << "order";
    EXPECT_NEAR(sentAt[i], 10.0 + (i < 4 ? 0.0 : static_cast<double>(i) - 3.0), 1e-6) << "line " << i + 1;
  }
  // Lines still waiting when the connection goes are dropped, and nobody waits for them.
  for (int i = 0; i < 10; ++i) last = session->Say("more", 50.0);
  session->OnDisconnected(50.0);
  EXPECT_EQ(session->LinesSent(), last);
  EXPECT_EQ(recorder.events.back(), "left");
  EXPECT_EQ(session->Say("gone", 51.0), 0u);
}

TEST_F(IrcSession, LongLinesFitTheServersLineWithTheOwnPrefixAndQuitFlushesThem) {
  std::string html = "<b>";
  for (int i = 0; i < 300; ++i) html += "word" + std::to_string(i) + " ";
  html += "</b>";
  for (const auto& [isupport, lineLength] : {std::pair<const char*, std::size_t>{nullptr, 512},
                                             {":s 005 bot CHANTYPES=# LINELEN=1024 :are supported", 1024}}) {
    Join();
    if (isupport) session->OnLineReceived(isupport, 1.0);
    recorder.sent.clear();
    session->Say(html, 1.0);
    session->Quit("bye now", 1.0);
    ASSERT_GE(recorder.sent.size(), 3u);
    EXPECT_EQ(recorder.sent.back(), "QUIT :bye now");
    std::string visible;
    for (std::size_t i = 0; i + 1 < recorder.sent.size(); ++i) {
      const std::string& line = recorder.sent[i];
      const std::string received = ":bot!~wc@10.0.0.1 " + line + "\r\n";
      EXPECT_LE(received.size(), lineLength);
      if (i + 2 < recorder.sent.size()) {
        EXPECT_GT(received.size(), lineLength - 12) << "pieces are filled";
      }
      ASSERT_EQ(line.rfind("PRIVMSG #room :\x02", 0), 0u) << line;
      visible += StripFormatting(line.substr(15));
    }
    std::erase(visible, ' ');
    std::string expected = StripFormatting(ChatHtmlToIrc(html));
    std::erase(expected, ' ');
    EXPECT_EQ(visible, expected);
  }
}

}  // namespace
}  // namespace wavecrest::irc
