#include "driver/driver_runtime.h"

namespace tramox::driver {

DriverRuntime::DriverRuntime(const platform::Services& s)
    : services(s),
      log(*s.registry, *s.clock, *s.locale, s.logPath),
      controller(*s.libraries, *s.messages, controller::controllerLibraryPath(*s.libraries)) {}

}  // namespace tramox::driver
