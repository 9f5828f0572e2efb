#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>

#include "astro/precession.h"
#include "tests/astro/angle_test_support.h"

namespace tramox::astro {
namespace {

using test::kArcsecond;
using test::kDegree;
using test::kPi;

constexpr double kJ2000 = 2451545.0;

// ERFA's IAU 1976 precession of a place from the equator of date to J2000.0: the transpose
// of eraPmat76's matrix.
void ErfaToJ2000(double jd, double& ra, double& dec) {
  double p[3][3], v[3], w[3];
  eraPmat76(jd, 0.0, p);
  eraS2c(ra, dec, v);
  eraTrxp(p, v, w);
  eraC2s(w, &ra, &dec);
  ra = eraAnp(ra);
}

void ErfaFromJ2000(double jd, double& ra, double& dec) {
  double p[3][3], v[3], w[3];
  eraPmat76(jd, 0.0, p);
  eraS2c(ra, dec, v);
  eraRxp(p, v, w);
  eraC2s(w, &ra, &dec);
  ra = eraAnp(ra);
}

struct Star {
  double ra, dec;
};
constexpr Star kStars[] = {{0.3, 0.2},  {1.7667, 0.1292}, {4.1, -1.05},
                           {5.9, 1.45}, {2.5, -0.01},     {0.0005, 0.6}};

TEST(Precess, AgreesWithErfaPmat76WithinTwoCenturies) {
  for (double jd :
       {2415020.5, 2440000.5, 2455197.5, 2460676.25, 2488069.5, kJ2000 + 2.0 * 36525.0}) {
    for (const Star& s : kStars) {
      double ra = s.ra, dec = s.dec;
      Precess(PrecessionDirection::ToJ2000, ra, dec, jd);
      double eRa = s.ra, eDec = s.dec;
      ErfaToJ2000(jd, eRa, eDec);
      EXPECT_LT(test::Separation(ra, dec, eRa, eDec), 1e-9) << "JD " << jd << " ra " << s.ra;
      EXPECT_NEAR(std::remainder(ra - eRa, 2 * kPi), 0.0, 1e-9);

      ra = s.ra, dec = s.dec;
      Precess(PrecessionDirection::FromJ2000, ra, dec, jd);
      eRa = s.ra, eDec = s.dec;
      ErfaFromJ2000(jd, eRa, eDec);
      EXPECT_LT(test::Separation(ra, dec, eRa, eDec), 1e-9) << "JD " << jd << " ra " << s.ra;
    }
  }
}

TEST(Precess, IsTheIdentityAtJ2000) {
  double ra = 1.234567890123, dec = -0.4567890123;
  Precess(PrecessionDirection::ToJ2000, ra, dec, kJ2000);
  EXPECT_EQ(ra, 1.234567890123);
  EXPECT_EQ(dec, -0.4567890123);
}

TEST(Precess, EclipticRotationsBeyondTwoCenturiesStayCloseToIau1976) {
  // 201 years and more away the long-term rotations take over; near the boundary they
  // must agree with the 1976 angles to a few hundredths of an arcsecond.
  for (double t : {-5.0, -2.01, 2.01, 5.0}) {
    const double jd = kJ2000 + t * 36525.0;
    for (const Star& s : kStars) {
      double ra = s.ra, dec = s.dec;
      Precess(PrecessionDirection::ToJ2000, ra, dec, jd);
      double eRa = s.ra, eDec = s.dec;
      ErfaToJ2000(jd, eRa, eDec);
      const double sep = test::Separation(ra, dec, eRa, eDec);
      EXPECT_LT(sep, 0.05 * kArcsecond) << "T " << t;
      // Far enough from the boundary the two models visibly differ: proof the branch moved.
      if (std::fabs(t) >= 5.0) {
        EXPECT_GT(sep, 1e-10);
      }
    }
  }
}

TEST(Precess, ReturnsTheStartOnBothSidesOfTheBoundary) {
  for (double t : {-30.0, -2.01, -1.99, 0.5, 1.99, 2.01, 30.0}) {
    const double jd = kJ2000 + t * 36525.0;
    for (const Star& s : kStars) {
      double ra = s.ra, dec = s.dec;
      Precess(PrecessionDirection::ToJ2000, ra, dec, jd);
      Precess(PrecessionDirection::FromJ2000, ra, dec, jd);
      EXPECT_LT(test::Separation(ra, dec, s.ra, s.dec), 1e-9) << "T " << t << " ra " << s.ra;
    }
  }
}

TEST(Precess, KeepsPlacesNearTwelveHoursContinuous) {
  // J2000 places at and beside 12 h, taken to dates with ERFA and brought back: the quotient
  // under the arccos can round past -1 there, which must not send the place to 0 h.
  int checked = 0;
  for (double jd : {2415020.5, 2440000.5, 2460676.25, 2488069.5}) {
    for (double decDeg = -89.9; decDeg < 90.0; decDeg += 0.37) {
      for (double offset : {0.0, 1e-9, -1e-9, 3e-8, -3e-8}) {
        double ra = kPi + offset, dec = decDeg * kDegree;
        ErfaFromJ2000(jd, ra, dec);
        double eRa = ra, eDec = dec;
        ErfaToJ2000(jd, eRa, eDec);
        Precess(PrecessionDirection::ToJ2000, ra, dec, jd);
        ASSERT_TRUE(std::isfinite(ra) && std::isfinite(dec));
        // arccos near -1 keeps only about sqrt(epsilon) = 1.5e-8 rad of the angle (more in
        // right ascension near the poles, the same on the sky); a wrong branch is off by pi.
        EXPECT_LT(std::fabs(std::remainder(ra - eRa, 2 * kPi)) * std::cos(dec), 5e-8)
            << "JD " << jd << " dec " << decDeg;
        EXPECT_LT(test::Separation(ra, dec, eRa, eDec), 5e-8);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 1000);
}

TEST(Precess, HandlesThePolesWithoutNaN) {
  for (double jd : {2415020.5, 2460676.25, 2488069.5}) {
    for (double pole : {kPi / 2.0, -kPi / 2.0}) {
      double ra = 0.7, dec = pole;
      Precess(PrecessionDirection::FromJ2000, ra, dec, jd);
      ASSERT_TRUE(std::isfinite(ra) && std::isfinite(dec));
      double eRa = 0.7, eDec = pole;
      ErfaFromJ2000(jd, eRa, eDec);
      EXPECT_LT(test::Separation(ra, dec, eRa, eDec), 1e-9);
    }
  }
  // The J2000 places of the poles of date (ERFA), precessed onto those poles: the sine of
  // the declination lands on one and can round past it.
  for (int day = 0; day < 400; ++day) {
    const double jd = 2415020.5 + day * 182.6;
    double p[3][3];
    eraPmat76(jd, 0.0, p);
    for (double sign : {1.0, -1.0}) {
      double pole[3] = {sign * p[2][0], sign * p[2][1], sign * p[2][2]};
      double ra = 0, dec = 0;
      eraC2s(pole, &ra, &dec);
      Precess(PrecessionDirection::FromJ2000, ra, dec, jd);
      ASSERT_TRUE(std::isfinite(dec) && std::isfinite(ra)) << "JD " << jd;
      EXPECT_NEAR(dec, sign * kPi / 2.0, 1e-7) << "JD " << jd;
    }
  }
  // Places on and next to the pole of date, where the sine of the precessed declination
  // can round past one, on both branches.
  for (double t : {-3.0, -0.5, 0.9, 10.0}) {
    const double jd = 2451545.0 + t * 36525.0;
    for (double pole : {kPi / 2.0, -kPi / 2.0}) {
      for (double offset : {0.0, 1e-9, 1e-8, 3e-8}) {
        for (double ra0 : {0.0, 1.1, kPi, 4.4}) {
          const double dec0 = pole > 0 ? pole - offset : pole + offset;
          double ra = ra0, dec = dec0;
          Precess(PrecessionDirection::ToJ2000, ra, dec, jd);
          ASSERT_TRUE(std::isfinite(ra) && std::isfinite(dec)) << t << " " << offset;
          EXPECT_GE(ra, 0.0);
          EXPECT_LE(ra, 2.0 * kPi);
          Precess(PrecessionDirection::FromJ2000, ra, dec, jd);
          ASSERT_TRUE(std::isfinite(ra) && std::isfinite(dec));
          EXPECT_LT(test::Separation(ra, dec, ra0, dec0), 1e-7) << t << " " << offset;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tramox::astro
