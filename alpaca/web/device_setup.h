#pragma once
// The telescope's setup page behind its form: the site through the driver's members, the
// other values through the settings key under the driver's own names. On the driver thread.
#include <vector>

#include "alpaca/parameter_values.h"
#include "alpaca/web/setup_pages.h"
#include "client/driver_object.h"

namespace tramox::web {

DeviceSetupView readDeviceSetup(const client::DriverObject& driver);
// Writes what the form holds; a refused value shows beside its field, as typed.
DeviceSetupView writeDeviceSetup(const client::DriverObject& driver,
                                 const std::vector<alpaca::Parameter>& form);

}  // namespace tramox::web
