#include "alpaca/driver_host.h"
#include "alpaca/driver_host_loop.h"

namespace tramox::alpaca {

namespace {

class QueueLoop final : public DriverLoop {
 public:
  QueueLoop(DriverHost& host, WorkQueue& queue) : host_(host), queue_(queue) {}
  void run(const bool& quit) override {
    while (!quit) {
      queue_.waitForWork();
      host_.serveQueue();
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
