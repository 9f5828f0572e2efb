#include "lx200/lx200_listener.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <thread>
#include <utility>

#include "alpaca/listening_socket.h"
#include "client/driver_object.h"
#include "lx200/lx200_connection.h"

namespace tramox::lx200 {

namespace asio = boost::asio;
using tcp = asio::ip::tcp;

namespace {

// A handful of programs at a telescope; a flood of connections is refused rather than served.
constexpr alpaca::ConnectionCaps kCaps{64, 32, 16};

}  // namespace

class Listener::Impl {
 public:
  Impl(alpaca::DriverHost& host, alpaca::DeviceApi& device, platform::IClock& clock,
       Identity identity, Console console)
      : shared_(host, device, clock, std::move(identity), std::move(console), kCaps),
        acceptor_(io_) {}

  ~Impl() { stop(); }

  void start(const std::string& bindAddress, std::uint16_t port) {
    alpaca::listenOn(acceptor_, bindAddress, port);
    port_ = acceptor_.local_endpoint().port();
    accept();
    thread_ = std::thread([this] { io_.run(); });
  }

  std::uint16_t port() const { return port_; }

  void stop() {
    if (!thread_.joinable()) {
      return;
    }
    asio::post(io_, [this] {
      boost::system::error_code ignored;
      acceptor_.close(ignored);
    });
    io_.stop();
    thread_.join();
  }

  void leave(alpaca::DriverAccess& access) {
    const client::DriverObject driver(access.backend, access.driver);
    for (const std::shared_ptr<Session>& session : shared_.sessions) {
      session->close(driver);
    }
  }

 private:
  void accept() {
    acceptor_.async_accept([this](boost::system::error_code ec, tcp::socket socket) {
      if (ec == asio::error::operation_aborted || !acceptor_.is_open()) {
        return;
      }
      if (!ec) {
        boost::system::error_code ignored;
        std::string peer = socket.remote_endpoint(ignored).address().to_string();
        socket.set_option(tcp::no_delay(true), ignored);
        if (shared_.limits.admit(peer)) {
          std::make_shared<Connection>(std::move(socket), shared_, std::move(peer))->start();
        }
      }
      accept();
    });
  }

  // Before the I/O context, whose destruction ends the connections still in it.
  ListenerShared shared_;
  asio::io_context io_;
  tcp::acceptor acceptor_;
  std::thread thread_;
  std::uint16_t port_ = 0;
};

Listener::Listener(alpaca::DriverHost& host, alpaca::DeviceApi& device, platform::IClock& clock,
                   Identity identity, Console console)
    : impl_(std::make_unique<Impl>(host, device, clock, std::move(identity), std::move(console))) {}

Listener::~Listener() = default;

void Listener::start(const std::string& bindAddress, std::uint16_t port) {
  impl_->start(bindAddress, port);
}

std::uint16_t Listener::port() const {
  return impl_->port();
}

void Listener::stop() {
  impl_->stop();
}

void Listener::leave(alpaca::DriverAccess& access) {
  impl_->leave(access);
}

}  // namespace tramox::lx200
