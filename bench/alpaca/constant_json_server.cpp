#include "bench/alpaca/constant_json_server.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/strand.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <thread>
#include <vector>

#include "alpaca/http_server.h"

namespace tramox::alpaca::bench {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

// The size and shape of an Alpaca Boolean answer.
constexpr const char* kBody =
    R"({"Value":true,"ClientTransactionID":0,"ServerTransactionID":0,"ErrorNumber":0,"ErrorMessage":""})";

class Session : public std::enable_shared_from_this<Session> {
 public:
  explicit Session(tcp::socket socket) : stream_(std::move(socket)) {}

  void read() {
    request_ = {};
    http::async_read(stream_, buffer_, request_,
                     [self = shared_from_this()](beast::error_code ec, std::size_t) {
                       if (!ec) {
                         self->write();
                       }
                     });
  }

 private:
  void write() {
    response_ = {http::status::ok, request_.version()};
    response_.set(http::field::content_type, "application/json");
    response_.keep_alive(request_.keep_alive());
    response_.body() = kBody;
    response_.prepare_payload();
    http::async_write(stream_, response_,
                      [self = shared_from_this()](beast::error_code ec, std::size_t) {
                        if (!ec && self->response_.keep_alive()) {
                          self->read();
                        }
                      });
  }

  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  http::request<http::string_body> request_;
  http::response<http::string_body> response_;
};

}  // namespace

class ConstantJsonServer::Impl {
 public:
  Impl() : acceptor_(io_, tcp::endpoint(asio::ip::address_v4::loopback(), 0)) {
    accept();
    for (int i = 0; i < HttpServerLimits{}.ioThreads; ++i) {
      threads_.emplace_back([this] { io_.run(); });
    }
  }

  ~Impl() {
    io_.stop();
    for (std::thread& thread : threads_) {
      thread.join();
    }
  }

  std::uint16_t port() const { return acceptor_.local_endpoint().port(); }

 private:
  void accept() {
    acceptor_.async_accept(asio::make_strand(io_), [this](beast::error_code ec, tcp::socket s) {
      if (ec) {
        return;
      }
      std::make_shared<Session>(std::move(s))->read();
      accept();
    });
  }

  asio::io_context io_;
  tcp::acceptor acceptor_;
  std::vector<std::thread> threads_;
};

ConstantJsonServer::ConstantJsonServer() : impl_(std::make_unique<Impl>()) {}
ConstantJsonServer::~ConstantJsonServer() = default;

std::uint16_t ConstantJsonServer::port() const {
  return impl_->port();
}

}  // namespace tramox::alpaca::bench
