#pragma once
// One LX200 client's socket: reads its bytes into commands, hands them to the driver thread
// one at a time (a client's commands keep their order, so a stop never overtakes the motion
// it ends), writes each answer, and stops the client's motion when it falls silent or goes.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include "alpaca/connection_limits.h"
#include "alpaca/device_api.h"
#include "alpaca/driver_host.h"
#include "lx200/command_framer.h"
#include "lx200/lx200_session.h"

namespace tramox::lx200 {

// What the listener's connections share; it outlives them all.
struct ListenerShared {
  ListenerShared(alpaca::DriverHost& host, alpaca::DeviceApi& device, platform::IClock& clock,
                 Identity identity, Console console, alpaca::ConnectionCaps caps)
      : host(host),
        device(device),
        clock(clock),
        identity(std::move(identity)),
        console(std::move(console)),
        limits(caps) {}

  alpaca::DriverHost& host;
  alpaca::DeviceApi& device;
  platform::IClock& clock;
  const Identity identity;
  const Console console;
  alpaca::ConnectionLimits limits;
  // Client numbers for the server's count of connected clients, from the top down, below the
  // web pages' number.
  std::atomic<std::uint32_t> nextClientId{0xFFFFFFFEu};
  // The open clients' sessions; only touched on the driver thread.
  std::set<std::shared_ptr<Session>> sessions;
};

class Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(boost::asio::ip::tcp::socket socket, ListenerShared& shared, std::string peer);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void start();

 private:
  struct Pending {
    Frame frame;
    std::uint64_t sequence;
  };

  void read();
  void next();
  void answered(std::string answer);
  void watchSilence();
  void close();

  boost::asio::ip::tcp::socket socket_;
  boost::asio::steady_timer silenceTimer_;
  boost::asio::steady_timer writeTimer_;
  ListenerShared& shared_;
  const std::string peer_;
  const std::uint32_t clientId_;
  std::shared_ptr<Session> session_;
  CommandFramer framer_;
  std::deque<Pending> pending_;
  std::array<char, 512> buffer_{};
  std::uint64_t received_ = 0;
  std::chrono::steady_clock::time_point lastHeard_;
  bool reading_ = false;
  bool busy_ = false;
  bool silenced_ = false;
  bool closed_ = false;
};

}  // namespace tramox::lx200
