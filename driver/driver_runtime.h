#pragma once
// Everything one driver module shares between its objects: the platform services, the log,
// the controller library and the process-wide state. The automation server makes one per
// loaded module; tests make their own with fakes.
#include <functional>
#include <memory>

#include "controller/controller_library.h"
#include "diag/diagnostic_log.h"
#include "driver/process_state.h"
#include "platform/services.h"

namespace tramox::driver {

struct DriverRuntime {
  explicit DriverRuntime(const platform::Services& services);

  platform::Services services;
  diag::DiagnosticLog log;
  controller::ControllerLibrary controller;
  ProcessState state;
  // Keeps the module that hosts the driver busy while the result lives: the paddle window's
  // code is in that module. Empty where no module hosts the driver (unit tests).
  std::function<std::shared_ptr<void>()> holdModule;
};

}  // namespace tramox::driver
