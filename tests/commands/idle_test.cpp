#include "commands/idle.h"

#include "support/scenario.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::Scenario;
using Lines = std::vector<std::string>;

TEST(IdleTimeText, PadsMinutesOnly) {
  const struct {
    const char* hours;
    const char* minutes;
    const char* text;
  } cases[] = {{"0", "5", "0:05"}, {"1", "15", "1:15"}, {"0", "9", "0:09"}, {"0", "10", "0:10"}, {"12", "0", "12:00"}};
  for (const auto& c : cases) EXPECT_EQ(IdleTimeText(c.hours, c.minutes), c.text);
}

TEST(Idle, SixtyFiveMinutesThenOffThenAgain) {
  Scenario s;
  s.MemberSays("idle BRB");
  s.Wait(65 * 60);
  s.MemberSays("idleoff");
  auto bodies = s.TakeBodies();
  ASSERT_EQ(bodies.size(), 67u);
  EXPECT_EQ(bodies.front(), "> dj is going <b>idle</b> ");
  EXPECT_EQ(bodies[1], "> wavecr<u>e</u>st - idle: <b>0:01</b> - reason: <b>brb</b> ");
  EXPECT_EQ(bodies[9], "> wavecr<u>e</u>st - idle: <b>0:09</b> - reason: <b>brb</b> ");
  EXPECT_EQ(bodies[10], "> wavecr<u>e</u>st - idle: <b>0:10</b> - reason: <b>brb</b> ");
  EXPECT_EQ(bodies[60], "> wavecr<u>e</u>st - idle: <b>1:00</b> - reason: <b>brb</b> ");
  EXPECT_EQ(bodies[65], "> wavecr<u>e</u>st - idle: <b>1:05</b> - reason: <b>brb</b> ");
  EXPECT_EQ(bodies[66], "> <b>idle</b> off, dj idled for <b>1:05</b> ");

  s.MemberSays("idle lunch");
  s.Wait(60);
  EXPECT_EQ(s.TakeBodies(), (Lines{"> dj is going <b>idle</b> ",
                                   "> wavecr<u>e</u>st - idle: <b>0:01</b> - reason: <b>lunch</b> "}));
}

TEST(Idle, IgnoredInTheOtherState) {
  Scenario s;
  s.MemberSays("idleoff");       // not idle
  s.MemberSays("idle");          // no reason
  s.MemberSays("idle    ");      // blank reason
  EXPECT_TRUE(s.TakeBodies().empty());
  EXPECT_FALSE(s.bot().tmrIdle->Enabled());
  s.MemberSays("idle brb");
  s.MemberSays("idle other");    // already idle: first reason stays
  s.MemberSays("idleoff now");   // exact form only
  EXPECT_EQ(s.TakeBodies(), (Lines{"> dj is going <b>idle</b> "}));
  EXPECT_EQ(s.bot().form1.lblReason, "brb");
  EXPECT_TRUE(s.bot().tmrIdle->Enabled());
}

// On a network the member's away reason is the idle reason, until idleoff.
TEST(Idle, SetsTheAwayReasonAndClearsIt) {
  Scenario s;
  s.MemberSays("idle Gone Fishing");
  s.MemberSays("idle other");
  s.MemberSays("idleoff");
  s.MemberSays("idleoff");
  EXPECT_EQ(s.t.chat.away, (Lines{"gone fishing", ""}));
}

TEST(Idle, CountsAreUpdatedBeforeTheReplyIsSent) {
  Scenario s;
  s.MemberSays("idle brb");
  std::vector<std::string> minutesSeenBySend;
  s.t.chat.onSend = [&] { minutesSeenBySend.push_back(s.bot().form1.lblMins); };
  s.Wait(59.9);
  EXPECT_TRUE(minutesSeenBySend.empty());
  s.Wait(60.2);
  EXPECT_EQ(minutesSeenBySend, (Lines{"1", "2"}));
}

}  // namespace
}  // namespace wavecrest
