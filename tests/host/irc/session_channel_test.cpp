// Who said what in the channel and to us, who is there, and the answers a
// client gives by itself.
#include "host/irc/session_transcript.h"

namespace wavecrest::irc {
namespace {

struct Said {
  const char* serverLine;
  Lines events;
  Lines sent = {};
};

// Each server line, then a tick, gives exactly these events and lines sent.
void Expect(Recorder& recorder, Session& session, const std::vector<Said>& script, double at = 1.0) {
  for (const Said& s : script) {
    recorder.events.clear();
    recorder.sent.clear();
    session.OnLineReceived(s.serverLine, at);
    session.OnTick(at);
    EXPECT_EQ(recorder.events, s.events) << s.serverLine;
    EXPECT_EQ(recorder.sent, s.sent) << s.serverLine;
  }
}

TEST_F(IrcSession, TheChannelItsPeopleAndTheMask) {
  Join({.ownerMask = "owner!*@trusted.host"});
  Expect(recorder, *session, {
      {":owner!o@trusted.host PRIVMSG #room :\x02p\x02 echo", {"line owner|p echo|\x02p\x02 echo|message|mask ok"}},
      {":owner!o@evil.host PRIVMSG #Room :p x", {"line owner|p x|p x|message|mask fails"}},
      {":owner!o@trusted.host PRIVMSG #room :\x01" "ACTION waves\x01", {"line owner|waves|waves|action|mask ok"}},
      {":owner!o@trusted.host NOTICE #room :note", {"line owner|note|note|notice|mask ok"}},
      {":x!x@h PRIVMSG #room :\x1B[2Jhi\x07", {"line x|[2Jhi|[2Jhi|message|mask fails"}},
      {":own\x01" "er!o@trusted.host PRIVMSG #room :vol 45", {"line owner|vol 45|vol 45|message|mask fails"}},
      {":owner!o@trusted.host NOTICE #room :\x01PING 1\x01", {}},
      {":owner!o@trusted.host PRIVMSG #other :elsewhere", {}},
      {":bot!~wc@10.0.0.1 PRIVMSG #room :our own, without a bouncer", {}},
      {":Joe!j@h JOIN #room", {"people bot,op,Joe"}},
      {":joe!j@h NICK Jim", {"people bot,op,Jim"}},
      {":Jim!j@h PART #room :later", {"people bot,op"}},
      {":Kim!k@h JOIN #room", {"people bot,op,Kim"}},
      {":op!o@h KICK #room Kim :out", {"people bot,op"}},
      {":op!o@h QUIT :bye", {"people bot"}},
      {":nobody!n@h QUIT :bye", {}},
      {":bot!~wc@10.0.0.1 NICK bot_", {"nick bot_", "people bot_"}, {"ISON bot"}},
      {":s 353 bot_ @ #room :@+a %b ~c bot_ d!u@h", {}},
      {":s 366 bot_ #room :End", {"people a,b,c,bot_,d"}},
  });
  EXPECT_TRUE(recorder.problems.empty());
}

// The server's CASEMAPPING decides who is who: under ascii, bot{1} leaving
// is not bot[1] leaving.
TEST_F(IrcSession, NamesCompareByTheServersCaseMapping) {
  Join({}, "", "CASEMAPPING=ascii");
  Expect(recorder, *session, {
      {":bot[1]!u@h JOIN #room", {"people bot,op,bot[1]"}},
      {":bot{1}!u@h JOIN #room", {"people bot,op,bot[1],bot{1}"}},
      {":bot{1}!u@h PART #room", {"people bot,op,bot[1]"}},
      {":BOT!b@h PRIVMSG #room :our own: A-Z fold under ascii too", {}},
  });
  Join({}, "", "CASEMAPPING=rfc1459");
  Expect(recorder, *session, {
      {":bot[1]!u@h JOIN #room", {"people bot,op,bot[1]"}},
      {":bot{1}!u@h JOIN #room", {}},
      {":bot{1}!u@h PART #room", {"people bot,op"}},
  });
}

TEST_F(IrcSession, AccountsAsTheServerVouchesForThem) {
  const struct {
    const char* name;
    const char* capabilities;
    const char* isupport;
    std::vector<Said> script;
  } cases[] = {
      {"account-tag on each line", "account-tag", "",
       {{"@account=dj :other!o@h PRIVMSG #room :vol 1", {"line other|vol 1|vol 1|message|account dj"}},
        {":dj!o@h PRIVMSG #room :vol 2", {"line dj|vol 2|vol 2|message"}}}},
      {"extended-join and account-notify", "account-notify extended-join", "",
       {{":Al!a@h JOIN #room dj :Real Name", {"people bot,op,Al"}},
        {":al!a@h PRIVMSG #room :vol 1", {"line al|vol 1|vol 1|message|account dj"}},
        {"@account=forged :al!a@h PRIVMSG #room :vol 2", {"line al|vol 2|vol 2|message|account dj"}},
        {":Al!a@h ACCOUNT *", {}},
        {":al!a@h PRIVMSG #room :vol 3", {"line al|vol 3|vol 3|message"}},
        {":Al!a@h NICK Bo", {"people bot,op,Bo"}},
        {":Bo!a@h ACCOUNT dj", {}},
        {":Bo!a@h PRIVMSG #room :vol 4", {"line Bo|vol 4|vol 4|message|account dj"}}}},
      {"WHOX at join", "", "WHOX",
       {{":s 354 bot 152 op dj", {}}, {":s 354 bot 999 op eve", {}},
        {":op!o@h PRIVMSG #room :vol 5", {"line op|vol 5|vol 5|message|account dj"}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    recorder = Recorder();
    Join({.ownerAccount = "dj"}, c.capabilities, c.isupport);
    Expect(recorder, *session, c.script);
    EXPECT_TRUE(recorder.problems.empty()) << recorder.problems.front();
  }
  // WHO is asked only where it can tell accounts and no tag does; a server
  // that can tell none says so.
  recorder = Recorder();
  Start({.nick = "bot", .channel = "#room", .ownerAccount = "dj"});
  Run({{":s 001 bot :Welcome", {"JOIN #room"}}, {":s 005 bot WHOX :are supported", {}},
       {":bot!~wc@h JOIN #room", {"WHO #room %tna,152"}}});
  Join({.ownerAccount = "dj"});
  ASSERT_EQ(recorder.problems.size(), 1u);
  EXPECT_NE(recorder.problems[0].find("nobody's lines are obeyed"), std::string::npos) << recorder.problems[0];
}

// Behind a bouncer our own nick's lines from the other clients are the
// member's; with echo-message our own lines come back and are not.
TEST_F(IrcSession, OurOwnIdentityOnAnotherClient) {
  const Lines ours = {"line bot|p echo|p echo|message|own identity"};
  for (const auto& [capabilities, echoed] : {std::pair<const char*, Lines>{"znc.in/self-message", ours},
                                             {"echo-message", {}}}) {
    SCOPED_TRACE(capabilities);
    Join({}, capabilities);
    session->Say("p echo", 1.0);
    Expect(recorder, *session, {
        {":bot!~wc@10.0.0.1 PRIVMSG #room :p echo", echoed},
        {":bot!~wc@10.0.0.1 PRIVMSG #room :next", {"line bot|next|next|message|own identity"}},
        {":bot!~wc@10.0.0.1 PRIVMSG someone :a private line of ours", {}},
    });
  }
}

// A bouncer plays back what was said while no client was there, stamped
// with when it was said: those lines are history, never commands now.
TEST_F(IrcSession, LinesStampedFromBeforeWeCameAreHistory) {
  Join({}, "server-time");
  Expect(recorder, *session, {
      {"@time=2026-12-06T11:59:50.250Z :owner!o@h PRIVMSG #room :vol 1", {"line owner|vol 1|vol 1|message"}},
      {"@time=2026-12-05T21:46:04Z :owner!o@h PRIVMSG #room :exit", {}},
      {"@time=nonsense :owner!o@h PRIVMSG #room :vol 2", {"line owner|vol 2|vol 2|message"}},
      {":owner!o@h PRIVMSG #room :vol 3", {"line owner|vol 3|vol 3|message"}},
  });
}

TEST_F(IrcSession, PrivateLinesAreShownAndCtcpAndHelpAnsweredOnceEveryTwoSeconds) {
  Join();
  const struct {
    double at;
    const char* serverLine;
    Lines events;
    Lines sent;
  } script[] = {
      {1.0, ":eve!e@h PRIVMSG bot :\x01VERSION\x01", {}, {"NOTICE eve :\x01VERSION wavecrest\x01"}},
      {1.5, ":eve!e@h PRIVMSG bot :\x01TIME\x01", {}, {}},
      {3.0, ":eve!e@h PRIVMSG #room :\x01TIME\x01", {}, {"NOTICE eve :\x01TIME Sun Dec 06 12:00:00 2026\x01"}},
      {5.0, ":eve!e@h PRIVMSG bot :\x01PING 12\x07" "3\x01", {}, {"NOTICE eve :\x01PING 123\x01"}},
      {7.0, ":eve!e@h PRIVMSG bot :\x01" "CLIENTINFO\x01", {}, {"NOTICE eve :\x01" "CLIENTINFO ACTION CLIENTINFO PING SOURCE TIME VERSION\x01"}},
      {9.0, ":eve!e@h PRIVMSG bot :\x01" "FINGER\x01", {}, {}},
      {9.1, ":eve!e@h NOTICE bot :\x01VERSION other\x01", {}, {}},
      {11.0, ":eve!e@h PRIVMSG bot :hello \x02there\x02", {"private eve|hello there|hello \x02there\x02|message"}, {}},
      {11.5, ":NickServ!s@services NOTICE bot :You are now identified", {"private NickServ|You are now identified|You are now identified|notice"}, {}},
      {12.0, ":irc.server NOTICE bot :*** server notice", {}, {}},
      {13.0, ":eve!e@h PRIVMSG bot :HELP", {"private eve|HELP|HELP|message"}, {"NOTICE eve :commands: p next"}},
      {14.0, ":eve!e@h PRIVMSG bot :help p", {"private eve|help p|help p|message"}, {}},
      {15.0, ":eve!e@h PRIVMSG bot :help p", {"private eve|help p|help p|message"}, {"NOTICE eve :p x [play a song]"}},
      {17.0, ":e\x01ve!e@h PRIVMSG bot :\x01VERSION\x01", {}, {}},
  };
  for (const auto& s : script) {
    recorder.events.clear();
    recorder.sent.clear();
    session->OnLineReceived(s.serverLine, s.at);
    EXPECT_EQ(recorder.events, s.events) << s.serverLine;
    EXPECT_EQ(recorder.sent, s.sent) << s.serverLine;
  }
  EXPECT_EQ(recorder.helpAsked, "p");
}

TEST_F(IrcSession, TheWantedNickIsTakenBackOnceItIsFree) {
  const struct {
    const char* name;
    const char* isupport;
    std::vector<Step> steps;
  } cases[] = {
      {"MONITOR", "MONITOR=100",
       {{nullptr, {"MONITOR + bot"}}, {":s 730 bot_ :bot!u@h", {}}, {":s 731 bot_ :other,bot", {"NICK bot"}},
        {":s 433 bot_ bot :taken again", {}}, {":s 731 bot_ :bot", {"NICK bot"}},
        {":bot_!~wc@h NICK :bot", {"MONITOR - bot"}}}},
      {"ISON every minute, and the holder's QUIT", "",
       {{nullptr, {"ISON bot"}, 10.0}, {":s 303 bot_ :bot", {}, 10.0}, {nullptr, {}, 69.9},
        {nullptr, {"ISON bot"}, 70.0}, {":s 303 bot_ :", {"NICK bot"}, 70.0}, {":s 433 bot_ bot :in use", {}, 71.0},
        {":bot!h@h QUIT :gone", {"NICK bot"}, 72.0}, {":bot_!~wc@h NICK bot", {}, 72.0}, {nullptr, {}, 100.0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    recorder = Recorder();
    Start({.nick = "bot", .channel = "#room"});
    Run({{":s 433 * bot :in use", {"NICK bot_"}}, {":s 001 bot_ :Welcome", {"JOIN #room"}}});
    if (*c.isupport) session->OnLineReceived(std::string(":s 005 bot_ ") + c.isupport + " :ok", 0.0);
    session->OnLineReceived(":bot_!~wc@h JOIN #room", 0.0);
    Run(c.steps);
    EXPECT_EQ(session->Nick(), "bot");
    EXPECT_EQ(recorder.problems.size(), 1u) << "only the fallback is said";
  }
}

TEST_F(IrcSession, AwayIsSetAndKeptForTheNextConnection) {
  Start({.nick = "bot", .channel = "#room"});
  session->SetAway("lunch");
  Run({{":s 001 bot :Welcome", {"AWAY lunch", "JOIN #room"}}});
  recorder.sent.clear();
  session->SetAway("");
  session->SetAway("a long break");
  EXPECT_EQ(recorder.sent, (Lines{"AWAY", "AWAY :a long break"}));
  session->OnDisconnected(5.0);
  session->OnConnected(6.0);
  Run({{":s 001 bot :Welcome", {"AWAY :a long break", "JOIN #room"}, 6.0}});
}

}  // namespace
}  // namespace wavecrest::irc
