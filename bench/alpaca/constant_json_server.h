#pragma once
// The yardstick for the Alpaca server's throughput: the least a Boost.Beast server can do
// (keep-alive, a constant JSON body, no routing, no driver), with as many I/O threads as the
// Alpaca server runs by default.
#include <cstdint>
#include <memory>

namespace tramox::alpaca::bench {

class ConstantJsonServer {
 public:
  // Listens on a free loopback port at once.
  ConstantJsonServer();
  ~ConstantJsonServer();
  ConstantJsonServer(const ConstantJsonServer&) = delete;
  ConstantJsonServer& operator=(const ConstantJsonServer&) = delete;

  std::uint16_t port() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tramox::alpaca::bench
