#pragma once
// What the loaded module holds: the live-object and factory-lock counts behind
// DllCanUnloadNow, the services the host lent it, and the one driver runtime its objects
// share (made with the first driver object, so that the host's services are in place by then).
#include <atomic>
#include <memory>

#include "driver/driver_runtime.h"
#include "server/portable/abi.h"

namespace tramox::server::portable {

class ModuleState {
 public:
  static ModuleState& instance();

  bool canUnload() const { return liveObjects_.load() == 0 && locks_.load() == 0; }
  long liveObjects() const { return liveObjects_.load(); }
  void objectCreated() { ++liveObjects_; }
  void objectDestroyed() { --liveObjects_; }
  void lock() { ++locks_; }
  void unlock();

  // False once the runtime exists.
  bool setHostServices(const HostServices& services);
  // The module's runtime: the platform's services with the host's substitutes.
  driver::DriverRuntime& runtime();

 private:
  ModuleState() = default;

  std::atomic<long> liveObjects_{0};
  std::atomic<long> locks_{0};
  HostServices host_;
  std::unique_ptr<driver::DriverRuntime> runtime_;
};

// Held by every object of the module for as long as it lives.
class LiveObjectToken {
 public:
  LiveObjectToken() { ModuleState::instance().objectCreated(); }
  ~LiveObjectToken() { ModuleState::instance().objectDestroyed(); }
  LiveObjectToken(const LiveObjectToken&) = delete;
  LiveObjectToken& operator=(const LiveObjectToken&) = delete;
};

}  // namespace tramox::server::portable
