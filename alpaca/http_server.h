#pragma once
// The HTTP/1.1 server under the Alpaca API: a few I/O threads, limits that keep a slow or
// hostile client from holding resources, and nothing else. What to answer is the route
// table's business; a handler may answer later from another thread (a call waiting for the
// driver holds no I/O thread).
#include <cstdint>
#include <memory>
#include <string>

#include "alpaca/asio_forward.h"
#include "alpaca/browser_origin.h"
#include "alpaca/connection_limits.h"
#include "alpaca/route_table.h"

namespace tramox::alpaca {

struct HttpServerLimits {
  std::size_t headerBytes = 8 * 1024;  // request line and headers
  std::size_t bodyBytes = 64 * 1024;
  int idleSeconds = 30;     // between two requests, before the first byte of the next
  int requestSeconds = 10;  // from a request's first byte to its last
  int ioThreads = 2;
  ConnectionCaps connections;
};

class HttpServer {
 public:
  // routes must outlive the server; origins say which web pages may send commands.
  HttpServer(const RouteTable& routes, HttpServerLimits limits = {},
             OriginRule origins = localOriginRule());
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  // Binds and starts serving; port 0 picks a free port. Throws std::runtime_error with the
  // reason when the address cannot be bound.
  void start(const std::string& bindAddress, std::uint16_t port);
  // The port actually bound.
  std::uint16_t port() const;
  // Stops accepting, closes the connections and joins the I/O threads. Replies that arrive
  // later are dropped.
  void stop();
  // What the I/O threads run, for the server's other work (the pages' tick, discovery): there
  // from construction, run from start to stop. That work is stopped before the server goes.
  boost::asio::io_context& ioContext();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tramox::alpaca
