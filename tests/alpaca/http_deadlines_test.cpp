// A request must arrive whole within its own deadline, much shorter than the time a keep-alive
// connection may wait for its next request: a slow sender cannot hold a connection for the
// idle time, and an idle client is not cut off for being idle.
#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <chrono>
#include <future>
#include <string>

#include "alpaca/http_server.h"

namespace tramox::alpaca::testing {
namespace {

using boost::asio::ip::tcp;

constexpr int kRequestSeconds = 1;
constexpr int kIdleSeconds = 30;

// Whether the server closed the connection within limit after what was sent.
bool closedWithin(std::uint16_t port, const std::string& sent, std::chrono::seconds limit) {
  boost::asio::io_context io;
  tcp::socket socket(io);
  socket.connect({boost::asio::ip::make_address("127.0.0.1"), port});
  if (!sent.empty()) {
    boost::asio::write(socket, boost::asio::buffer(sent));
  }
  auto closed = std::async(std::launch::async, [&socket] {
    char byte;
    boost::system::error_code error;
    while (!error) {
      socket.read_some(boost::asio::buffer(&byte, 1), error);
    }
  });
  const bool answer = closed.wait_for(limit) == std::future_status::ready;
  boost::system::error_code ignored;
  socket.shutdown(tcp::socket::shutdown_both, ignored);
  closed.wait();
  return answer;
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

}  // namespace
}  // namespace tramox::alpaca::testing
