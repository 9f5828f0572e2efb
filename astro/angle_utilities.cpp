#include "astro/angle_utilities.h"

#include <algorithm>
#include <cmath>

#include "common/units.h"

namespace tramox::astro {

using units::kPi;
using units::kTwoPi;

double ReduceDegrees(double xDeg) {
  if (!std::isfinite(xDeg)) {
    return xDeg;
  }
  double r = xDeg - 360.0 * std::trunc(xDeg / 360.0);
  while (r < 0.0) {
    r += 360.0;
  }
  while (r > 360.0) {
    r -= 360.0;
  }
  return r;
}

double AddRightAscension(double raRad, double deltaRad) {
  double s = raRad + deltaRad;
  if (!std::isfinite(s)) {
    return s;
  }
  // Whole turns first, so an absurd input cannot keep the loops below spinning.
  if (std::fabs(s) > 4.0 * kTwoPi) {
    s = std::fmod(s, kTwoPi);
  }
  while (s < 0.0) {
    s += kTwoPi;
  }
  while (s > kTwoPi) {
    s -= kTwoPi;
  }
  return s;
}

double AddDeclination(double decRad, double deltaRad) {
  double s = decRad + deltaRad;
  if (s > kPi / 2.0) {
    s = kPi - s;
  }
  if (s < -kPi / 2.0) {
    s = -kPi - s;
  }
  return s;
}

double FullCircleArcTan(double y, double x) {
  if (x == 0.0) {
    if (y > 0.0) {
      return kPi / 2.0;
    }
    if (y < 0.0) {
      return 3.0 * kPi / 2.0;
    }
    return 0.0;
  }
  if (y == 0.0) {
    return x > 0.0 ? 0.0 : -kPi;
  }
  const double a = std::atan(y / x);
  return x > 0.0 ? a : a + kPi;
}

double ArcSinClamped(double s) {
  return std::asin(std::clamp(s, -1.0, 1.0));
}

double ArcCosClamped(double c) {
  return std::acos(std::clamp(c, -1.0, 1.0));
}

void ShiftPlace(Direction direction, double& raRad, double& decRad, double dRaRad, double dDecRad) {
  if (direction == Direction::Remove) {
    dRaRad = -dRaRad;
    dDecRad = -dDecRad;
  }
  raRad = AddRightAscension(raRad, dRaRad);
  decRad = AddDeclination(decRad, dDecRad);
}

}  // namespace tramox::astro
