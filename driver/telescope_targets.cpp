// The target properties. The "set" flags are process-wide, the values belong to the object.
#include "common/driver_error.h"
#include "driver/coordinate_ranges.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"

namespace tramox::driver {

double TTelescope::Get_TargetRightAscension() {
  logAsk("TargetRightAscension");
  if (!rt_.state.TargetRightAscensionSet) {
    throw DriverError(codes::kTargetNotSet, "Target right ascension not available");
  }
  logResult(FTargetRightAscension);
  return FTargetRightAscension;
}

void TTelescope::Set_TargetRightAscension(double raHours) {
  log("SET TargetRightAscension " + number(raHours));
  if (!raInRange(raHours)) {
    throw DriverError(codes::kInvalidValue, messages::kRightAscensionOutOfRange);
  }
  FTargetRightAscension = raHours;
  rt_.state.TargetRightAscensionSet = true;
}

double TTelescope::Get_TargetDeclination() {
  logAsk("TargetDeclination");
  if (!rt_.state.TargetDeclinationSet) {
    throw DriverError(codes::kTargetNotSet, "Target declination not available");
  }
  logResult(FTargetDeclination);
  return FTargetDeclination;
}

void TTelescope::Set_TargetDeclination(double decDegrees) {
  log("SET TargetDeclination " + number(decDegrees));
  if (!decInRange(decDegrees)) {
    throw DriverError(codes::kInvalidValue, messages::kDeclinationOutOfRange);
  }
  FTargetDeclination = decDegrees;
  rt_.state.TargetDeclinationSet = true;
}

}  // namespace tramox::driver
