#include "simulator/sidereal_time.h"

#include <cmath>

#include "common/units.h"

namespace tramox::sim {
namespace {

// 2000-01-01 12:00 UTC (JD 2451545.0) in seconds since 1970; counting days from it directly
// keeps the sub-millisecond precision a Julian date in one double would lose.
constexpr double kJ2000UtcSeconds = 946728000.0;
constexpr double kDaysPerJulianCentury = 36525.0;

}  // namespace

double wrapTwoPi(double angleRad) {
  double wrapped = std::fmod(angleRad, units::kTwoPi);
  if (wrapped < 0.0) {
    wrapped += units::kTwoPi;
  }
  // fmod of a tiny negative angle can round up to exactly 2π.
  return wrapped >= units::kTwoPi ? 0.0 : wrapped;
}

double wrapPi(double angleRad) {
  const double wrapped = wrapTwoPi(angleRad);
  return wrapped > units::kPi ? wrapped - units::kTwoPi : wrapped;
}

double greenwichSiderealTimeRad(double utcSeconds) {
  const double daysSinceJ2000 = (utcSeconds - kJ2000UtcSeconds) / 86400.0;
  const double centuries = daysSinceJ2000 / kDaysPerJulianCentury;
  const double degrees = 280.46061837 + 360.98564736629 * daysSinceJ2000 +
                         0.000387933 * centuries * centuries -
                         centuries * centuries * centuries / 38710000.0;
  return wrapTwoPi(units::degreesToRadians(std::fmod(degrees, 360.0)));
}

double localSiderealTimeRad(double utcSeconds, double lonWestRad) {
  return wrapTwoPi(greenwichSiderealTimeRad(utcSeconds) - lonWestRad);
}

}  // namespace tramox::sim
