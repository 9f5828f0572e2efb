#include <cmath>

#include "astro/angle_utilities.h"
#include "astro/radec_transform.h"

namespace tramox::astro {

namespace {
// Equatorial rotation speed over the speed of light, radians.
constexpr double kDiurnalAberrationConstantRad = 1.5472e-6;
}  // namespace

void TRADECtranfos::DiurnalAberration(Direction direction, double& raRad, double& decRad,
                                      double lstRad) const {
  const double hourAngle = lstRad - raRad;
  const double k = kDiurnalAberrationConstantRad * GeocentricRadius * std::cos(GeocentricLatitude);
  const double cosDec = std::cos(decRad);
  const double dRa = cosDec == 0.0 ? 0.0 : k * std::cos(hourAngle) / cosDec;
  const double dDec = k * std::sin(hourAngle) * std::sin(decRad);
  ShiftPlace(direction, raRad, decRad, dRa, dDec);
}

}  // namespace tramox::astro
