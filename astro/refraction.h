#pragma once
// Astronomical refraction through a two-layer model atmosphere.

namespace tramox::astro {

// Above this many strips the refraction integral stops halving and keeps its last estimate.
inline constexpr int kRefractionMaxStrips = 16384;

struct RefractionCoefficients {
  double aRad = 0;  // coefficient of tan Z
  double bRad = 0;  // coefficient of tan^3 Z
};

// RefractionIntegral: refraction by numerical integration through the atmosphere.
//   Given: zenithDistanceRad  observed zenith distance, radians
//          heightM            observer's height above sea level, metres
//          temperatureK       ambient temperature at the observer, kelvin
//          pressureMbar       pressure at the observer, millibar (= hPa)
//          relativeHumidity   0 .. 1
//          wavelengthUm       effective wavelength, micrometres
//          latitudeRad        observer's latitude, radians
//          lapseRateKPerM     tropospheric temperature lapse rate, kelvin per metre
//          precisionRad       precision at which the iteration stops, radians
//   Returns: unrefracted minus observed zenith distance, radians (negated for negative z)
// Notes:
//   1. Troposphere with a constant lapse rate up to 11 km and an isothermal stratosphere up
//      to 80 km; Simpson's rule over the zenith distance of the ray, the strip count doubled
//      until two estimates agree within precision / 2. The strip count and previous
//      estimate carry over from the troposphere into the stratosphere.
//   2. The arguments are bounded, never rejected: |z| to 93 deg, height to [-1000, 10000],
//      temperature to [100, 500], pressure to [0, 10000], humidity to [0, 1], wavelength to
//      at least 0.1, |lapse rate| to [0.001, 0.01], |precision| to [1e-12, 0.1].
//   3. Wavelengths above 100 um use the radio refractivity.
//   4. The halving stops at kRefractionMaxStrips strips: at the smallest precision the two
//      estimates can stay apart by rounding alone. The pipeline's arguments end at 16 to 32
//      strips in the troposphere and 128 in the stratosphere, far below the cap.
//   5. Zero pressure gives zero refraction.
// Reference: Hohenkerk & Sinclair (1985), NAO Technical Note 63; Auer & Standish (2000),
//   Astron. J. 119, 2472.
double RefractionIntegral(double zenithDistanceRad, double heightM, double temperatureK,
                          double pressureMbar, double relativeHumidity, double wavelengthUm,
                          double latitudeRad, double lapseRateKPerM, double precisionRad);

// RefractionConstants: A and B of the model dZ = A tan Z + B tan^3 Z, fitted to the integral.
//   Given: the arguments of RefractionIntegral without the zenith distance
//   Returns: A and B, radians
// Notes: the model reproduces RefractionIntegral exactly at Z = 45 deg and Z = arctan 4
//   (75.96 deg), the two zenith distances at which the integral is evaluated.
RefractionCoefficients RefractionConstants(double heightM, double temperatureK, double pressureMbar,
                                           double relativeHumidity, double wavelengthUm,
                                           double latitudeRad, double lapseRateKPerM,
                                           double precisionRad);

}  // namespace tramox::astro
