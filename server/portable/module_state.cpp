#include "server/portable/module_state.h"

#include "platform/services.h"

namespace tramox::server::portable {

ModuleState& ModuleState::instance() {
  static ModuleState state;
  return state;
}

void ModuleState::unlock() {
  // A client unlocking more often than it locked must not make the module look busy forever.
  long current = locks_.load();
  while (current > 0 && !locks_.compare_exchange_weak(current, current - 1)) {
  }
}

bool ModuleState::setHostServices(const HostServices& services) {
  if (runtime_)
    return false;
  host_ = services;
  return true;
}

driver::DriverRuntime& ModuleState::runtime() {
  if (!runtime_) {
    platform::Services services = platform::nativeServices();
    if (host_.messages)
      services.messages = host_.messages;
    if (host_.paddleViews)
      services.paddleViews = host_.paddleViews;
    if (host_.clock)
      services.clock = host_.clock;
    runtime_ = std::make_unique<driver::DriverRuntime>(services);
  }
  return *runtime_;
}

}  // namespace tramox::server::portable
