#pragma once
// The LX200 listener of `tramox serve`: the Meade command set on a TCP port, for INDI's LX200
// drivers, the planetarium programs and the phone apps, several clients at once, on an I/O
// thread of its own. Every command reaches the one driver object on the driver thread, like
// an Alpaca call, and is answered when it is done. A client counts as one of the server's
// connected clients while its socket is open.
#include <cstdint>
#include <memory>
#include <string>

#include "alpaca/device_api.h"
#include "alpaca/driver_host.h"
#include "lx200/lx200_session.h"
#include "platform/clock.h"

namespace tramox::lx200 {

// A client that set a direction moving and then sent nothing for this long has it stopped.
inline constexpr double kSilenceStopSeconds = 5.0;

class Listener {
 public:
  Listener(alpaca::DriverHost& host, alpaca::DeviceApi& device, platform::IClock& clock,
           Identity identity, Console console);
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  // Binds and starts serving; port 0 picks a free port. Throws std::runtime_error with the
  // reason when the address cannot be bound.
  void start(const std::string& bindAddress, std::uint16_t port);
  std::uint16_t port() const;
  // Stops accepting and closes the connections; after the driver host has stopped.
  void stop();
  // On the driver thread, when the server leaves: stops the directions LX200 clients set
  // moving.
  void leave(alpaca::DriverAccess& access);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tramox::lx200
