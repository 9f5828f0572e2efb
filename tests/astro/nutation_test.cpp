#include <erfa.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "astro/nutation.h"
#include "astro/nutation_terms.h"
#include "astro/obliquity.h"
#include "tests/astro/angle_test_support.h"

namespace tramox::astro {
namespace {

using test::kArcsecond;
using test::kDegree;

constexpr double kMilliarcsecond = kArcsecond / 1000.0;

TEST(SinCosMultiples, MatchesDirectEvaluation) {
  std::array<double, 6> s{}, c{};
  for (double x : {0.0, 0.3, -2.1, 5.9}) {
    SinCosMultiples(6, x, s, c);
    for (int k = 1; k <= 6; ++k) {
      EXPECT_NEAR(s[k - 1], std::sin(k * x), 1e-14) << "k " << k << " x " << x;
      EXPECT_NEAR(c[k - 1], std::cos(k * x), 1e-14) << "k " << k << " x " << x;
    }
  }
}

TEST(NutationTerms, HoldThePublishedSeriesShape) {
  // First and last rows as published, and the largest term (semi-annual, 2F - 2D + 2Om).
  const NutationTerm& first = kNutationTerms.front();
  EXPECT_EQ(first.om, 2);
  EXPECT_EQ(first.a, 2062);
  EXPECT_EQ(first.c, -895);
  const NutationTerm& last = kNutationTerms.back();
  EXPECT_EQ(last.lp, 1);
  EXPECT_EQ(last.d, 1);
  EXPECT_EQ(last.a, 1);
  EXPECT_EQ(kNutationTerms[7].a, -13187);
  // NutationAngles tabulates multiples up to 3 l, 2 l', 4 F, 4 D, 2 Om.
  for (const NutationTerm& t : kNutationTerms) {
    EXPECT_LE(std::abs(t.l), 3);
    EXPECT_LE(std::abs(t.lp), 2);
    EXPECT_LE(std::abs(t.f), 4);
    EXPECT_LE(std::abs(t.d), 4);
    EXPECT_LE(std::abs(t.om), 2);
  }
}

TEST(NutationAngles, AgreeWithErfaNut80) {
  for (double jd : {2451545.0, 2415020.5, 2440000.5, 2455197.5, 2460676.25, 2488069.5,
                    2451545.0 - 1.99 * 36525.0}) {
    double dPsi = 0, dEps = 0;
    eraNut80(jd, 0.0, &dPsi, &dEps);
    const NutationAnglesRad ours = NutationAngles(jd);
    EXPECT_NEAR(ours.dPsiRad, dPsi, 1e-4 * kMilliarcsecond) << "JD " << jd;
    EXPECT_NEAR(ours.dEpsRad, dEps, 1e-4 * kMilliarcsecond) << "JD " << jd;
  }
}

TEST(NutationAngles, LeadingTermDominatesAtJ2000) {
  const double omega = 125.0445222 * kDegree;
  const NutationAnglesRad n = NutationAngles(2451545.0);
  // The other 105 terms add up to well under 1.5".
  EXPECT_NEAR(n.dPsiRad, -17.1996 * std::sin(omega) * kArcsecond, 1.5 * kArcsecond);
  EXPECT_NEAR(n.dEpsRad, 9.2025 * std::cos(omega) * kArcsecond, 1.5 * kArcsecond);
}

TEST(ApplyNutation, AgreesWithTheRigorousRotationAwayFromThePoles) {
  const double jd = 2460000.5;
  double dPsi = 0, dEps = 0;
  eraNut80(jd, 0.0, &dPsi, &dEps);
  double rn[3][3];
  eraNumat(eraObl80(jd, 0.0), dPsi, dEps, rn);
  for (double ra : {0.2, 1.9, 3.3, 5.1}) {
    for (double dec : {-60.0 * kDegree, -10.0 * kDegree, 0.0, 35.0 * kDegree, 70.0 * kDegree}) {
      double mean[3], trueDir[3];
      eraS2c(ra, dec, mean);
      eraRxp(rn, mean, trueDir);
      double raTrue = 0, decTrue = 0;
      eraC2s(trueDir, &raTrue, &decTrue);
      double a = ra, d = dec;
      ApplyNutation(Direction::Apply, a, d, dPsi, dEps);
      // First order with a round obliquity: a few milliarcseconds at most off the poles.
      EXPECT_LT(test::Separation(a, d, raTrue, decTrue), 10.0 * kMilliarcsecond)
          << ra << " " << dec;
      // Removing is evaluated at the shifted place, so the round trip is exact only to
      // second order in the nutation.
      ApplyNutation(Direction::Remove, a, d, dPsi, dEps);
      EXPECT_LT(test::Separation(a, d, ra, dec), 5.0 * kMilliarcsecond);
    }
  }
}

TEST(MeanObliquity, AgreesWithErfaObl80WithinTwoCenturies) {
  for (double t : {-1.99, -1.0, -0.3, 0.0, 0.25, 1.0, 1.99}) {
    const double jd = 2451545.0 + t * 36525.0;
    const Obliquity eps = MeanObliquity(jd);
    EXPECT_NEAR(eps.epsilonRad, eraObl80(jd, 0.0), 1e-12) << "T " << t;
    EXPECT_NEAR(eps.cosEpsilon, std::cos(eps.epsilonRad), 1e-16);
    EXPECT_NEAR(eps.sinEpsilon, std::sin(eps.epsilonRad), 1e-16);
  }
  EXPECT_NEAR(MeanObliquity(2451545.0).epsilonRad, 23.4392911 * kDegree, 1e-9);
}

TEST(MeanObliquity, SwitchesToTheLongTermSeriesAtTwoCenturies) {
  for (double sign : {-1.0, 1.0}) {
    const double jd = 2451545.0 + sign * 2.0 * 36525.0;
    const double longTerm = MeanObliquity(jd).epsilonRad;
    // The branches differ by some 0.015" there; the IAU 1976 one would give ERFA's value.
    EXPECT_GT(std::fabs(longTerm - eraObl80(jd, 0.0)), 0.005 * kArcsecond);
    EXPECT_LT(std::fabs(longTerm - eraObl80(jd, 0.0)), 0.05 * kArcsecond);
  }
  // Ten thousand years out the long-term series keeps the obliquity physical (22-24.5 deg).
  for (double t : {-100.0, 100.0}) {
    const double eps = MeanObliquity(2451545.0 + t * 36525.0).epsilonRad;
    EXPECT_GT(eps, 22.0 * kDegree);
    EXPECT_LT(eps, 24.5 * kDegree);
  }
}

}  // namespace
}  // namespace tramox::astro
