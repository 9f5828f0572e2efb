#include "astro/refraction.h"

namespace tramox::astro {

namespace {
constexpr double kZenithDistance45Deg = 0.7853981633974483;   // arctan 1
constexpr double kZenithDistanceArctan4 = 1.325817663668033;  // 75.96 degrees
}  // namespace

RefractionCoefficients RefractionConstants(double heightM, double temperatureK, double pressureMbar,
                                           double relativeHumidity, double wavelengthUm,
                                           double latitudeRad, double lapseRateKPerM,
                                           double precisionRad) {
  const double r1 =
      RefractionIntegral(kZenithDistance45Deg, heightM, temperatureK, pressureMbar,
                         relativeHumidity, wavelengthUm, latitudeRad, lapseRateKPerM, precisionRad);
  const double r2 =
      RefractionIntegral(kZenithDistanceArctan4, heightM, temperatureK, pressureMbar,
                         relativeHumidity, wavelengthUm, latitudeRad, lapseRateKPerM, precisionRad);
  // tan Z is 1 and 4 at the two points: r1 = A + B, r2 = 4A + 64B.
  return {(64.0 * r1 - r2) / 60.0, (r2 - 4.0 * r1) / 60.0};
}

}  // namespace tramox::astro
