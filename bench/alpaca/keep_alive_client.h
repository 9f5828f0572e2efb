#pragma once
// One HTTP/1.1 client connection kept alive across requests, as an Alpaca client polling a
// member holds it.
#include <boost/asio/io_context.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <cstdint>
#include <string>

namespace tramox::alpaca::bench {

class KeepAliveClient {
 public:
  KeepAliveClient(const std::string& host, std::uint16_t port);
  // The body of the answer to GET target; throws on a status other than 200 or a closed
  // connection, so that a failing server cannot pass for a fast one.
  std::string get(const std::string& target);

 private:
  std::string host_;
  boost::asio::io_context io_;
  boost::beast::tcp_stream stream_;
  boost::beast::flat_buffer buffer_;
};

}  // namespace tramox::alpaca::bench
