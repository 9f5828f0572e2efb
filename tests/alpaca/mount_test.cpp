// The mount through the Alpaca server on the simulated controller: slews, sync, guiding, axis
// motion, parking, the connection count and many clients during a synchronous slew.
#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <cmath>
#include <future>
#include <string>
#include <thread>

#include "tests/alpaca/alpaca_server.h"

namespace tramox::alpaca::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kArcsec = 1.0 / 3600.0;

class AlpacaMount : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new AlpacaServer("slew=20"); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    ok("PUT", "connected", "Connected=True");
    if (get("atpark").get<bool>()) {
      ok("PUT", "unpark");
    }
    ok("PUT", "tracking", "Tracking=True");
  }

  static AlpacaServer& server() { return *server_; }
  static nlohmann::json get(const std::string& name, const std::string& parameters = "") {
    return server().member("GET", name, parameters)["Value"];
  }
  // The member must succeed.
  static nlohmann::json ok(const std::string& method, const std::string& name,
                           const std::string& parameters = "") {
    const nlohmann::json answer = server().member(method, name, parameters);
    EXPECT_EQ(answer["ErrorNumber"], 0) << name << ": " << answer["ErrorMessage"];
    return answer;
  }
  static bool waitWhile(const std::string& flag, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (get(flag).get<bool>()) {
      if (Clock::now() > deadline) {
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
  }
  // A target two hours east of the meridian, reachable from anywhere in a few seconds.
  static std::string target(double decDegrees, double& raHours) {
    raHours = std::fmod(get("siderealtime").get<double>() + 2.0 + 24.0, 24.0);
    return "RightAscension=" + std::to_string(raHours) +
           "&Declination=" + std::to_string(decDegrees);
  }
  static void expectPointingAt(double raHours, double decDegrees) {
    const double dec = get("declination").get<double>();
    double dRa = std::remainder(get("rightascension").get<double>() - raHours, 24.0) * 15.0;
    EXPECT_LT(std::abs(dRa * std::cos(decDegrees * M_PI / 180.0)), 10 * kArcsec);
    EXPECT_LT(std::abs(dec - decDegrees), 10 * kArcsec);
  }

  // A park position a quarter turn of declination away from where the mount then is: at 20°/s
  // the park motion takes several seconds.
  static void startALongPark() {
    double ra = 0;
    ok("PUT", "synctocoordinates", target(60, ra));
    ok("PUT", "setpark");
    ok("PUT", "synctocoordinates", target(-30, ra));
    const auto started = Clock::now();
    ok("PUT", "park");
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(1));
  }

 private:
  static AlpacaServer* server_;
};
AlpacaServer* AlpacaMount::server_ = nullptr;

TEST_F(AlpacaMount, AsynchronousSlewEndsOnTarget) {
  double ra = 0;
  ok("PUT", "slewtocoordinatesasync", target(30, ra));
  EXPECT_TRUE(get("slewing").get<bool>());
  ASSERT_TRUE(waitWhile("slewing", 30));
  expectPointingAt(ra, 30);
}

TEST_F(AlpacaMount, SyncMakesThePositionTheGivenOne) {
  double ra = 0;
  ok("PUT", "synctocoordinates", target(45, ra));
  expectPointingAt(ra, 45);
}

TEST_F(AlpacaMount, PulseGuideRunsForItsDuration) {
  ok("PUT", "pulseguide", "Direction=0&Duration=600");
  EXPECT_TRUE(get("ispulseguiding").get<bool>());
  EXPECT_TRUE(waitWhile("ispulseguiding", 3));
}

TEST_F(AlpacaMount, MoveAxisAtAnAdvertisedRateThenStop) {
  const nlohmann::json rates = get("axisrates", "Axis=0");
  ASSERT_FALSE(rates.empty());
  ok("PUT", "moveaxis", "Axis=0&Rate=" + std::to_string(rates[0]["Maximum"].get<double>()));
  EXPECT_TRUE(get("slewing").get<bool>());
  ok("PUT", "moveaxis", "Axis=0&Rate=0");
  EXPECT_TRUE(waitWhile("slewing", 2));
}

