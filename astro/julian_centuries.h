#pragma once
// The time argument of the precession, obliquity and nutation theories.

namespace tramox::astro {

inline constexpr double kJulianDateJ2000 = 2451545.0;
inline constexpr double kDaysPerJulianCentury = 36525.0;
// Arcseconds to radians, the value the theories here have always been evaluated with.
inline constexpr double kArcsecondsToRadians = 4.84813681109536e-6;

// Julian centuries from J2000.0 of a Julian date (UT used as TT, no delta T).
constexpr double JulianCenturiesSinceJ2000(double julianDate) {
  return (julianDate - kJulianDateJ2000) / kDaysPerJulianCentury;
}

}  // namespace tramox::astro
