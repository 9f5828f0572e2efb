#pragma once
// What the loaded module holds besides its object counts (binding::ModuleCounts): the
// services the host lent it, and the one driver runtime its objects share (made with the
// first driver object, so that the host's services are in place by then).
#include <memory>

#include "driver/driver_runtime.h"
#include "server/binding/abi.h"

namespace tramox::server::portable {

// The runtime speaks the binding's interfaces and variants.
using namespace binding;

class ModuleState {
 public:
  static ModuleState& instance();

  // False once the runtime exists.
  bool setHostServices(const HostServices& services);
  // The module's runtime: the platform's services with the host's substitutes.
  driver::DriverRuntime& runtime();

 private:
  ModuleState() = default;

  HostServices host_;
  std::unique_ptr<driver::DriverRuntime> runtime_;
};

}  // namespace tramox::server::portable
