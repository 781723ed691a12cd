// Post is the one call a worker thread may make on the event loop.
#include "support/virtual_event_loop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace wavecrest {
namespace {

TEST(EventLoopPost, TasksPostedFromManyThreadsEachRunOnceInTheirThreadsOrder) {
  testing::VirtualEventLoop loop;
  constexpr int kThreads = 4;
  constexpr int kTasks = 2000;
  std::vector<std::vector<int>> ran(kThreads);  // touched on the loop's thread only
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&loop, &ran, t] {
      for (int i = 0; i < kTasks; ++i) loop.Post([&ran, t, i] { ran[t].push_back(i); });
    });
  }
  // The loop runs while the workers post, as it would in the program.
  for (int pass = 0; pass < 100; ++pass) loop.RunUntilIdle();
  for (std::thread& worker : workers) worker.join();
  loop.RunUntilIdle();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(ran[t].size(), static_cast<std::size_t>(kTasks)) << "thread " << t;
    for (int i = 0; i < kTasks; ++i) ASSERT_EQ(ran[t][i], i) << "thread " << t;
  }
}

}  // namespace
}  // namespace wavecrest
