#include <cmath>

#include "astro/angle_utilities.h"
#include "astro/nutation.h"

namespace tramox::astro {

namespace {
// 23.45 degrees: a round obliquity is ample for a first-order correction of a few arcseconds.
constexpr double kFixedObliquityRad = 0.4092797095926703;
}  // namespace

void ApplyNutation(Direction direction, double& raRad, double& decRad, double dPsiRad,
                   double dEpsRad) {
  const double cosEps = std::cos(kFixedObliquityRad);
  const double sinEps = std::sin(kFixedObliquityRad);
  const double sinRa = std::sin(raRad);
  const double cosRa = std::cos(raRad);
  const double tanDec = std::tan(decRad);
  const double dRa = (cosEps + sinEps * sinRa * tanDec) * dPsiRad - cosRa * tanDec * dEpsRad;
  const double dDec = sinEps * cosRa * dPsiRad + sinRa * dEpsRad;
  ShiftPlace(direction, raRad, decRad, dRa, dDec);
}

}  // namespace tramox::astro