// Another client polls: never parked while slewing, and parked soon after the motion ends.
TEST_F(AlpacaMount, ParkIsReportedOnlyOnceTheMountHasArrived) {
  startALongPark();
  auto lastSlewing = Clock::now();
  bool atPark = false;
  for (int poll = 0; poll < 300 && !atPark; ++poll) {
    atPark = get("atpark", "ClientID=2").get<bool>();
    const bool slewing = get("slewing", "ClientID=2").get<bool>();
    EXPECT_FALSE(atPark && slewing);
    if (slewing) {
      lastSlewing = Clock::now();
    }
    EXPECT_TRUE(poll > 0 || !atPark) << "parked at once";
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(atPark);
  EXPECT_LT(Clock::now() - lastSlewing, std::chrono::seconds(1));
  ok("PUT", "unpark");
  EXPECT_FALSE(get("atpark").get<bool>());
}

TEST_F(AlpacaMount, AbortSlewFromAnotherClientStopsTheParkUnparked) {
  startALongPark();
  EXPECT_TRUE(get("slewing").get<bool>());
  ok("PUT", "abortslew", "ClientID=2");
  EXPECT_FALSE(get("slewing").get<bool>());
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(get("atpark").get<bool>());
  ok("PUT", "tracking", "Tracking=True");
  // Away from where the next tests slew, so that their slews take time.
  double ra = 0;
  ok("PUT", "synctocoordinates", target(60, ra));
}

TEST_F(AlpacaMount, MountStaysConnectedWhileAnyClientHoldsIt) {
  ok("PUT", "connected", "Connected=False");  // the anonymous client of SetUp
  ok("PUT", "connected", "Connected=True&ClientID=11");
  ok("PUT", "connected", "Connected=True&ClientID=12");
  ok("PUT", "connected", "Connected=False&ClientID=11");
  EXPECT_TRUE(get("connected").get<bool>());
  ok("PUT", "connected", "Connected=False&ClientID=12");
  EXPECT_FALSE(get("connected").get<bool>());
}

TEST_F(AlpacaMount, OtherClientsAreAnsweredDuringASynchronousSlew) {
  double ra = 0;
  const std::string goal = target(-20, ra);
  const auto started = Clock::now();
  auto slew = std::async(std::launch::async,
                         [&] { return server().member("PUT", "slewtocoordinates", goal); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  for (const char* member : {"slewing", "rightascension", "declination", "canpark"}) {
    EXPECT_EQ(server().member("GET", member)["ErrorNumber"], 0) << member;
  }
  // Answered while the slew still runs, not once it has ended.
  EXPECT_TRUE(get("slewing").get<bool>());
  ASSERT_EQ(slew.wait_for(std::chrono::seconds(0)), std::future_status::timeout);
  ok("PUT", "abortslew");
  ASSERT_EQ(slew.wait_for(std::chrono::seconds(2)), std::future_status::ready);
  EXPECT_EQ(slew.get()["ErrorNumber"], 0);
  EXPECT_GT(Clock::now() - started, std::chrono::milliseconds(300));
}

TEST_F(AlpacaMount, ClientLeavingDuringASynchronousSlewLeavesTheSlewToEnd) {
  double ra = 0;
  const std::string goal = target(10, ra);
  {
    boost::asio::io_context io;
    boost::asio::ip::tcp::socket socket(io);
    socket.connect({boost::asio::ip::make_address(server().host()), server().port()});
    const std::string request = "PUT " + devicePath("slewtocoordinates") +
                                " HTTP/1.1\r\nHost: x\r\nContent-Type: "
                                "application/x-www-form-urlencoded\r\nContent-Length: " +
                                std::to_string(goal.size()) + "\r\n\r\n" + goal;
    boost::asio::write(socket, boost::asio::buffer(request));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  ASSERT_TRUE(waitWhile("slewing", 30));
  expectPointingAt(ra, 10);
  ok("PUT", "tracking", "Tracking=True");
}

TEST(AlpacaShutdown, StopRequestDisconnectsAndEndsTheServerPromptly) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "stops a server of its own";
  }
  AlpacaServer server;
  server.member("PUT", "connected", "Connected=True");
  const auto asked = Clock::now();
  EXPECT_EQ(server.stop(), 0);
  EXPECT_LT(Clock::now() - asked, std::chrono::seconds(5));
}

}  // namespace
}  // namespace tramox::alpaca::testing
