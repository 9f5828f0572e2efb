#include <array>
#include <cmath>
#include <cstddef>

#include "astro/angle_utilities.h"
#include "astro/julian_centuries.h"
#include "astro/nutation.h"
#include "astro/nutation_terms.h"
#include "common/units.h"

namespace tramox::astro {

namespace {

// Highest multiple of each argument in the series; the tests hold the table to these.
constexpr int kMaxMultipleL = 3;
constexpr int kMaxMultipleLPrime = 2;
constexpr int kMaxMultipleF = 4;
constexpr int kMaxMultipleD = 4;
constexpr int kMaxMultipleOmega = 2;
constexpr int kTableHalfWidth = 4;

// sin and cos of e*x for e = -4 .. 4, stored at e + 4; e = 0 gives (0, 1), so a zero
// multiplier combines as the identity and every term can be built without branches.
struct SignedMultiples {
  std::array<double, 2 * kTableHalfWidth + 1> sinE{};
  std::array<double, 2 * kTableHalfWidth + 1> cosE{};

  SignedMultiples(int n, double xRad) {
    std::array<double, kTableHalfWidth> s{}, c{};
    SinCosMultiples(n, xRad, s, c);
    sinE[kTableHalfWidth] = 0.0;
    cosE[kTableHalfWidth] = 1.0;
    for (int k = 1; k <= n; ++k) {
      sinE[kTableHalfWidth + k] = s[k - 1];
      cosE[kTableHalfWidth + k] = c[k - 1];
      sinE[kTableHalfWidth - k] = -s[k - 1];
      cosE[kTableHalfWidth - k] = c[k - 1];
    }
  }

  // (sin phi, cos phi) <- (sin(phi + e x), cos(phi + e x)).
  void AddTo(int e, double& sinPhi, double& cosPhi) const {
    const double sm = sinE[e + kTableHalfWidth];
    const double cm = cosE[e + kTableHalfWidth];
    const double s = sm * cosPhi + cm * sinPhi;
    cosPhi = cm * cosPhi - sm * sinPhi;
    sinPhi = s;
  }
};

// sin and cos of i x + j y for every pair of multipliers (i, j) the series uses, built from
// the x table then the y table, so a term starts from one entry instead of two rotations.
template <int kHalfI, int kHalfJ>
struct MultiplePairs {
  static constexpr int kWidthJ = 2 * kHalfJ + 1;
  std::array<double, (2 * kHalfI + 1) * kWidthJ> sinPair{};
  std::array<double, (2 * kHalfI + 1) * kWidthJ> cosPair{};

  MultiplePairs(const SignedMultiples& x, const SignedMultiples& y) {
    for (int i = -kHalfI; i <= kHalfI; ++i) {
      for (int j = -kHalfJ; j <= kHalfJ; ++j) {
        double s = x.sinE[i + kTableHalfWidth];
        double c = x.cosE[i + kTableHalfWidth];
        y.AddTo(j, s, c);
        sinPair[Index(i, j)] = s;
        cosPair[Index(i, j)] = c;
      }
    }
  }

  static int Index(int i, int j) { return (i + kHalfI) * kWidthJ + j + kHalfJ; }
};

double ArgumentRad(double c0, double c1, double c2, double c3, double t) {
  return units::degreesToRadians(ReduceDegrees(c0 + t * (c1 + t * (c2 + t * c3))));
}

}  // namespace

NutationAnglesRad NutationAngles(double julianDate) {
  const double t = JulianCenturiesSinceJ2000(julianDate);
  // Fundamental arguments, degrees and degrees per Julian century.
  const double l = ArgumentRad(134.9629814, 477198.8673981, 0.0086972, 0.00001778, t);
  const double lPrime = ArgumentRad(357.5277233, 35999.05034, -0.0001603, -0.00000333, t);
  const double f = ArgumentRad(93.2719103, 483202.0175381, -0.0036825, 0.000003056, t);
  const double d = ArgumentRad(297.8503631, 445267.11148, -0.0019142, 0.000005278, t);
  const double omega = ArgumentRad(125.0445222, -1934.1362608, 0.00207083, 0.00000222, t);

  const SignedMultiples ml(kMaxMultipleL, l);
  const SignedMultiples mlPrime(kMaxMultipleLPrime, lPrime);
  const SignedMultiples mf(kMaxMultipleF, f);
  const SignedMultiples md(kMaxMultipleD, d);
  const SignedMultiples mOmega(kMaxMultipleOmega, omega);
  // A term's argument is built as (i l + j l') + k F + (m D + n Om): the same angle as adding
  // the five multiples one by one, with two rotations per term instead of five.
  const MultiplePairs<kMaxMultipleL, kMaxMultipleLPrime> anomalies(ml, mlPrime);
  const MultiplePairs<kMaxMultipleD, kMaxMultipleOmega> elongationNode(md, mOmega);

  // Term 1, arcseconds.
  double dPsi = (-17.1996 - 0.01742 * t) * mOmega.sinE[kTableHalfWidth + 1];
  double dEps = (9.2025 + 0.00089 * t) * mOmega.cosE[kTableHalfWidth + 1];

  for (const NutationTerm& term : kNutationTerms) {
    const int first = anomalies.Index(term.l, term.lp);
    double sinPhi = anomalies.sinPair[first];
    double cosPhi = anomalies.cosPair[first];
    mf.AddTo(term.f, sinPhi, cosPhi);
    const int last = elongationNode.Index(term.d, term.om);
    const double sinLast = elongationNode.sinPair[last];
    const double cosLast = elongationNode.cosPair[last];
    const double sinArgument = sinLast * cosPhi + cosLast * sinPhi;
    const double cosArgument = cosLast * cosPhi - sinLast * sinPhi;
    const double longitude = term.a * 1e-4 + term.b * 1e-5 * t;
    const double obliquity = term.c * 1e-4 + term.dRate * 1e-5 * t;
    dPsi += longitude * sinArgument;
    dEps += obliquity * cosArgument;
  }

  constexpr double kArcsecondsToRad = units::kPi / 180.0 / 3600.0;
  return {dPsi * kArcsecondsToRad, dEps * kArcsecondsToRad};
}

}  // namespace tramox::astro
