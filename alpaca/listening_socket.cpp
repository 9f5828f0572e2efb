#include "alpaca/listening_socket.h"

#include <boost/asio/ip/v6_only.hpp>
#include <stdexcept>

namespace tramox::alpaca {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

void listenOn(tcp::acceptor& acceptor, const std::string& bindAddress, std::uint16_t port) {
  boost::system::error_code ec;
  const auto address = asio::ip::make_address(bindAddress, ec);
  if (ec) {
    throw std::runtime_error("not an IP address: " + bindAddress);
  }
  const tcp::endpoint endpoint(address, port);
  acceptor.open(endpoint.protocol(), ec);
  // An IPv6 wildcard also takes IPv4 clients, as the user who binds "::" expects.
  if (!ec && address.is_v6() && address.is_unspecified()) {
    acceptor.set_option(asio::ip::v6_only(false), ec);
  }
  if (!ec) {
    acceptor.set_option(asio::socket_base::reuse_address(true), ec);
  }
  if (!ec) {
    acceptor.bind(endpoint, ec);
  }
  if (!ec) {
    acceptor.listen(asio::socket_base::max_listen_connections, ec);
  }
  if (ec) {
    throw std::runtime_error("cannot listen on " + bindAddress + " port " + std::to_string(port) +
                             ": " + ec.message());
  }
}

}  // namespace tramox::alpaca
