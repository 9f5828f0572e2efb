#pragma once
// Shared helpers for the astronomy tests: units and angular distances.
#include <erfa.h>

namespace tramox::astro::test {

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kArcsecond = kPi / 180.0 / 3600.0;
inline constexpr double kDegree = kPi / 180.0;

// Angle between two places, radians.
inline double Separation(double ra1, double dec1, double ra2, double dec2) {
  return eraSeps(ra1, dec1, ra2, dec2);
}

}  // namespace tramox::astro::test
