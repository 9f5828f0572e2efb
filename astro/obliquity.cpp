#include "astro/obliquity.h"

#include <cmath>

#include "astro/julian_centuries.h"

namespace tramox::astro {

Obliquity MeanObliquity(double julianDate) {
  const double t = JulianCenturiesSinceJ2000(julianDate);
  double arcseconds = 0.0;
  if (std::fabs(t) < 2.0) {
    arcseconds = 84381.448 + t * (-46.815 + t * (-0.00059 + t * 0.001813));
  } else {
    // Laskar's coefficients, arcseconds per power of Julian millennia, highest power first.
    static constexpr double kLaskar[] = {0.000000000245, 0.00000000579, 0.0000002787, 0.000000712,
                                         -0.00003905,    -0.0024967,    -0.005138,    1.99925,
                                         -0.0155,        -468.093};
    const double millennia = t / 10.0;
    double p = 0.0;
    for (double c : kLaskar) {
      p = (p + c) * millennia;
    }
    arcseconds = 84381.448 + p;
  }
  const double epsilon = arcseconds * kArcsecondsToRadians;
  return {epsilon, std::cos(epsilon), std::sin(epsilon)};
}

}  // namespace tramox::astro
