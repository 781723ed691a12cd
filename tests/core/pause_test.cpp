#include "core/pause.h"

#include "support/virtual_event_loop.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::VirtualEventLoop;

TEST(WaitSeconds, StartsFromTheRoundedSecond) {
  const struct {
    double start;
    double returnsAt;
  } cases[] = {
      {43200.4, 43201.0},  // starts rounded down to 12:00:00
      {43200.6, 43202.0},  // starts rounded up to 12:00:01
      {43200.5, 43201.0},  // a half goes to the even neighbour: 12:00:00
      {43201.5, 43203.0},  // … and here to 12:00:02
      {43200.0, 43201.0},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop(c.start);
    WaitSeconds(loop, 1);
    EXPECT_NEAR(loop.Now(), c.returnsAt, 1e-6) << c.start;
  }
}

TEST(WaitSeconds, EndsAcrossMidnight) {
  for (const double start : {86399.2, 86399.6, 86399.9}) {
    VirtualEventLoop loop(start);
    WaitSeconds(loop, 1);
    EXPECT_LT(loop.Now() - start, 2.0) << start;
    EXPECT_GE(loop.Now() - start, 0.5) << start;
  }
}

TEST(WaitSeconds, RunsEventsWhileWaitingWithoutSpinning) {
  VirtualEventLoop loop(43200.0);
  int ticks = 0;
  auto timer = loop.CreateTimer(std::chrono::milliseconds(100), [&] { ++ticks; });
  timer->SetEnabled(true);
  bool posted = false;
  loop.Post([&] { posted = true; });
  WaitSeconds(loop, 1);
  EXPECT_TRUE(posted);
  EXPECT_EQ(ticks, 10);
  // One pass per event and one for the posted task: a busy loop would take thousands.
  EXPECT_LE(loop.PassCount(), 15);
}

TEST(WaitSeconds, ANestedPauseInsideAPauseEndsBothInOrder) {
  VirtualEventLoop loop(43200.0);
  std::vector<std::string> order;
  loop.Post([&] {
    order.push_back("inner start");
    WaitSeconds(loop, 1);
    order.push_back("inner end");
  });
  WaitSeconds(loop, 1);
  order.push_back("outer end");
  EXPECT_EQ(order, (std::vector<std::string>{"inner start", "inner end", "outer end"}));
}

TEST(WaitSeconds, GivesUpAtOnceOnceTheProgramIsEnding) {
  VirtualEventLoop loop(43200.0);
  loop.Post([&] { loop.EndWaits(); });
  WaitSeconds(loop, 1);
  EXPECT_EQ(loop.Now(), 43200.0);
  WaitSeconds(loop, 1);
  EXPECT_EQ(loop.Now(), 43200.0);
}

}  // namespace
}  // namespace wavecrest
