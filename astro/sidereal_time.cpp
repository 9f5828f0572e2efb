#include <cmath>

#include "astro/time_scales.h"
#include "common/units.h"

namespace tramox::astro {

namespace {
// Automation date of 1899 December 31 12:00 UT (JD 2415020.0, 1900 January 0.5).
constexpr double kEpoch1900 = 1.5;
constexpr double kDaysPerJulianCentury = 36525.0;
constexpr double kSecondsPerDay = 86400.0;
}  // namespace

double LocalSiderealTime(double westLongitudeRad, double utDate) {
  const double t = (utDate - kEpoch1900) / kDaysPerJulianCentury;
  // 67125.836 s is 6h38m45.836s plus the 12 h from noon; 3164400184.542 s per century is
  // Newcomb's 8640184.542 plus 86400 s for each of the 36525 days, so the elapsed days and
  // the time of day ride in the linear term.
  const double seconds = 0.0929 * t * t + (3164400184.542 * t + 67125.836) - 10.0;
  const double turns = seconds / kSecondsPerDay;
  const double hours = (turns - std::trunc(turns)) * kSecondsPerDay / 3600.0;
  const double greenwichRad = units::toRadiansDividingFirst(hours, 12.0);
  double lst = std::fmod(greenwichRad - westLongitudeRad, units::kTwoPi);
  if (lst < 0.0) {
    lst += units::kTwoPi;
  }
  // A value a rounding error below zero comes back as 2pi, which is the same angle as 0.
  if (lst >= units::kTwoPi) {
    lst = 0.0;
  }
  return lst;
}

}  // namespace tramox::astro
