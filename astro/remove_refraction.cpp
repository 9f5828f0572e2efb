#include <cmath>

#include "astro/angle_utilities.h"
#include "astro/horizontal_place.h"
#include "astro/radec_transform.h"
#include "common/units.h"

namespace tramox::astro {

namespace {
// cos z at z = arctan 4 (altitude 14.04 deg): below it the two-term model is not trusted.
constexpr double kCosZenithDistanceSwitch = 0.242535625;
}  // namespace

double TRADECtranfos::RefractionAt(double altitudeRad) const {
  const double z = units::kPi / 2.0 - altitudeRad;
  if (std::cos(z) < kCosZenithDistanceSwitch) {
    return Integral(z);
  }
  const double tanZ = std::tan(z);
  return tanZ * (RefractionA + RefractionB * tanZ * tanZ);
}

RaDec TRADECtranfos::RemoveRefraction(double raRad, double decRad, double lstRad) const {
  const HorizontalPlace observed = HorizontalPlaceOf(raRad, decRad, lstRad, LatitudeRad);
  const double azimuth = observed.azimuthRad;
  const double altitude = observed.altitudeRad;
  if (altitude <= 0.0) {
    return {raRad, decRad};
  }
  const double trueAltitude = AddDeclination(altitude, -RefractionAt(altitude));
  const double sinPhi = std::sin(LatitudeRad);
  const double cosPhi = std::cos(LatitudeRad);
  const double sinAlt = std::sin(trueAltitude);
  const double cosAlt = std::cos(trueAltitude);
  const double cosAz = std::cos(azimuth);
  const double trueHourAngle =
      FullCircleArcTan(-std::sin(azimuth) * cosAlt, sinAlt * cosPhi - cosAlt * cosAz * sinPhi);
  const double trueDec = ArcSinClamped(sinAlt * sinPhi + cosAlt * cosAz * cosPhi);
  return {AddRightAscension(lstRad, -trueHourAngle), trueDec};
}

}  // namespace tramox::astro
