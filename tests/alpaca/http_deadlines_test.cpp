// A request must arrive whole within its own deadline, much shorter than the time a keep-alive
// connection may wait for its next request: a slow sender cannot hold a connection for the
// idle time, and an idle client is not cut off for being idle.
#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "alpaca/http_server.h"

namespace tramox::alpaca::testing {
namespace {

using boost::asio::ip::tcp;

constexpr int kRequestSeconds = 1;
constexpr int kIdleSeconds = 30;

struct Outcome {
  bool closed = false;   // by the server, within the limit
  std::string received;  // until then
};

// What the server did within limit after what was sent; meanwhile(), if given, runs once the
// request is sent.
Outcome within(std::uint16_t port, const std::string& sent, std::chrono::seconds limit,
               const std::function<void()>& meanwhile = {}) {
  boost::asio::io_context io;
  tcp::socket socket(io);
  socket.connect({boost::asio::ip::make_address("127.0.0.1"), port});
  if (!sent.empty()) {
    boost::asio::write(socket, boost::asio::buffer(sent));
  }
  Outcome outcome;
  auto closed = std::async(std::launch::async, [&socket, &outcome] {
    char byte;
    boost::system::error_code error;
    while (!error) {
      if (socket.read_some(boost::asio::buffer(&byte, 1), error) == 1) {
        outcome.received += byte;
      }
    }
  });
  if (meanwhile) {
    meanwhile();
  }
  outcome.closed = closed.wait_for(limit) == std::future_status::ready;
  boost::system::error_code ignored;
  socket.shutdown(tcp::socket::shutdown_both, ignored);
  closed.wait();
  return outcome;
}

bool closedWithin(std::uint16_t port, const std::string& sent, std::chrono::seconds limit) {
  return within(port, sent, limit).closed;
}

TEST(HttpDeadlines, AHalfSentRequestIsCutOffLongBeforeAnIdleConnection) {
  RouteTable routes;
  HttpServerLimits limits;
  limits.requestSeconds = kRequestSeconds;
  limits.idleSeconds = kIdleSeconds;
  HttpServer server(routes, limits);
  server.start("127.0.0.1", 0);

  struct Case {
    const char* what;
    std::string sent;
    bool cutOff;
  };
  const Case cases[] = {
      {"half a head", "GET /api/v1/telescope/0/canpark HTTP/1.1\r\nHo", true},
      {"a head and part of its body",
       "PUT /api/v1/telescope/0/tracking HTTP/1.1\r\nHost: x\r\nContent-Length: 40\r\n\r\nTra",
       true},
      {"nothing yet (idle)", "", false},
  };
  // Well past the request's deadline, far short of the idle one.
  const auto limit = std::chrono::seconds(kRequestSeconds + 4);
  for (const Case& c : cases) {
    EXPECT_EQ(closedWithin(server.port(), c.sent, limit), c.cutOff) << c.what;
  }
  server.stop();
}

// Once answered, a keep-alive connection may stay idle for the idle time and no longer; while
// its answer is awaited it has no deadline at all (a synchronous slew takes minutes).
TEST(HttpDeadlines, AnAnsweredConnectionIdlesForTheIdleTimeOnlyOnceItsAnswerIsSent) {
  constexpr int kShortIdle = 1;
  std::mutex heldLock;
  Reply held;  // the slow route's reply, answered by the test
  RouteTable routes;
  routes.addExact("/slow", [&](const HttpRequest&, Reply reply) {
    const std::lock_guard lock(heldLock);
    held = std::move(reply);
  });
  HttpServerLimits limits;
  limits.idleSeconds = kShortIdle;
  HttpServer server(routes, limits);
  server.start("127.0.0.1", 0);

  const auto answerLate = [&] {
    std::this_thread::sleep_for(std::chrono::seconds(kShortIdle * 3));
    const std::lock_guard lock(heldLock);
    ASSERT_TRUE(held);
    const Reply reply = std::move(held);  // not to outlive the server
    reply(textResponse(200, "late"));
  };
  const auto request = [](const std::string& path) {
    return "GET " + path + " HTTP/1.1\r\nHost: x\r\n\r\n";
  };
  const auto limit = std::chrono::seconds(kShortIdle * 3 + 4);
  const Outcome quick = within(server.port(), request("/none"), limit);
  EXPECT_TRUE(quick.closed);
  EXPECT_NE(quick.received.find("404"), std::string::npos);
  const Outcome slow = within(server.port(), request("/slow"), limit, answerLate);
  EXPECT_TRUE(slow.closed);
  EXPECT_NE(slow.received.find("late"), std::string::npos) << slow.received;
  server.stop();
}

}  // namespace
}  // namespace tramox::alpaca::testing
