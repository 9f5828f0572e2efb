// Park, Unpark, SetPark and AtPark. The park position lives in the settings key as "Park_AH"
// and "Park_Dec" (radians); only SetPark writes it.
#include "common/driver_error.h"
#include "common/units.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"
#include "platform/settings_key.h"

namespace tramox::driver {

void TTelescope::Park() {
  logAsk("Park");
  if (FParked) {
    return;
  }
  if (!FTracking) {
    rt_.controller.ReturnToSideralSpeedEngineDevice_DLL();
    FTracking = true;
  }
  // Without the key the mount parks at (0, 0); with the key but without the values (no SetPark
  // ever) the registry's "missing value" error ends the call.
  double hourAngleRad = 0.0;
  double decRad = 0.0;
  if (rt_.services.registry->keyExists(platform::Hive::CurrentUser, platform::SettingsKey::kPath)) {
    platform::SettingsKey settings(*rt_.services.registry);
    hourAngleRad = settings.requireDouble("Park_AH");
    decRad = settings.requireDouble("Park_Dec");
  }
  FParkHourAngle = units::fromRadiansMultiplyingFirst(hourAngleRad, 12.0);
  FParkDeclination = units::fromRadiansMultiplyingFirst(decRad, 180.0);
  log("Park at " + number(FParkHourAngle) + " " + number(FParkDeclination));
  if (!rt_.controller.ParkTel_DLL(hourAngleRad, decRad)) {
    throw DriverError(codes::kNotImplemented, messages::kParkFailed);
  }
  setPaddleText("ButtonPark", "UnPark");
  setPaddleEnabled("ButtonTracking", false);
  FParked = true;
}

// Tracking resumes with the unpark itself: no separate tracking call to the controller.
void TTelescope::Unpark() {
  if (!FParked) {
    return;
  }
  logAsk("Unpark");
  if (!rt_.controller.UnParkTel_DLL()) {
    throw DriverError(codes::kNotImplemented, messages::kUnParkFailed);
  }
  FParked = false;
  FTracking = true;
  setPaddleText("ButtonPark", "Park");
  setPaddleEnabled("ButtonTracking", true);
}

// The hour angle is kept as computed, not reduced to any range.
void TTelescope::SetPark() {
  if (!FConnected) {
    return;
  }
  const double raHours = Get_RightAscension();
  const double siderealHours = Get_SiderealTime();
  const double decDegrees = Get_Declination();
  FParkHourAngle = siderealHours - raHours;
  FParkDeclination = decDegrees;
  log("SetPark " + number(FParkHourAngle) + " " + number(FParkDeclination));
  platform::SettingsKey settings(*rt_.services.registry);
  settings.writeDouble("Park_AH", units::hoursToRadians(FParkHourAngle));
  settings.writeDouble("Park_Dec", units::degreesToRadians(FParkDeclination));
}

bool TTelescope::Get_AtPark() {
  logAsk("AtPark");
  controller::Byte parked = FParked ? 1 : 0;
  rt_.controller.IsParkedDevice_DLL(&parked);
  FParked = parked != 0;
  logResult(FParked);
  return FParked;
}

}  // namespace tramox::driver
