#include "rates/axis_rates.h"

#include "common/driver_error.h"
#include "common/telescope_enums.h"
#include "common/units.h"

namespace tramox::rates {

namespace {

// The speeds MoveAxis can use; the others are left in the controller's unit.
constexpr int kUsedSpeeds[] = {3, 4, 7, 8, 9, 10};

}  // namespace

std::shared_ptr<TRates> MakeAxisRates(controller::ControllerLibrary& controller,
                                      AxisSpeedTable& speeds, diag::DiagnosticLog& log,
                                      platform::ILocaleFormat& locale, std::int32_t axis) {
  if (axis < axisPrimary || axis > axisTertiary) {
    throw DriverError(codes::kInvalidValue, kInvalidAxisMessage);
  }
  // The controller's answer flag carries nothing: it fills the ten values or leaves them.
  controller.GetSpeed_DLL(speeds.values);
  for (int number : kUsedSpeeds) {
    double& speed = speeds.values[static_cast<std::size_t>(number - 1)];
    speed = units::fromRadiansMultiplyingFirst(speed, 180.0);
  }
  switch (axis) {
    case axisPrimary:
      return std::make_shared<TRates>(&log, &locale, speeds.value(3), speeds.value(7),
                                      speeds.value(9), 3);
    case axisSecondary:
      return std::make_shared<TRates>(&log, &locale, speeds.value(4), speeds.value(8),
                                      speeds.value(10), 3);
    default:
      return std::make_shared<TRates>(&log, &locale, 0.0, 0.0, 0.0, 0);
  }
}

}  // namespace tramox::rates
