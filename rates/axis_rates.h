#pragma once
// The driver's AxisRates member: reads the controller's ten speeds into the process-wide
// table and builds the collection of one axis. Writes no log line of its own.
#include <cstdint>
#include <memory>

#include "controller/controller_library.h"
#include "diag/diagnostic_log.h"
#include "platform/locale_format.h"
#include "rates/axis_speed_table.h"
#include "rates/rates.h"

namespace tramox::rates {

// Message of the DriverError (0x80040405) for an axis other than 0, 1 or 2.
inline constexpr const char* kInvalidAxisMessage = "Invalid axis";

// axisPrimary (0): speeds 3, 7, 9; axisSecondary (1): 4, 8, 10; axisTertiary (2): Count 0.
// Every call asks the controller again, so the collection keeps the values of this moment.
// Any other axis fails before the controller is called, leaving the table as it was.
std::shared_ptr<TRates> MakeAxisRates(controller::ControllerLibrary& controller,
                                      AxisSpeedTable& speeds, diag::DiagnosticLog& log,
                                      platform::ILocaleFormat& locale, std::int32_t axis);

}  // namespace tramox::rates
