#include <cmath>
#include <cstddef>

#include "astro/nutation.h"

namespace tramox::astro {

void SinCosMultiples(int n, double xRad, std::span<double> sinKx, std::span<double> cosKx) {
  if (n < 1 || sinKx.size() < static_cast<std::size_t>(n) ||
      cosKx.size() < static_cast<std::size_t>(n)) {
    return;
  }
  const double s1 = std::sin(xRad);
  const double c1 = std::cos(xRad);
  sinKx[0] = s1;
  cosKx[0] = c1;
  if (n >= 2) {
    sinKx[1] = 2.0 * s1 * c1;
    cosKx[1] = c1 * c1 - s1 * s1;
  }
  for (int k = 2; k < n; ++k) {
    sinKx[k] = s1 * cosKx[k - 1] + c1 * sinKx[k - 1];
    cosKx[k] = c1 * cosKx[k - 1] - s1 * sinKx[k - 1];
  }
}

}  // namespace tramox::astro
