#include <chrono>

#include "alpaca/driver_host.h"
#include "alpaca/driver_host_loop.h"

namespace tramox::alpaca {

namespace {

// How long the thread looks for the next call after having served one, before it sleeps: a
// client that sends its next request as soon as it has the answer is back within this time on
// loopback, and then finds the thread awake instead of waiting for the scheduler to wake it.
constexpr std::chrono::microseconds kPollAfterServing{50};

class QueueLoop final : public DriverLoop {
 public:
  QueueLoop(DriverHost& host, WorkQueue& queue) : host_(host), queue_(queue) {}
  void run(const bool& quit) override {
    bool served = false;  // an idle server never polls
    while (!quit) {
      queue_.waitForWork(served ? kPollAfterServing : std::chrono::microseconds{});
      served = host_.serveQueue();
    }
  }
  // The queue wakes its own waiter.
  void wake() override {}

 private:
  DriverHost& host_;
  WorkQueue& queue_;
};

}  // namespace

std::unique_ptr<DriverLoop> makeDriverLoop(DriverHost& host, WorkQueue& queue) {
  return std::make_unique<QueueLoop>(host, queue);
}

}  // namespace tramox::alpaca
