#pragma once
// Alpaca discovery: answers "alpacadiscovery1" datagrams on the discovery port with the HTTP
// port, on IPv4 (broadcast and unicast) and on the IPv6 multicast group ff12::a1:9aca. Only
// senders that could reach the HTTP server are answered: a server bound to loopback stays
// invisible to the network.
#include <cstdint>
#include <memory>
#include <string>

#include "alpaca/asio_forward.h"

namespace tramox::alpaca {

inline constexpr const char* kDiscoveryMessage = "alpacadiscovery1";
inline constexpr const char* kDiscoveryGroup = "ff12::a1:9aca";

// Whether a datagram from sender may learn of a server bound to httpBind.
bool couldReach(const std::string& httpBind, const std::string& sender);

class DiscoveryResponder {
 public:
  DiscoveryResponder();
  ~DiscoveryResponder();
  DiscoveryResponder(const DiscoveryResponder&) = delete;
  DiscoveryResponder& operator=(const DiscoveryResponder&) = delete;

  // Listens on discoveryPort for the families httpBind serves, answered on the threads that
  // run io (the HTTP server's). Throws std::runtime_error when no socket can be bound.
  void start(boost::asio::io_context& io, const std::string& httpBind, std::uint16_t httpPort,
             std::uint16_t discoveryPort);
  // Closes the sockets: once it returns no datagram is answered, whether io's threads still
  // run or have stopped. Before io is destroyed.
  void stop();

 private:
  class Impl;
  std::shared_ptr<Impl> impl_;
};

}  // namespace tramox::alpaca
