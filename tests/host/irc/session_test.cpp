#include "host/irc/session.h"

#include "host/irc/session_transcript.h"
#include "host/irc/text.h"

namespace wavecrest::irc {
namespace {

// "\0bot\0secret word" as SASL PLAIN sends it.
const std::string kPlainSecret = Base64(std::string("\0bot\0secret word", 16));
// A server that repeats what it was sent in its refusal.
const std::string kRefusal = ":s 904 bot :SASL authentication failed for secret word (" + kPlainSecret + ")";

TEST_F(IrcSession, RegistrationConversations) {
  const struct {
    const char* name;
    SessionConfig config;
    Lines opening;
    std::vector<Step> steps;
    const char* finalNick;
    SessionAction last = SessionAction::kNone;
  } scripts[] = {
      {"CAP, a password, PING while registering and the nick fallback",
       {.nick = "bot", .password = "secret word", .channel = "#room"},
       {"CAP LS 302", "PASS :secret word", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{"PING :reg-1", {"PONG reg-1"}}, {":s CAP * LS * :multi-prefix sasl", {}},
        {":s CAP * LS :away-notify", {"CAP REQ :away-notify multi-prefix"}}, {":s CAP bot ACK :away-notify multi-prefix", {"CAP END"}},
        {":s 433 * bot :Nickname is already in use", {"NICK bot_"}}, {":s 437 * bot_ :unavailable", {"NICK bot__"}},
        {":s 433 * bot__ :in use", {"NICK bot1"}}, {":s 432 * bot1 :Erroneous", {"NICK bot2"}},
        {":s 001 bot2 :Welcome bot2!~wc@h", {"JOIN #room"}}, {":s PING :k", {"PONG k"}},
        {":s 433 bot2 bot :in use", {}}, {"ERROR :Closing link (bad password secret word)", {}}},
       "bot2", SessionAction::kReconnect},
      {"a server without CAP", {.nick = "bot", .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s 421 * CAP :Unknown command", {}}, {":s 001 bot :Welcome", {"JOIN #room"}}},
       "bot"},
      {"a nick too long for the server is shortened", {.nick = "wavecrest1", .channel = "#room"},
       {"CAP LS 302", "NICK wavecrest1", "USER wavecrest 0 * wavecrest"},
       {{":s 432 * wavecrest1 :Erroneous nickname", {"NICK wavecrest"}}, {":s 433 * wavecrest :in use", {"NICK wavecres_"}},
        {":s 001 wavecres_ :Welcome", {"JOIN #room"}}},
       "wavecres_"},
      {"SASL PLAIN, the password kept off PASS, and a refused set asked for again one by one",
       {.nick = "bot", .password = "secret word", .login = {"bot", "secret word"}, .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s CAP * LS :sasl=PLAIN,EXTERNAL account-tag draft/x", {"CAP REQ :account-tag sasl"}},
        {":s CAP * NAK :account-tag sasl", {"CAP REQ account-tag", "CAP REQ sasl"}},
        {":s CAP * NAK :account-tag", {}}, {":s CAP * ACK :sasl", {"AUTHENTICATE PLAIN"}},
        {"AUTHENTICATE +", {"AUTHENTICATE " + kPlainSecret}},
        {":s 900 bot bot!u@h bot :You are now logged in as bot", {}}, {":s 903 bot :SASL successful", {"CAP END"}},
        {":s 001 bot :Welcome", {"JOIN #room"}}},
       "bot"},
      {"SASL EXTERNAL by the certificate, where the server offers it",
       {.nick = "bot", .login = {.certificate = true}, .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s CAP * LS :sasl=EXTERNAL", {"CAP REQ sasl"}}, {":s CAP * ACK :sasl", {"AUTHENTICATE EXTERNAL"}},
        {"AUTHENTICATE +", {"AUTHENTICATE +"}}, {":s 903 bot :SASL successful", {"CAP END"}},
        {":s 001 bot :Welcome", {"JOIN #room"}}},
       "bot"},
      {"a certificate and no SASL EXTERNAL offered: on without the login",
       {.nick = "bot", .login = {.certificate = true}, .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s CAP * LS :sasl=PLAIN", {"CAP END"}}, {":s 001 bot :Welcome", {"JOIN #room"}}},
       "bot"},
      {"a wrong password: no CAP END, no JOIN, and a reconnect",
       {.nick = "bot", .login = {"bot", "secret word"}, .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s CAP * LS :sasl", {"CAP REQ sasl"}}, {":s CAP * ACK :sasl", {"AUTHENTICATE PLAIN"}},
        {"AUTHENTICATE +", {"AUTHENTICATE " + kPlainSecret}},
        {kRefusal.c_str(), {}}},
       nullptr, SessionAction::kReconnect},
      {"SASL wanted from a server that offers none",
       {.nick = "bot", .login = {"bot", "secret word"}, .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s CAP * LS :multi-prefix", {}}},
       nullptr, SessionAction::kReconnect},
      {"a capability list never finished: CAP END after 15 s, given up after 60 s",
       {.nick = "bot", .channel = "#room"},
       {"CAP LS 302", "NICK bot", "USER wavecrest 0 * wavecrest"},
       {{":s CAP * LS * :multi-prefix", {}, 1.0}, {nullptr, {}, 14.9}, {nullptr, {"CAP END"}, 15.0},
        {"PING :still-here", {"PONG still-here"}, 59.9}, {nullptr, {}, 60.0}},
       nullptr, SessionAction::kReconnect},
  };
  for (const auto& script : scripts) {
    SCOPED_TRACE(script.name);
    recorder = Recorder();
    Start(script.config);
    EXPECT_EQ(recorder.sent, script.opening);
    Run(script.steps);
    EXPECT_EQ(session->OnTick(script.steps.back().at), script.last);
    const Lines ownNick = script.finalNick ? Lines{std::string("nick ") + script.finalNick} : Lines{};
    EXPECT_EQ(recorder.events, ownNick);
    if (script.finalNick) {
      EXPECT_EQ(session->Nick(), script.finalNick);
    }
    EXPECT_FALSE(session->Joined());
    for (const std::string& problem : recorder.problems) {
      EXPECT_EQ(problem.find("secret"), std::string::npos) << problem;
      EXPECT_EQ(problem.find(kPlainSecret.substr(0, 8)), std::string::npos) << problem;
    }
    if (script.last == SessionAction::kReconnect) {
      EXPECT_FALSE(recorder.problems.empty()) << "the reason is said";
    }
  }
}

TEST_F(IrcSession, KickRejoinsAfterTenSecondsAndRefusedJoinsBackOffUnlessInvited) {
  Join({.channelKey = "k3y"});
  Run({{":op!o@h KICK #room bot :go away", {}, 100.0}, {nullptr, {}, 109.9}, {nullptr, {"JOIN #room k3y"}, 110.0},
       {":s 474 bot #room :Cannot join channel (+b)", {}, 110.0}, {nullptr, {}, 119.9}, {nullptr, {"JOIN #room k3y"}, 120.0},
       {":s 471 bot #room :Channel is full", {}, 120.0}, {nullptr, {}, 139.9}, {nullptr, {"JOIN #room k3y"}, 140.0},
       {":s 473 bot #room :Invite only", {}, 140.0}, {":op!o@h INVITE bot :#other", {}, 141.0},
       {":op!o@h INVITE bot :#Room", {"JOIN #room k3y"}, 142.0}, {nullptr, {}, 180.0},
       {":bot!~wc@h JOIN #room", {}, 180.0}, {":op!o@h INVITE bot :#room", {}, 181.0},
       {":op!o@h KICK #room bot :again", {}, 200.0}, {nullptr, {"JOIN #room k3y"}, 210.0}});
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

// Leaving: every line already said still leaves at the bucket's pace (a
// burst would be dropped by the server's flood control), and QUIT comes
// right after the last, not later; nothing said after the QUIT is sent.
TEST_F(IrcSession, QuitComesRightAfterTheLastLineAlreadySaid) {
  Join();
  for (int i = 1; i <= 7; ++i) session->Say("line " + std::to_string(i), 10.0);
  recorder.sent.clear();
  session->Quit("bye now", 10.0);
  EXPECT_FALSE(session->QuitSent());
  EXPECT_EQ(session->Say("after the goodbye", 10.0), 0u);
  double now = 10.0;
  while (!session->QuitSent() && now < 30.0) {
    now += session->NextWakeup(now);
    session->OnTick(now);
  }
  EXPECT_EQ(recorder.sent, (Lines{"PRIVMSG #room :line 5", "PRIVMSG #room :line 6", "PRIVMSG #room :line 7",
                                  "QUIT :bye now"}));
  EXPECT_NEAR(now, 13.0, 1e-6) << "the QUIT waits for no token of its own";
  session->OnLineReceived(":s PING :late", now);
  EXPECT_EQ(recorder.sent.back(), "QUIT :bye now") << "nothing after the QUIT";
}

TEST_F(IrcSession, LongLinesFitTheServersLineWithTheOwnPrefix) {
  std::string html = "<b>";
  for (int i = 0; i < 300; ++i) html += "word" + std::to_string(i) + " ";
  html += "</b>";
  for (const auto& [isupport, lineLength] :
       {std::pair<std::string, std::size_t>{"", 512}, {"CHANTYPES=# LINELEN=1024", 1024}}) {
    Join({}, "", isupport);
    recorder.sent.clear();
    const std::uint64_t ticket = session->Say(html, 1.0);
    for (double now = 1.0; session->LinesSent() < ticket && now < 20.0; now += 1.0) session->OnTick(now);
    ASSERT_GE(recorder.sent.size(), 2u);
    std::string visible;
    for (std::size_t i = 0; i < recorder.sent.size(); ++i) {
      const std::string& line = recorder.sent[i];
      const std::string received = ":bot!~wc@10.0.0.1 " + line + "\r\n";
      EXPECT_LE(received.size(), lineLength);
      if (i + 1 < recorder.sent.size()) {
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
