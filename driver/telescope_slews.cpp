// Slews, synchronisations and AbortSlew. The driver records no slew state: whether the mount
// moves is always asked of the controller through Slewing.
#include "common/driver_error.h"
#include "common/units.h"
#include "driver/coordinate_ranges.h"
#include "driver/slew_wait.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"
#include "platform/settings_key.h"

namespace tramox::driver {

void TTelescope::requireNotParked() {
  if (FParked || FParking) {
    throw DriverError(codes::kInvalidState, FailureReason::Parked, messages::kParked);
  }
}

void TTelescope::requireNotParkedAndTracking() {
  requireNotParked();
  if (!FTracking) {
    throw DriverError(codes::kInvalidState, FailureReason::InvalidOperation,
                      messages::kNotTracking);
  }
}

// The controller's goto: goal, west-positive site longitude, 0 and the sidereal rate, each by
// address. Its answer is not looked at; the slew is followed through Slewing.
void TTelescope::startSlew(double raHours, double decDegrees) {
  double raRad = units::toRadiansDividingFirst(raHours, 12.0);
  double decRad = units::toRadiansDividingFirst(decDegrees, 180.0);
  double lonWestRad = units::toRadiansDividingFirst(FSiteLongitude, -180.0);
  double zero = 0.0;
  double rateRadPerSec = units::kSiderealRateRadPerSec;
  rt_.controller.InitTelescopeSeekerDevice_DLL(&raRad, &decRad, &lonWestRad, &zero, &rateRadPerSec);
}

void TTelescope::SlewToCoordinatesAsync(double raHours, double decDegrees) {
  log("SlewToCoordinatesAsync " + number(raHours) + " " + number(decDegrees));
  requireNotParkedAndTracking();
  if (!raInRange(raHours)) {
    throw DriverError(codes::kInvalidState, FailureReason::InvalidValue,
                      messages::kRightAscensionOutOfRange);
  }
  // Stored before the declination is checked: a refused declination leaves this target set.
  FTargetRightAscension = raHours;
  rt_.state.TargetRightAscensionSet = true;
  if (!decInRange(decDegrees)) {
    throw DriverError(codes::kInvalidState, FailureReason::InvalidValue,
                      messages::kDeclinationOutOfRange);
  }
  FTargetDeclination = decDegrees;
  rt_.state.TargetDeclinationSet = true;
  log("Appel InitTelescopeSeeker_DLL " +
      number(units::toRadiansDividingFirst(FTargetRightAscension, 12.0)) + " " +
      number(units::toRadiansDividingFirst(FTargetDeclination, 180.0)));
  startSlew(FTargetRightAscension, FTargetDeclination);
}

void TTelescope::SlewToCoordinates(double raHours, double decDegrees) {
  log("SlewToCoordinates");
  requireNotParkedAndTracking();
  const double limitSeconds = slewTimeLimitSeconds();
  SlewToCoordinatesAsync(raHours, decDegrees);
  waitForSlewEnd(limitSeconds);
}

void TTelescope::SlewToTargetAsync() {
  log("SlewToTargetAsync " + number(FTargetRightAscension) + " " + number(FTargetDeclination));
  requireNotParkedAndTracking();
  // No range check and no look at the target flags: a target never set slews to 0, 0.
  log("Appel InitTelescopeSeeker_DLL " +
      number(units::toRadiansDividingFirst(FTargetRightAscension, 12.0)) + " " +
      number(units::toRadiansDividingFirst(FTargetDeclination, 180.0)) + " " +
      number(units::toRadiansDividingFirst(FSiteLongitude, -180.0)));
  startSlew(FTargetRightAscension, FTargetDeclination);
  log("Retour Appel InitTelescopeSeeker_DLL");
}

void TTelescope::SlewToTarget() {
  log("SlewToTarget " + number(FTargetRightAscension) + " " + number(FTargetDeclination));
  requireNotParkedAndTracking();
  const double limitSeconds = slewTimeLimitSeconds();
  SlewToTargetAsync();
  waitForSlewEnd(limitSeconds);
}

// Read before the slew starts, so that a mistyped setting refuses the slew rather than
// abandoning one in progress.
double TTelescope::slewTimeLimitSeconds() {
  const auto configured =
      platform::SettingsKey(*rt_.services.registry).readInt32(kSlewTimeoutValue);
  return slewTimeLimitFrom(configured);
}

void TTelescope::waitForSlewEnd(double limitSeconds) {
  platform::IClock& clock = *rt_.services.clock;
  const double deadline = clock.monotonicSeconds() + limitSeconds;
  while (Get_Slewing()) {
    if (clock.monotonicSeconds() >= deadline) {
      rt_.controller.StopSlewing_TelescopeSeekerDevice_DLL();
      log("Slew time limit reached, slew stopped");
      throw DriverError(codes::kInvalidState, slewTimeoutMessage(limitSeconds));
    }
    clock.sleepMilliseconds(kSlewPollPauseMs);
  }
}

// Writes no log line. Stores the coordinates as the target without setting the target flags.
void TTelescope::SyncToCoordinates(double raHours, double decDegrees) {
  requireNotParkedAndTracking();
  if (!decInRange(decDegrees) || !raInRange(raHours)) {
    throw DriverError(codes::kInvalidState, FailureReason::InvalidValue,
                      messages::kCoordinatesNotAvailable);
  }
  FLastDeclination = decDegrees;
  FTargetDeclination = decDegrees;
  FLastRightAscension = raHours;
  FTargetRightAscension = raHours;
  if (!rt_.controller.CalibrateCodeursDevice_DLL(
          units::toRadiansDividingFirst(raHours, 12.0),
          units::toRadiansDividingFirst(decDegrees, 180.0))) {
    throw DriverError(codes::kInvalidState, messages::kSyncImpossible);
  }
}

void TTelescope::SyncToTarget() {
  requireNotParkedAndTracking();
  FLastDeclination = FTargetDeclination;
  FLastRightAscension = FTargetRightAscension;
  if (!rt_.controller.CalibrateCodeursDevice_DLL(
          units::toRadiansDividingFirst(FTargetRightAscension, 12.0),
          units::toRadiansDividingFirst(FTargetDeclination, 180.0))) {
    throw DriverError(codes::kInvalidState, messages::kSyncImpossible);
  }
}

void TTelescope::AbortSlew() {
  stopFirst([this] {
    logAsk("AbortSlew");
    // A park motion can be stopped like any slew; only a parked mount refuses.
    if (FParked) {
      throw DriverError(codes::kInvalidState, FailureReason::Parked, messages::kParked);
    }
    if (FParking) {
      // A refused unpark leaves the mount as the controller then reports it.
      static_cast<void>(stopParkMotion());
    } else {
      rt_.controller.StopSlewing_TelescopeSeekerDevice_DLL();
    }
  });
}

void TTelescope::SlewToAltAz(double, double) {
  throw DriverError(codes::kNotImplemented, "SlewToAltAz not implemented");
}

void TTelescope::SlewToAltAzAsync(double, double) {
  throw DriverError(codes::kNotImplemented, "SlewToAltAzAsync not implemented");
}

void TTelescope::SyncToAltAz(double, double) {
  throw DriverError(codes::kNotImplemented, "SyncToAltAz not implemented");
}

}  // namespace tramox::driver
