#pragma once
// Opens a TCP listening socket the way every listener of `tramox serve` does: the address as
// given (an IPv6 wildcard takes IPv4 clients too), the port reusable at once after a restart.
#include <cstdint>
#include <string>

#include <boost/asio/ip/tcp.hpp>

namespace tramox::alpaca {

// Throws std::runtime_error with the reason when the address cannot be bound.
void listenOn(boost::asio::ip::tcp::acceptor& acceptor, const std::string& bindAddress,
              std::uint16_t port);

}  // namespace tramox::alpaca
