// What the server does for the mount's safety: stops reach the controller ahead of whatever
// waits, and leaving stops every motion the clients started before the controller is closed.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tests/alpaca/alpaca_server.h"
#include "tests/alpaca/journaled_server.h"

namespace tramox::alpaca::testing {
namespace {

using Clock = std::chrono::steady_clock;

HttpReply post(const AlpacaServer& server, const std::string& target, const std::string& json) {
  return server.raw("POST " + target + " HTTP/1.1\r\nHost: " + server.host() +
                    "\r\nConnection: close\r\nContent-Type: application/json\r\nContent-Length: " +
                    std::to_string(json.size()) + "\r\n\r\n" + json);
}

std::string axisRate(const AlpacaServer& server, int axis) {
  const auto rates = server.member("GET", "axisrates", "Axis=" + std::to_string(axis))["Value"];
  return "Axis=" + std::to_string(axis) +
         "&Rate=" + std::to_string(rates[0]["Maximum"].get<double>());
}

bool skipExternal() {
  return AlpacaServer::external();
}

// A slew, hand motion on one axis and a page's held button on the other, then SIGTERM at once
// (well inside the dead man's second): every motion is stopped before the controller closes,
// and the synchronous slew is answered.
TEST(AlpacaLeaving, StopsEveryMotionBeforeClosingTheControllerAndAnswersTheSlew) {
  if (skipExternal()) {
    GTEST_SKIP() << "stops a server of its own";
  }
  JournaledServer server("slew=1");
  server->member("PUT", "connected", "Connected=True");
  server->member("PUT", "moveaxis", axisRate(*server, 0));
  const double ra = server->member("GET", "siderealtime")["Value"].get<double>() + 2.0;
  const std::string goal =
      "RightAscension=" + std::to_string(std::fmod(ra, 24.0)) + "&Declination=-20";
  auto slew = std::async(std::launch::async,
                         [&] { return server->put(devicePath("slewtocoordinates"), goal); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  ASSERT_EQ(post(*server, "/paddle/event",
                 R"({"page":"leaving","action":"press","control":"ButtonNorth"})")
                .status,
            200);
  EXPECT_EQ(server->stop(), 0);
  ASSERT_EQ(slew.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  const HttpReply answered = slew.get();
  ASSERT_EQ(answered.status, 200);
  EXPECT_EQ(answered.json()["ErrorNumber"], 0);

  const auto lines = server.journal();
  const auto at = [&](const std::string& call) {
    return std::find(lines.rbegin(), lines.rend(), call) - lines.rbegin();
  };
  const auto lastMotion =
      std::find_if(lines.rbegin(), lines.rend(),
                   [](const std::string& l) { return l.rfind("MoveEngineDevice_DLL", 0) == 0; }) -
      lines.rbegin();
  const auto closed = at("CloseCodeursDevice_DLL");
  ASSERT_LT(closed, static_cast<long>(lines.size()));
  for (const char* stop :
       {"StopSlewing_TelescopeSeekerDevice_DLL", "StopTelescopeEngineDevice_DLL 1 0",
        "StopTelescopeEngineDevice_DLL 0 1"}) {
    // Counted from the end: after the last motion and before the close.
    EXPECT_GT(at(stop), closed) << stop;
    EXPECT_LT(at(stop), lastMotion) << stop;
  }
}

// Pages waiting for news hold the server's connections: each gets its answer, and the server
// ends cleanly, however many wait.
TEST(AlpacaLeaving, WaitingPagesAreAnsweredAndTheServerEndsCleanly) {
  if (skipExternal()) {
    GTEST_SKIP() << "stops a server of its own";
  }
  for (int pages : {0, 1, 50}) {
    AlpacaServer server;
    // Version 0 is a page that knows nothing yet; the first tick makes the state's own.
    nlohmann::json now = {{"version", 0}};
    for (int tries = 0; tries < 100 && now.value("version", 0) == 0; ++tries) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      now = server.get("/paddle/state?version=0&dialog=-1").json();
    }
    const std::string target =
        "/paddle/state?version=" + std::to_string(now["version"].get<int>()) +
        "&dialog=" + std::to_string(now["lastDialog"].get<int>());
    std::vector<std::future<HttpReply>> waiting;
    for (int i = 0; i < pages; ++i) {
      waiting.push_back(std::async(std::launch::async, [&] { return server.get(target); }));
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    for (auto& page : waiting) {
      EXPECT_EQ(page.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
    }
    EXPECT_EQ(server.stop(), 0) << pages << " pages";
    for (auto& page : waiting) {
      EXPECT_EQ(page.get().status, 200) << pages << " pages";
    }
  }
}

// Three settings writes wait on a lock another process holds; a stop asked after them is
// answered while they still wait.
TEST(AlpacaStops, AStopGoesAheadOfWritesWaitingForAnotherProcesssLock) {
  if (skipExternal()) {
    GTEST_SKIP() << "locks the settings of a server of its own";
  }
  AlpacaServer server;
  server.member("PUT", "connected", "Connected=True");
  struct Stop {
    const char* member;
    std::string parameters;
  };
  const std::vector<Stop> stops = {{"moveaxis", "Axis=0&Rate=0"}, {"abortslew", ""}};
  for (const Stop& stop : stops) {
    server.member("PUT", "moveaxis", axisRate(server, 0));
    const int lock = ::open((server.home() / "HKCU.reg.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    std::vector<std::future<nlohmann::json>> writes;
    for (int i = 0; i < 3; ++i) {
      writes.push_back(std::async(std::launch::async, [&, i] {
        return server.member("PUT", "sitelatitude", "SiteLatitude=" + std::to_string(40 + i));
      }));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto asked = Clock::now();
    EXPECT_EQ(server.member("PUT", stop.member, stop.parameters)["ErrorNumber"], 0) << stop.member;
    std::cout << stop.member << " answered after "
              << std::chrono::duration<double, std::milli>(Clock::now() - asked).count()
              << " ms behind three writes waiting for the lock\n";
    for (auto& write : writes) {
      EXPECT_EQ(write.wait_for(std::chrono::seconds(0)), std::future_status::timeout)
          << stop.member;
    }
    ::close(lock);
    for (auto& write : writes) {
      EXPECT_EQ(write.get()["ErrorNumber"], 0) << stop.member;
    }
  }
}

}  // namespace
}  // namespace tramox::alpaca::testing
