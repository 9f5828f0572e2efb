// Leaving while a synchronous slew runs: the stop reaches the mount inside the slew, what was
// still queued is dropped, the last call runs once the slew has returned, and the driver
// object goes with the thread.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <string>
#include <vector>

#include "alpaca/driver_host.h"
#include "tests/alpaca/fake_backend.h"

namespace tramox::alpaca::testing {
namespace {

TEST(DriverHost, StopRunsTheStopsInsideASlewThenTheLastCallAfterIt) {
  FakeDriver driver;
  DriverHost host(fakeBackendFactory(driver));
  std::string why;
  ASSERT_TRUE(host.start(why)) << why;

  std::vector<std::string> order;  // written on the driver thread only
  std::atomic<bool> aborted{false};
  std::promise<void> slewing;
  host.post(
      [&](DriverAccess&) {
        order.push_back("slew");
        slewing.set_value();
        while (!aborted) {
          host.sleepServing(5);
        }
        order.push_back("slew returns");
      },
      true);
  slewing.get_future().wait();
  host.post([&](DriverAccess&) { order.push_back("second slew"); }, true);
  host.stop(
      [&](DriverAccess&) {
        order.push_back("stop");
        aborted = true;
      },
      [&](DriverAccess& access) {
        order.push_back(access.driver ? "last" : "last without a driver");
      });

  EXPECT_EQ(order, (std::vector<std::string>{"slew", "stop", "slew returns", "last"}));
  EXPECT_TRUE(driver.released);
}

}  // namespace
}  // namespace tramox::alpaca::testing
