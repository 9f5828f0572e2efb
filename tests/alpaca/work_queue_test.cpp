// The driver thread's queue: stops first, and nested inside a call's wait only calls that do
// not wait themselves.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "alpaca/work_queue.h"

namespace tramox::alpaca::testing {
namespace {

struct Taken {
  std::vector<std::string> names;
  WorkQueue::Item item(const std::string& name, bool mayWait, bool stop) {
    return {[this, name] { names.push_back(name); }, mayWait, stop};
  }
};

bool runNext(WorkQueue& queue, bool nested) {
  auto item = queue.take(nested);
  if (item) {
    item->work();
  }
  return item.has_value();
}

TEST(WorkQueue, StopsGoFirstAndANestedTakeLeavesCallsThatWait) {
  WorkQueue queue;
  Taken taken;
  queue.push(taken.item("slew", true, false));
  queue.push(taken.item("read", false, false));
  queue.push(taken.item("abort", false, true));
  queue.push(taken.item("second slew", true, false));
  EXPECT_TRUE(runNext(queue, true));
  EXPECT_TRUE(runNext(queue, true));
  EXPECT_FALSE(runNext(queue, true));
  EXPECT_EQ(taken.names, (std::vector<std::string>{"abort", "read"}));
  EXPECT_TRUE(runNext(queue, false));
  EXPECT_TRUE(runNext(queue, false));
  EXPECT_EQ(taken.names, (std::vector<std::string>{"abort", "read", "slew", "second slew"}));
}

TEST(WorkQueue, CloseWakesAWaiterAndDropsLaterPushes) {
  WorkQueue queue;
  std::thread waiter([&] { queue.waitForWork(); });
  queue.close();
  waiter.join();
  Taken taken;
  queue.push(taken.item("late", false, true));
  EXPECT_FALSE(queue.take(false));
  EXPECT_FALSE(queue.takeStop());
}

// Calls one at a time, as a single client sends them: past the first few the waiter polls
// before it sleeps, and must still see every call, and the close.
TEST(WorkQueue, APollingWaiterTakesEveryCallAndEndsOnClose) {
  constexpr int kCalls = 20;
  WorkQueue queue;
  std::atomic<int> done{0};
  std::thread waiter([&] {
    for (;;) {
      queue.waitForWork(std::chrono::milliseconds(5));
      auto item = queue.take(false);
      if (!item) {
        return;
      }
      item->work();
    }
  });
  for (int i = 0; i < kCalls; ++i) {
    queue.push({[&] { ++done; }, false, false});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (done == i && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::yield();
    }
  }
  queue.close();
  waiter.join();
  EXPECT_EQ(done, kCalls);
}

}  // namespace
}  // namespace tramox::alpaca::testing
