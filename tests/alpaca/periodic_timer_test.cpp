// The server's periodic work on its I/O threads: stopping it while they run leaves no tick.
#include <gtest/gtest.h>

#include <atomic>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <chrono>
#include <thread>
#include <vector>

#include "alpaca/periodic_timer.h"

namespace tramox::alpaca::testing {
namespace {

using std::chrono::milliseconds;

// Two threads on one context, as the HTTP server runs them.
struct IoThreads {
  IoThreads() {
    for (int i = 0; i < 2; ++i) {
      threads.emplace_back([this] {
        const auto work = boost::asio::make_work_guard(io);
        io.run();
      });
    }
  }
  ~IoThreads() {
    io.stop();
    for (std::thread& thread : threads) {
      thread.join();
    }
  }
  boost::asio::io_context io;
  std::vector<std::thread> threads;
};

TEST(PeriodicTimer, NoTickRunsOnceStoppedThoughTheThreadsGoOn) {
  IoThreads running;
  std::atomic<int> ticks{0};
  PeriodicTimer timer;
  timer.start(running.io, milliseconds(1), [&ticks] {
    ++ticks;
    std::this_thread::sleep_for(milliseconds(2));  // so the stop often comes mid-tick
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (ticks < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(1));
  }
  timer.stop();
  const int atStop = ticks;
  std::this_thread::sleep_for(milliseconds(20));
  EXPECT_GE(atStop, 3);
  EXPECT_EQ(ticks, atStop);
}

}  // namespace
}  // namespace tramox::alpaca::testing
