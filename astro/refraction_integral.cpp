#include <algorithm>
#include <cmath>

#include "astro/angle_utilities.h"
#include "astro/refraction.h"

namespace tramox::astro {

namespace {

constexpr double kMaxZenithDistanceRad = 1.623156204;  // 93 degrees
constexpr double kGasConstant = 8314.32;               // J / (kmol K)
constexpr double kDryAirMolecularWeight = 28.9644;
// One minus the ratio of the molecular weights of water vapour (18.0152) and dry air.
constexpr double kWaterVapourWeightTerm = 0.3780226761127453;
// The mean Earth radius of the Hohenkerk and Sinclair (1985) refraction model; the site's
// geocentric radius uses the IAU 1964 ellipsoid's 6378160 m instead (geocentric_site.cpp).
constexpr double kEarthRadiusM = 6378120.0;
constexpr double kTropopauseRadiusM = kEarthRadiusM + 11000.0;
constexpr double kUpperLimitRadiusM = kEarthRadiusM + 80000.0;
// Exponent of the temperature dependence of water-vapour pressure.
constexpr double kVapourExponent = 18.36;
constexpr double kCelsiusOffset = 273.155;
constexpr int kInitialStrips = 8;

struct LayerPoint {
  double n;      // refractive index
  double rDnDr;  // r dn/dr
  double temperatureK;
};

double Integrand(const LayerPoint& p) {
  return p.rDnDr / (p.n + p.rDnDr);
}

struct Troposphere {
  double r0, t0, alpha, gammaMinus2, c1, c2, c3, c4, c5, c6;

  LayerPoint At(double r) const {
    const double t = std::max(std::min(t0 - alpha * (r - r0), 320.0), 100.0);
    const double q = t / t0;
    // One logarithm for both powers: this is the inner loop of the integration.
    const double logQ = std::log(q);
    const double qGamma = std::exp(gammaMinus2 * logQ);
    const double qDelta = std::exp((kVapourExponent - 2.0) * logQ);
    const double n = 1.0 + (c1 * qGamma - (c2 - c5 / t) * qDelta) * q;
    const double rDnDr = r * (-c3 * qGamma + (c4 - c6 / q) * qDelta);
    return {n, rDnDr, t};
  }
};

struct Stratosphere {
  double rt, tt, nt, b;  // b = gamma_al / tt, per metre

