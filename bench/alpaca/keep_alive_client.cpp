#include "bench/alpaca/keep_alive_client.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/http.hpp>
#include <stdexcept>

namespace tramox::alpaca::bench {

namespace asio = boost::asio;
namespace http = boost::beast::http;

KeepAliveClient::KeepAliveClient(const std::string& host, std::uint16_t port)
    : host_(host), stream_(io_) {
  stream_.connect(asio::ip::tcp::endpoint(asio::ip::make_address(host), port));
  stream_.socket().set_option(asio::ip::tcp::no_delay(true));
}

std::string KeepAliveClient::get(const std::string& target) {
  http::request<http::empty_body> request(http::verb::get, target, 11);
  request.set(http::field::host, host_);
  request.keep_alive(true);
  http::write(stream_, request);
  http::response<http::string_body> response;
  http::read(stream_, buffer_, response);
  if (response.result_int() != 200) {
    throw std::runtime_error("GET " + target + " answered " +
                             std::to_string(response.result_int()));
  }
  return std::move(response.body());
}

}  // namespace tramox::alpaca::bench
