#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "astro/time_scales.h"
#include "tests/astro/angle_test_support.h"

namespace tramox::astro {
namespace {

using test::kDegree;
using test::kPi;

TEST(JulianDateOf, MatchesTheAutomationEpochToTheMillisecond) {
  EXPECT_DOUBLE_EQ(JulianDateOf(36526.5), 2451545.0);
  EXPECT_DOUBLE_EQ(JulianDateOf(0.0), 2415018.5);
  // 1999-03-03 00:00, the calendar anchor of the conversion.
  EXPECT_DOUBLE_EQ(JulianDateOf(36222.0), 2451240.5);
  const double oneMs = 1.0 / 86400000.0;
  EXPECT_NEAR(JulianDateOf(45678.123456789), 45678.123456789 + 2415018.5, oneMs / 2 + 1e-9);
  // A fraction a hair below midnight rounds into the next day.
  EXPECT_DOUBLE_EQ(JulianDateOf(45678.0 - 1e-10), 45678.0 + 2415018.5);
  // Negative automation dates count the time of day forwards from the earlier day.
  EXPECT_DOUBLE_EQ(JulianDateOf(-1.25), 2415017.75);
}

double LstHours(double westLongitudeRad, double utDate) {
  return LocalSiderealTime(westLongitudeRad, utDate) * 12.0 / kPi;
}

TEST(LocalSiderealTime, ReproducesTheDriversKnownValues) {
  EXPECT_NEAR(LstHours(0.0, 36526.5), 18.694575, 5e-7);
  EXPECT_NEAR(LocalSiderealTime(0.0, 36526.5), 4.8942284, 5e-8);
  EXPECT_NEAR(LstHours(-2.0 * kDegree, 36526.5), 18.827909, 5e-7);
}

TEST(LocalSiderealTime, RunsTenSecondsBehindIau1982Gmst) {
  // At J2000.0 the offset is 10 s plus the difference between Newcomb's series and the
  // IAU 1982 one; it drifts by well under a second over the driver's dates.
  const auto offsetSeconds = [](double utDate) {
    const double gmst = eraGmst82(2415018.5, utDate);
    const double lst = LocalSiderealTime(0.0, utDate);
    return std::remainder(gmst - lst, 2.0 * kPi) * 86400.0 / (2.0 * kPi);
  };
  EXPECT_NEAR(offsetSeconds(36526.5), 10.0775, 2e-4);
  for (double utDate : {25000.25, 43000.8, 50000.75, 60000.1, 73000.4}) {
    EXPECT_NEAR(offsetSeconds(utDate), 10.07, 0.12) << "date " << utDate;
  }
}

TEST(LocalSiderealTime, AddsTheLongitudeWestNegative) {
  for (double westDeg : {-179.0, -75.5, 0.5, 120.0}) {
    const double utDate = 44100.3;
    const double expected =
        std::fmod(LocalSiderealTime(0.0, utDate) - westDeg * kDegree + 4.0 * kPi, 2.0 * kPi);
    EXPECT_NEAR(LocalSiderealTime(westDeg * kDegree, utDate), expected, 1e-12);
  }
}

TEST(LocalSiderealTime, StaysInsideOneTurn) {
  const double greenwich = LocalSiderealTime(0.0, 36526.5);
  // Longitudes that put the sum exactly on, just below and just above the turn.
  for (double west : {greenwich, greenwich + 1e-16, greenwich - 2.0 * kPi, greenwich + 2.0 * kPi,
                      greenwich - 1e-15, -7.0, 7.0}) {
    const double lst = LocalSiderealTime(west, 36526.5);
    EXPECT_GE(lst, 0.0);
    EXPECT_LT(lst, 2.0 * kPi);
  }
}

}  // namespace
}  // namespace tramox::astro