  LayerPoint At(double r) const {
    const double w = (nt - 1.0) * std::exp(-b * (r - rt));
    return {1.0 + w, -r * b * w, tt};
  }
};

// Simpson's rule over one layer, halving the strips until two estimates agree. The strip
// count and the previous estimate are shared with the other layer.
template <typename Layer>
double IntegrateLayer(const Layer& layer, double z0, double range, double fb, double ff,
                      double radius, double sk0, double tolerance, int& strips, double& previous) {
  double fo = 0.0;
  double fe = 0.0;
  int step = 1;
  for (;;) {
    const double h = range / strips;
    double r = radius;
    for (int i = 1; i < strips; i += step) {
      const double sz = std::sin(z0 + h * i);
      if (sz > 1e-20) {
        // Newton's method for the radius at which n r sin z = sk0 (Snell's law).
        const double target = sk0 / sz;
        double rg = r;
        double dr = 2.0;
        for (int j = 0; std::fabs(dr) > 1.0 && j <= 4; ++j) {
          const LayerPoint p = layer.At(rg);
          dr = (rg * p.n - target) / (p.n + p.rDnDr);
          rg -= dr;
        }
        r = rg;
      }
      const double value = Integrand(layer.At(r));
      if (step == 1 && i % 2 == 0) {
        fe += value;
      } else {
        fo += value;
      }
    }
    const double estimate = h * (fb + 4.0 * fo + 2.0 * fe + ff) / 3.0;
    // On agreement the previous estimate is left as it is: the next layer compares its
    // first estimate with it.
    if (!(std::fabs(estimate - previous) > tolerance) || strips >= kRefractionMaxStrips) {
      return estimate;
    }
    previous = estimate;
    strips *= 2;
    fe += fo;
    fo = 0.0;
    step = 2;
  }
}

}  // namespace

double RefractionIntegral(double zenithDistanceRad, double heightM, double temperatureK,
                          double pressureMbar, double relativeHumidity, double wavelengthUm,
                          double latitudeRad, double lapseRateKPerM, double precisionRad) {
  const double z2 = std::min(std::fabs(zenithDistanceRad), kMaxZenithDistanceRad);
  const double height = std::clamp(heightM, -1000.0, 10000.0);
  const double temperature = std::clamp(temperatureK, 100.0, 500.0);
  const double pressure = std::clamp(pressureMbar, 0.0, 10000.0);
  const double humidity = std::clamp(relativeHumidity, 0.0, 1.0);
  const double wavelength = std::max(wavelengthUm, 0.1);
  const double alpha = std::clamp(std::fabs(lapseRateKPerM), 0.001, 0.01);
  const double tolerance = std::clamp(std::fabs(precisionRad), 1e-12, 0.1) / 2.0;
  const bool optical = wavelength <= 100.0;

  const double g = 9.784 * (1.0 - 0.0026 * std::cos(2.0 * latitudeRad) - 0.00000028 * height);
  const double lambda2 = wavelength * wavelength;
  const double a = optical ? (287.604 + 1.6288 / lambda2 + 0.0136 / (lambda2 * lambda2)) *
                                 kCelsiusOffset / 1013.25 * 1e-6
                           : 77.624e-6;
  const double gammaAl = g * kDryAirMolecularWeight / kGasConstant;
  const double gamma = gammaAl / alpha;

  const double tc = temperature - kCelsiusOffset;
  const double psat = std::pow(10.0, (0.7859 + 0.03477 * tc) / (1.0 + 0.00412 * tc)) *
                      (1.0 + pressure * (4.5e-6 + 6e-10 * tc * tc));
  const double pw =
      pressure > 0.0 ? humidity * psat / (1.0 - (1.0 - humidity) * psat / pressure) : 0.0;
  const double w = pw * kWaterVapourWeightTerm * gamma / (kVapourExponent - gamma);

  Troposphere tropo{};
  tropo.r0 = kEarthRadiusM + height;
  tropo.t0 = temperature;
  tropo.alpha = alpha;
  tropo.gammaMinus2 = gamma - 2.0;
  tropo.c1 = a * (pressure + w) / temperature;
  tropo.c2 = (a * w + (optical ? 11.2684e-6 : 12.92e-6) * pw) / temperature;
  tropo.c3 = (gamma - 1.0) * alpha * tropo.c1 / temperature;
  tropo.c4 = (kVapourExponent - 1.0) * alpha * tropo.c2 / temperature;
  tropo.c5 = optical ? 0.0 : 0.371897 * pw / temperature;
  tropo.c6 = tropo.c5 * (kVapourExponent - 2.0) * alpha / (temperature * temperature);

  const LayerPoint observer = tropo.At(tropo.r0);
  const double sk0 = observer.n * tropo.r0 * std::sin(z2);
  const double fObserver = Integrand(observer);

  const LayerPoint tropopause = tropo.At(kTropopauseRadiusM);
  const double zt = ArcSinClamped(sk0 / (kTropopauseRadiusM * tropopause.n));
  const double ft = Integrand(tropopause);

  const Stratosphere strato{kTropopauseRadiusM, tropopause.temperatureK, tropopause.n,
                            gammaAl / tropopause.temperatureK};
  const LayerPoint stratoBase = strato.At(kTropopauseRadiusM);
  const double zts = ArcSinClamped(sk0 / (kTropopauseRadiusM * stratoBase.n));
  const double fts = Integrand(stratoBase);

  const LayerPoint top = strato.At(kUpperLimitRadiusM);
  const double zs = ArcSinClamped(sk0 / (kUpperLimitRadiusM * top.n));
  const double fs = Integrand(top);

  int strips = kInitialStrips;
  double previous = 1e6;
  const double troposphere =
      IntegrateLayer(tropo, z2, zt - z2, fObserver, ft, tropo.r0, sk0, tolerance, strips, previous);
  const double stratosphere = IntegrateLayer(strato, zts, zs - zts, fts, fs, kTropopauseRadiusM,
                                             sk0, tolerance, strips, previous);
  const double refraction = troposphere + stratosphere;
  return zenithDistanceRad < 0.0 ? -refraction : refraction;
}

}  // namespace tramox::astro
