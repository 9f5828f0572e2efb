// Altitude and Azimuth: where the mount points on the site's sky, from the controller's place
// of date and the sidereal time, as the refraction stage turns them.
#include <cmath>

#include "astro/horizontal_place.h"
#include "astro/time_scales.h"
#include "common/driver_error.h"
#include "common/units.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"

namespace tramox::driver {

namespace {

// Into [0°, 360°): 360 itself, which rounding can give, is north again.
double azimuthDegrees(double azimuthRad) {
  const double degrees = std::fmod(units::radiansToDegrees(azimuthRad), 360.0);
  const double wrapped = degrees < 0.0 ? degrees + 360.0 : degrees;
  return wrapped >= 360.0 ? 0.0 : wrapped;
}

astro::HorizontalPlace placeNow(const astro::RaDec& place, double siteLongitudeEast,
                                double siteLatitude, double universalTime) {
  const double lstRad =
      astro::LocalSiderealTime(units::degreesToRadians(-siteLongitudeEast), universalTime);
  return astro::HorizontalPlaceOf(place.raRad, place.decRad, lstRad,
                                  units::degreesToRadians(siteLatitude));
}

}  // namespace

astro::RaDec TTelescope::mountPlaceOfDate() {
  const double raRad = controllerRightAscensionRad();
  double decRad = 0.0;
  if (!rt_.controller.GetDeltaCodeursDevice_DLL(&decRad)) {
    logResult("Error");
    throw DriverError(codes::kDeclinationUnreadable, messages::kCanNotGetDeclination);
  }
  return {raRad, decRad};
}

double TTelescope::Get_Altitude() {
  logAsk("Altitude");
  const astro::RaDec place = mountPlaceOfDate();
  const double degrees = units::radiansToDegrees(
      placeNow(place, FSiteLongitude, FSiteLatitude, universalTimeNow()).altitudeRad);
  logResult(degrees);
  return degrees;
}

double TTelescope::Get_Azimuth() {
  logAsk("Azimuth");
  const astro::RaDec place = mountPlaceOfDate();
  const double degrees =
      azimuthDegrees(placeNow(place, FSiteLongitude, FSiteLatitude, universalTimeNow()).azimuthRad);
  logResult(degrees);
  return degrees;
}

}  // namespace tramox::driver
