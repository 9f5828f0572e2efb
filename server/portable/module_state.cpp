#include "server/portable/module_state.h"

#include "platform/services.h"
#include "server/binding/module_counts.h"

namespace tramox::server::portable {

ModuleState& ModuleState::instance() {
  // Never destroyed, as on Windows: at exit the runtime may still hold a paddle whose view the
  // host made and whose factory the host has already freed; the process reclaims it all.
  static ModuleState* const state = new ModuleState;
  return *state;
}

bool ModuleState::setHostServices(const HostServices& services) {
  if (runtime_) {
    return false;
  }
  host_ = services;
  return true;
}

driver::DriverRuntime& ModuleState::runtime() {
  if (!runtime_) {
    platform::Services services = platform::nativeServices();
    if (host_.messages) {
      services.messages = host_.messages;
    }
    if (host_.paddleViews) {
      services.paddleViews = host_.paddleViews;
    }
    if (host_.clock) {
      services.clock = host_.clock;
      platform::lendStoreWaitClock(host_.clock);
    }
    runtime_ = std::make_unique<driver::DriverRuntime>(services);
    runtime_->holdModule = [] { return std::make_shared<binding::LiveObjectToken>(); };
  }
  return *runtime_;
}

}  // namespace tramox::server::portable
