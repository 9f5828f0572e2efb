#pragma once
// Sidereal time for the simulated controller, which keeps its own clock apart from the driver's.
#include "common/units.h"

namespace tramox::sim {

// The Earth's turn against the stars, radians per UTC second, at the rate of the sidereal-time
// expression below (one turn in about 86164.09 s). The mount tracks at this rate.
inline constexpr double kEarthTurnRadPerSec = 360.98564736629 / 86400.0 * units::kPi / 180.0;

// Greenwich mean sidereal time (IAU 1982 expression, UT1 taken as UTC), radians in [0, 2π).
//   utcSeconds: UTC, seconds since 1970-01-01 00:00.
double greenwichSiderealTimeRad(double utcSeconds);

// Local mean sidereal time, radians in [0, 2π), for a longitude in radians positive west.
double localSiderealTimeRad(double utcSeconds, double lonWestRad);

// Angle wrapped into [0, 2π) and into (−π, π].
double wrapTwoPi(double angleRad);
double wrapPi(double angleRad);

}  // namespace tramox::sim
