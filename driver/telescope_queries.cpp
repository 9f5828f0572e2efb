// Position and status reads that ask the controller or the clock.
#include "astro/time_scales.h"
#include "common/driver_error.h"
#include "common/units.h"
#include "driver/position_labels.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"

namespace tramox::driver {

double TTelescope::Get_RightAscension() {
  logAsk("RightAscension");
  const double raRad = controllerRightAscensionRad();
  const double raHours = units::radiansToHours(raRad);
  FLastRightAscension = raHours;
  // A declination the controller cannot give leaves the previous one, here and in the paddle.
  double decRad = 0.0;
  if (rt_.controller.GetDeltaCodeursDevice_DLL(&decRad)) {
    FLastDeclination = units::radiansToDegrees(decRad);
  }
  if (FConnected && rt_.state.pipeline && rt_.state.paddle) {
    showPaddlePosition(raRad);
  }
  logResult(raHours);
  return raHours;
}

double TTelescope::controllerRightAscensionRad() {
  controller::ControllerLibrary& mount = rt_.controller;
  double raRad = 0.0;
  if (!mount.CheckCodeursCodeursDevice_DLL() || !mount.GetAlphaCodeursDevice_DLL(&raRad)) {
    logResult("Error");
    throw DriverError(codes::kInvalidState, messages::kCannotGetRightAscension);
  }
  return raRad;
}

// The paddle shows the mean place of J2000.0; clients get the controller's own coordinates.
// The conversion waits until someone reads the paddle; it works from the instant, the
// position and a copy of the pipeline of this read, so the texts come out as if made now.
// Only the next read rewrites that copy, and it hands the paddle a new producer with it.
void TTelescope::showPaddlePosition(double raRad) {
  rt_.state.paddlePosition = ProcessState::PaddlePosition{
      *rt_.state.pipeline, universalTimeNow(), raRad, units::degreesToRadians(FLastDeclination)};
  paddle::TRaquette& paddle = *rt_.state.paddle;
  paddle.SetTextsWhenRead([&position = *rt_.state.paddlePosition] {
    const astro::RaDec mean =
        position.pipeline.ObservedToMeanJ2000(position.utDate, position.raRad, position.decRad);
    return paddle::TRaquette::Texts{
        {"LabelAD", rightAscensionLabel(units::radiansToHours(mean.raRad))},
        {"LabelDEC", declinationLabel(units::radiansToDegrees(mean.decRad))}};
  });
  const char* side = "";
  if (rt_.controller.GermanMount_DLL()) {
    side = rt_.controller.TelescopeOuest_DLL() ? "W" : "E";
  }
  paddle.SetText("LabelSideOfPier", side);
}

double TTelescope::Get_Declination() {
  logAsk("Declination");
  controller::ControllerLibrary& mount = rt_.controller;
  if (!mount.CheckCodeursCodeursDevice_DLL()) {
    logResult(" Error");
    throw DriverError(codes::kDeclinationUnreadable, messages::kCannotGetDeclination);
  }
  double decRad = 0.0;
  if (!mount.GetDeltaCodeursDevice_DLL(&decRad)) {
    logResult(" Error");
    throw DriverError(codes::kDeclinationUnreadable, messages::kCanNotGetDeclination);
  }
  FLastDeclination = units::radiansToDegrees(decRad);
  logResult(FLastDeclination);
  return FLastDeclination;
}

std::int32_t TTelescope::Get_AlignmentMode() {
  const std::int32_t mode = rt_.controller.GermanMount_DLL() ? algGermanPolar : algPolar;
  log("ASK for AlignmentMode=" + std::to_string(mode));
  return mode;
}

std::int32_t TTelescope::Get_SideOfPier() {
  logAsk("SideOfPier");
  if (!rt_.controller.GermanMount_DLL()) {
    throw DriverError(codes::kNotImplemented, messages::kNotGermanMount);
  }
  if (rt_.controller.TelescopeOuest_DLL()) {
    logResult("Ouest");
    return pierWest;
  }
  logResult("Est");
  return pierEast;
}

bool TTelescope::Get_Slewing() {
  logAsk("Slewing");
  const bool slewing = axesMoving();
  // A park motion that has ended is asked about once: parked, or stopped short.
  if (FParking && !slewing) {
    settleParkState(controllerReportsParked(), false);
  }
  logResult(slewing);
  return slewing;
}

bool TTelescope::Get_IsPulseGuiding() {
  logAsk("IsPulseGuiding");
  const bool guiding = rt_.controller.IsPulseGuidingDevice_DLL();
  logResult(guiding);
  return guiding;
}

double TTelescope::universalTimeNow() {
  platform::IClock& clock = *rt_.services.clock;
  return clock.nowLocal() - platform::CurrentUtBias(clock.timeZone());
}

double TTelescope::Get_SiderealTime() {
  logAsk("SiderealTime");
  const double lonWestRad = units::degreesToRadians(-FSiteLongitude);
  const double hours = units::fromRadiansMultiplyingFirst(
      astro::LocalSiderealTime(lonWestRad, universalTimeNow()), 12.0);
  logResult(hours);
  return hours;
}

double TTelescope::Get_UTCDate() {
  log("ASK for Get_UTCDate");
  const double utc = universalTimeNow();
  logResult(utc);
  return utc;
}

bool TTelescope::Get_Tracking() {
  logAsk("Tracking");
  logResult(FTracking);
  return FTracking;
}

}  // namespace tramox::driver
