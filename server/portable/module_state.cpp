#include "server/portable/module_state.h"

#include "platform/services.h"

namespace tramox::server::portable {

ModuleState& ModuleState::instance() {
  static ModuleState state;
  return state;
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
