#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>

#include "astro/geocentric_site.h"
#include "astro/radec_transform.h"
#include "astro/refraction.h"
#include "astro/time_scales.h"
#include "tests/astro/angle_test_support.h"

namespace tramox::astro {
namespace {

using test::kArcsecond;
using test::kDegree;
using test::kPi;

TRADECtranfos MakePipeline(double latitudeDeg, double elevationM = 0.0,
                           double westLongitudeDeg = -2.3) {
  return TRADECtranfos({latitudeDeg * kDegree, westLongitudeDeg * kDegree, elevationM},
                       AtmosphereParameters{});
}

TEST(GeocentricSite, AgreesWithErfaOnTheIau1964Ellipsoid) {
  for (double latDeg : {-89.0, -33.0, 0.0, 20.0, 45.0, 60.0, 89.0}) {
    double xyz[3];
    eraGd2gce(6378160.0, 1.0 / 298.25, 0.0, latDeg * kDegree, 0.0, xyz);
    const GeocentricPosition g = GeocentricSite(latDeg * kDegree, 0.0);
    EXPECT_NEAR(g.radius, std::sqrt(eraPdp(xyz, xyz)) / 6378160.0, 1e-9) << latDeg;
    EXPECT_NEAR(g.latitudeRad, std::atan2(xyz[2], std::hypot(xyz[0], xyz[1])), 1e-9) << latDeg;
  }
  // The height term is height over the equatorial radius, not projected on the radius.
  EXPECT_NEAR(GeocentricSite(0.7, 2500.0).radius - GeocentricSite(0.7, 0.0).radius,
              2500.0 / 6378160.0, 1e-15);
  const GeocentricPosition at45 = GeocentricSite(45.0 * kDegree, 0.0);
  EXPECT_NEAR(at45.latitudeRad / kDegree, 44.807572, 1e-6);
  EXPECT_NEAR(at45.radius, 0.998330592, 1e-9);
}

TEST(TRADECtranfos, ConstructorPrecomputesSiteAndRefraction) {
  const TRADECtranfos p = MakePipeline(0.0, 1000.0);
  EXPECT_EQ(p.GeocentricLatitude, 0.0);
  EXPECT_NEAR(p.GeocentricRadius, 1.0 + 1000.0 / 6378160.0, 1e-15);
  EXPECT_EQ(p.LapseRate, 0.0065);
  EXPECT_TRUE(p.DoPrecession && p.DoNutation && p.DoRefraction && p.DoDiurnalAberration);
  // The pipeline converts 15 C with 273.1, not 273.15.
  const RefractionCoefficients ab =
      RefractionConstants(1000.0, 288.1, 1013.25, 0.6, 0.55, 0.0, 0.0065, 1e-8);
  EXPECT_EQ(p.RefractionA, ab.aRad);
  EXPECT_EQ(p.RefractionB, ab.bRad);
}

TEST(TRADECtranfos, RefractionBranchesMeetAtTheSwitchAltitude) {
  const TRADECtranfos p = MakePipeline(44.8);
  EXPECT_NEAR(p.RefractionAt(45.0 * kDegree), p.RefractionA + p.RefractionB, 1e-15);
  EXPECT_NEAR(p.RefractionAt(45.0 * kDegree) / kArcsecond, 57.1, 0.1);
  const double switchAltitude = kPi / 2.0 - std::atan(4.0);
  const double above = p.RefractionAt(switchAltitude + 1e-9);
  const double below = p.RefractionAt(switchAltitude - 1e-9);
  // 2e-9 rad apart the refraction itself changes by about 2e-11 rad.
  EXPECT_NEAR(above, 4.0 * p.RefractionA + 64.0 * p.RefractionB, 1e-10);
  EXPECT_NEAR(above, below, 1e-10);
  EXPECT_NEAR(p.RefractionAt(0.0) / kArcsecond, 1970.0, 5.0);
}

TEST(TRADECtranfos, RemoveRefractionLowersTheAltitudeByTheRefraction) {
  const TRADECtranfos p = MakePipeline(44.8);
  const double lst = 1.3;
  const double phi = 44.8 * kDegree;
  for (double ra : {0.2, 1.0, 2.4, 4.0}) {
    for (double dec : {-0.2, 0.3, 0.9, 1.4}) {
      double az = 0, observedAlt = 0, trueAz = 0, trueAlt = 0;
      eraHd2ae(lst - ra, dec, phi, &az, &observedAlt);
      if (observedAlt <= 0.01) {
        continue;
      }
      const RaDec out = p.RemoveRefraction(ra, dec, lst);
      eraHd2ae(lst - out.raRad, out.decRad, phi, &trueAz, &trueAlt);
      EXPECT_NEAR(trueAlt, observedAlt - p.RefractionAt(observedAlt), 1e-12);
      EXPECT_NEAR(std::remainder(trueAz - az, 2 * kPi), 0.0, 1e-9);
    }
  }
}

TEST(TRADECtranfos, RemoveRefractionLeavesPlacesOnOrBelowTheHorizon) {
  const TRADECtranfos p = MakePipeline(0.0);
  // On the equator a place on the celestial equator 6 h or more from the meridian.
  for (double hourAngle : {kPi / 2.0 + 1e-9, 2.0, 3.0}) {
    const RaDec out = p.RemoveRefraction(1.0, 0.0, 1.0 + hourAngle);
    EXPECT_EQ(out.raRad, 1.0);
    EXPECT_EQ(out.decRad, 0.0);
  }
}

TEST(TRADECtranfos, RemoveRefractionAtTheZenithStaysFinite) {
  // sin^2 + cos^2 rounds past 1 for many latitudes; the place must stay at the zenith.
  for (double latDeg = -89.5; latDeg < 90.0; latDeg += 0.5) {
    const TRADECtranfos p = MakePipeline(latDeg);
    const double lst = 2.0;
    const RaDec out = p.RemoveRefraction(lst, latDeg * kDegree, lst);
    ASSERT_TRUE(std::isfinite(out.raRad) && std::isfinite(out.decRad)) << latDeg;
    EXPECT_NEAR(out.decRad, latDeg * kDegree, 1e-7) << latDeg;
  }
}

TEST(TRADECtranfos, DiurnalAberrationOnTheEquatorShiftsOnlyRightAscension) {
  const TRADECtranfos p = MakePipeline(0.0);
  const double k = 1.5472e-6;
  for (double hourAngle : {0.0, 0.7, 2.0}) {
    double ra = 1.0, dec = 0.0;
    p.DiurnalAberration(Direction::Remove, ra, dec, 1.0 + hourAngle);
    EXPECT_NEAR(ra, 1.0 - k * std::cos(hourAngle), 1e-15);
    EXPECT_EQ(dec, 0.0);
    p.DiurnalAberration(Direction::Apply, ra, dec, 1.0 + hourAngle);
    EXPECT_NEAR(ra, 1.0, 1e-11);
  }
  double ra = 1.0, dec = kPi / 2.0;
  p.DiurnalAberration(Direction::Apply, ra, dec, 3.0);
  EXPECT_TRUE(std::isfinite(ra) && std::isfinite(dec));
}

TEST(TRADECtranfos, NutationAndPrecessionStagesMatchErfa) {
  TRADECtranfos p = MakePipeline(44.8);
  p.DoRefraction = false;
  p.DoDiurnalAberration = false;
  const double utDate = 45678.25;  // 2025-01-21 06:00 UT
  const double jd = JulianDateOf(utDate);
  double rnp[3][3];
  eraPnm80(jd, 0.0, rnp);  // mean J2000 to true of date
  for (double ra : {0.4, 3.0, 5.5}) {
    for (double dec : {-0.8, 0.1, 1.1}) {
      const RaDec out = p.ObservedToMeanJ2000(utDate, ra, dec);
      double v[3], w[3], eRa = 0, eDec = 0;
      eraS2c(ra, dec, v);
      eraTrxp(rnp, v, w);
      eraC2s(w, &eRa, &eDec);
      EXPECT_LT(test::Separation(out.raRad, out.decRad, eRa, eDec), 0.02 * kArcsecond);
    }
  }
}

TEST(TRADECtranfos, ObservedToMeanJ2000CombinesAllStages) {
  const TRADECtranfos p = MakePipeline(44.8);
  TRADECtranfos noRefraction = p;
  noRefraction.DoRefraction = false;
  const double utDate = 45678.25;
  const double lst = LocalSiderealTime(p.WestLongitude, utDate);
  // A place 30 deg above the horizon on the meridian, south of the zenith.
  const double dec = (44.8 - 60.0) * kDegree;
  const RaDec full = p.ObservedToMeanJ2000(utDate, lst, dec);
  const RaDec without = noRefraction.ObservedToMeanJ2000(utDate, lst, dec);
  EXPECT_GE(full.raRad, 0.0);
  EXPECT_LE(full.raRad, 2.0 * kPi);
  // On the meridian refraction only raises the place: the mean place lies lower (further
  // south) by the refraction at 30 deg, about 100".
  EXPECT_NEAR(without.decRad - full.decRad, p.RefractionAt(30.0 * kDegree), 0.5 * kArcsecond);
  EXPECT_NEAR(std::remainder(full.raRad - without.raRad, 2 * kPi), 0.0, 1e-6);
}

}  // namespace
}  // namespace tramox::astro
