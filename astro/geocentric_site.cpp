#include "astro/geocentric_site.h"

#include <cmath>

#include "common/units.h"

namespace tramox::astro {

namespace {
// Equatorial radius of the IAU 1964 ellipsoid, which the latitude series belongs to; the
// refraction model has its own mean radius, 6378120 m (refraction_integral.cpp).
constexpr double kEquatorialRadiusM = 6378160.0;
}  // namespace

GeocentricPosition GeocentricSite(double geodeticLatitudeRad, double elevationM) {
  const double phi = geodeticLatitudeRad;
  const double latitudeDeg = units::radiansToDegrees(phi) - 0.19242861 * std::sin(2.0 * phi) +
                             0.00032314 * std::sin(4.0 * phi) - 0.00000072 * std::sin(6.0 * phi);
  const double radius = 0.998327073 + 0.001676438 * std::cos(2.0 * phi) -
                        0.000003519 * std::cos(4.0 * phi) + 0.000000008 * std::cos(6.0 * phi) +
                        elevationM / kEquatorialRadiusM;
  return {radius, units::degreesToRadians(latitudeDeg)};
}

}  // namespace tramox::astro
