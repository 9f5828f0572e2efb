// Park, Unpark, SetPark and AtPark. The park position lives in the settings key as "Park_AH"
// and "Park_Dec" (radians); only SetPark writes it. Park returns once the controller has
// accepted: the mount is parking, not parked, until the controller reports it parked with
// both axes still, which AtPark, Slewing and the paddle's refresh find out.
#include "common/driver_error.h"
#include "common/units.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"
#include "driver/value_ranges.h"
#include "platform/settings_key.h"

namespace tramox::driver {

namespace {

// No SetPark yet: the registry's own failure and words, but a state the client mends with
// SetPark rather than a fault.
double storedParkValue(platform::SettingsKey& settings, const char* name) {
  if (const auto value = settings.readDouble(name)) {
    return *value;
  }
  throw DriverError(codes::kUnexpected, FailureReason::InvalidOperation,
                    platform::missingValueMessage(name));
}

}  // namespace

void TTelescope::Park() {
  logAsk("Park");
  if (FParked || FParking) {
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
  rt_.services.registry->snapshot(platform::Hive::CurrentUser, [&](platform::IRegistry& view) {
    if (view.keyExists(platform::Hive::CurrentUser, platform::SettingsKey::kPath)) {
      platform::SettingsKey settings(view);
      hourAngleRad = storedParkValue(settings, kParkHourAngleValue);
      decRad = storedParkValue(settings, kParkDeclinationValue);
    }
  });
  const double hourAngle = units::fromRadiansMultiplyingFirst(hourAngleRad, 12.0);
  const double declination = units::fromRadiansMultiplyingFirst(decRad, 180.0);
  requireStoredInRange(kParkHourAngleValue, hourAngleRad, hourAngle, kParkHourAngleRange);
  requireStoredInRange(kParkDeclinationValue, decRad, declination, kParkDeclinationRange);
  FParkHourAngle = hourAngle;
  FParkDeclination = declination;
  log("Park at " + number(FParkHourAngle) + " " + number(FParkDeclination));
  if (!rt_.controller.ParkTel_DLL(hourAngleRad, decRad)) {
    throw DriverError(codes::kNotImplemented, FailureReason::ControllerRefused,
                      messages::kParkFailed);
  }
  FParking = true;
}

// Axis 0 counts only when it answers exactly 1; axis 1 on any nonzero answer.
bool TTelescope::axesMoving() {
  return rt_.controller.IsAxisSlewing_DLL(0) == 1 || rt_.controller.IsAxisSlewing_DLL(1) != 0;
}

bool TTelescope::controllerReportsParked() {
  controller::Byte parked = FParked ? 1 : 0;
  rt_.controller.IsParkedDevice_DLL(&parked);
  return parked != 0;
}

void TTelescope::settleParkState(bool controllerParked, bool moving) {
  if (controllerParked && !moving) {
    FParking = false;
    if (!FParked) {
      FParked = true;
      setPaddleText("ButtonPark", "UnPark");
      setPaddleEnabled("ButtonTracking", false);
    }
    return;
  }
  // Parked but still moving (parked from elsewhere, perhaps) is parking.
  FParking = controllerParked || (FParking && moving);
  FParked = false;
}

// The slew stop ends the motion; the unpark, since a controller may flag itself parked as soon
// as it accepts, makes sure a stopped park is not later reported as parked.
bool TTelescope::stopParkMotion() {
  rt_.controller.StopSlewing_TelescopeSeekerDevice_DLL();
  FParking = false;
  return rt_.controller.UnParkTel_DLL() != 0;
}

// Tracking resumes with the unpark itself: no separate tracking call to the controller. An
// unpark during the park motion stops it, so the mount does not park after all.
void TTelescope::Unpark() {
  if (!FParked && !FParking) {
    return;
  }
  logAsk("Unpark");
  const bool accepted = FParking ? stopParkMotion() : rt_.controller.UnParkTel_DLL() != 0;
  if (!accepted) {
    throw DriverError(codes::kNotImplemented, FailureReason::ControllerRefused,
                      messages::kUnParkFailed);
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
  // One transaction: concurrent SetParks must not leave one's hour angle with another's
  // declination.
  rt_.services.registry->transact(platform::Hive::CurrentUser, [&](platform::IRegistry& view) {
    platform::SettingsKey settings(view);
    settings.writeDouble(kParkHourAngleValue, units::hoursToRadians(FParkHourAngle));
    settings.writeDouble(kParkDeclinationValue, units::degreesToRadians(FParkDeclination));
  });
}

bool TTelescope::Get_AtPark() {
  logAsk("AtPark");
  const bool controllerParked = controllerReportsParked();
  // The axes are asked only when their answer can matter.
  const bool moving = (controllerParked || FParking) && axesMoving();
  settleParkState(controllerParked, moving);
  logResult(FParked);
  return FParked;
}

}  // namespace tramox::driver
