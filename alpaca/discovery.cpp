#include "alpaca/discovery.h"

#include <array>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/multicast.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace tramox::alpaca {

namespace asio = boost::asio;
using udp = asio::ip::udp;

namespace {

bool isLoopback(const asio::ip::address& address) {
  if (address.is_v6() && address.to_v6().is_v4_mapped()) {
    return asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6()).is_loopback();
  }
  return address.is_loopback();
}

}  // namespace

bool couldReach(const std::string& httpBind, const std::string& sender) {
  boost::system::error_code ec;
  const auto bind = asio::ip::make_address(httpBind, ec);
  const auto from = asio::ip::make_address(sender, ec);
  if (ec) {
    return false;
  }
  if (isLoopback(bind)) {
    return isLoopback(from);
  }
  // A wildcard IPv6 server also takes IPv4 clients; otherwise the families must match.
  if (bind.is_v6() && bind.is_unspecified()) {
    return true;
  }
  return bind.is_v4() == (from.is_v4() || (from.is_v6() && from.to_v6().is_v4_mapped()));
}

// Shared with the receives in progress, which may outlive the responder that started them:
// they then find it stopped, or go with the I/O context.
class DiscoveryResponder::Impl : public std::enable_shared_from_this<Impl> {
 public:
  Impl(asio::io_context& io, const std::string& httpBind, std::uint16_t httpPort)
      : io_(io),
        httpBind_(httpBind),
        answer_("{\"AlpacaPort\":" + std::to_string(httpPort) + "}") {}

  void start(std::uint16_t discoveryPort) {
    std::lock_guard<std::mutex> lock(lock_);
    const auto bind = asio::ip::make_address(httpBind_);
    const bool wildcardV6 = bind.is_v6() && bind.is_unspecified();
    std::string why;
    // On loopback, discovery listens there only: nothing outside even learns the port is used.
    if (isLoopback(bind)) {
      open(udp::endpoint(bind, discoveryPort), why);
    }
    if (!isLoopback(bind) && (bind.is_v4() || wildcardV6)) {
      open(udp::endpoint(udp::v4(), discoveryPort), why);
    }
    if (!isLoopback(bind) && bind.is_v6()) {
      open(udp::endpoint(udp::v6(), discoveryPort), why);
    }
    if (sockets_.empty()) {
      throw std::runtime_error("cannot listen on UDP port " + std::to_string(discoveryPort) + ": " +
                               why);
    }
  }

  void stop() {
    std::lock_guard<std::mutex> lock(lock_);
    stopped_ = true;
    for (const auto& listener : sockets_) {
      boost::system::error_code ignored;
      listener->socket.close(ignored);
    }
  }

 private:
  struct Listener {
    explicit Listener(asio::io_context& io) : socket(io) {}
    udp::socket socket;
    udp::endpoint sender;
    std::array<char, 256> buffer{};
  };

  void open(const udp::endpoint& local, std::string& why) {
    const udp family = local.protocol();
    auto listener = std::make_unique<Listener>(io_);
    boost::system::error_code ec;
    listener->socket.open(family, ec);
    if (!ec && family == udp::v6()) {
      listener->socket.set_option(asio::ip::v6_only(true), ec);
    }
    // Other Alpaca servers on this computer listen on the same port.
    if (!ec) {
      listener->socket.set_option(asio::socket_base::reuse_address(true), ec);
    }
    if (!ec) {
      listener->socket.bind(local, ec);
    }
    if (ec) {
      why = ec.message();
      return;
    }
    if (family == udp::v6() && !isLoopback(local.address())) {
      boost::system::error_code ignored;  // no multicast route: unicast discovery still works
      listener->socket.set_option(
          asio::ip::multicast::join_group(asio::ip::make_address(kDiscoveryGroup)), ignored);
    }
    receive(*listener);
    sockets_.push_back(std::move(listener));
  }

  void receive(Listener& listener) {
    listener.socket.async_receive_from(asio::buffer(listener.buffer), listener.sender,
                                       [self = shared_from_this(), &listener](
                                           const boost::system::error_code& ec, std::size_t size) {
                                         self->received(listener, ec, size);
                                       });
  }

  void received(Listener& listener, const boost::system::error_code& ec, std::size_t size) {
    std::lock_guard<std::mutex> lock(lock_);
    if (stopped_ || ec == asio::error::operation_aborted) {
      return;
    }
    const std::string_view text(listener.buffer.data(), ec ? 0 : size);
    if (text.starts_with(kDiscoveryMessage) &&
        couldReach(httpBind_, listener.sender.address().to_string())) {
      boost::system::error_code ignored;
      listener.socket.send_to(asio::buffer(answer_), listener.sender, 0, ignored);
    }
    receive(listener);
  }

  asio::io_context& io_;
  const std::string httpBind_;
  const std::string answer_;
  std::mutex lock_;  // the sockets are touched by the I/O threads of the moment and by stop
  std::vector<std::unique_ptr<Listener>> sockets_;
  bool stopped_ = false;
};

DiscoveryResponder::DiscoveryResponder() = default;

DiscoveryResponder::~DiscoveryResponder() {
  stop();
}

void DiscoveryResponder::start(asio::io_context& io, const std::string& httpBind,
                               std::uint16_t httpPort, std::uint16_t discoveryPort) {
  stop();
  auto impl = std::make_shared<Impl>(io, httpBind, httpPort);
  impl->start(discoveryPort);
  impl_ = std::move(impl);
}

void DiscoveryResponder::stop() {
  if (impl_) {
    impl_->stop();
    impl_.reset();
  }
}

}  // namespace tramox::alpaca
