#include <gtest/gtest.h>

#include <cmath>

#include "astro/angle_utilities.h"
#include "astro/horizontal_place.h"
#include "tests/astro/angle_test_support.h"

namespace tramox::astro {
namespace {

using test::kDegree;
using test::kPi;

// The place on the site's sky, against ERFA's hour angle to azimuth and elevation; compared as
// an angle on the sky, so the azimuth's ambiguity at the zenith does not matter.
TEST(HorizontalPlaceOf, AgreesWithTheReferenceEverywhereOnTheSky) {
  const struct {
    const char* where;
    double hourAngleRad, decRad, latRad;
  } cases[] = {
      {"pole", 0.0, 90 * kDegree, 45 * kDegree},
      {"pole at 3 h", kPi / 4, 90 * kDegree, 45 * kDegree},
      {"meridian, south", 0.0, 0.0, 45 * kDegree},
      {"meridian, north of the zenith", 0.0, 60 * kDegree, 45 * kDegree},
      {"zenith", 0.0, -30 * kDegree, -30 * kDegree},
      {"horizon, west", kPi / 2, 0.0, 0.0},
      {"below the horizon", kPi, -60 * kDegree, 45 * kDegree},
  };
  const double lstRad = 1.0;
  for (const auto& c : cases) {
    const HorizontalPlace place =
        HorizontalPlaceOf(lstRad - c.hourAngleRad, c.decRad, lstRad, c.latRad);
    double az = 0.0, alt = 0.0;
    eraHd2ae(c.hourAngleRad, c.decRad, c.latRad, &az, &alt);
    EXPECT_LT(test::Separation(place.azimuthRad, place.altitudeRad, az, alt), 1e-12) << c.where;
  }
  const HorizontalPlace south = HorizontalPlaceOf(lstRad, 0.0, lstRad, 45 * kDegree);
  EXPECT_NEAR(south.altitudeRad, 45 * kDegree, 1e-15);
  EXPECT_NEAR(std::fmod(south.azimuthRad + 2 * kPi, 2 * kPi), kPi, 1e-15);
}

TEST(ReduceDegrees, BringsAnyAngleIntoOneTurn) {
  EXPECT_DOUBLE_EQ(ReduceDegrees(370.0), 10.0);
  EXPECT_DOUBLE_EQ(ReduceDegrees(-10.0), 350.0);
  EXPECT_DOUBLE_EQ(ReduceDegrees(-725.0), 355.0);
  EXPECT_NEAR(ReduceDegrees(477198.8673981 * 2.5 + 134.9629814),
              std::fmod(477198.8673981 * 2.5 + 134.9629814, 360.0), 1e-9);
}

TEST(AddRightAscension, WrapsIntoOneTurn) {
  EXPECT_NEAR(AddRightAscension(6.0, 1.0), 7.0 - 2.0 * kPi, 1e-15);
  EXPECT_NEAR(AddRightAscension(0.1, -0.3), 2.0 * kPi - 0.2, 1e-15);
  EXPECT_NEAR(AddRightAscension(1.0, -3.0 * 2.0 * kPi), 1.0, 1e-13);
  const double r = AddRightAscension(0.0, -1e-300);
  EXPECT_GE(r, 0.0);
  EXPECT_LE(r, 2.0 * kPi);
}

TEST(AddDeclination, ReflectsPastEitherPole) {
  const double deg = kPi / 180.0;
  EXPECT_NEAR(AddDeclination(90.0 * deg, 1.0 * deg), 89.0 * deg, 1e-15);
  EXPECT_NEAR(AddDeclination(-90.0 * deg, -1.0 * deg), -89.0 * deg, 1e-15);
  EXPECT_DOUBLE_EQ(AddDeclination(0.3, 0.2), 0.5);
}

TEST(FullCircleArcTan, CoversTheCircleAndTheAxes) {
  EXPECT_EQ(FullCircleArcTan(0.0, 0.0), 0.0);
  EXPECT_DOUBLE_EQ(FullCircleArcTan(1.0, 0.0), kPi / 2.0);
  EXPECT_DOUBLE_EQ(FullCircleArcTan(-1.0, 0.0), 3.0 * kPi / 2.0);
  EXPECT_EQ(FullCircleArcTan(0.0, 2.0), 0.0);
  EXPECT_DOUBLE_EQ(FullCircleArcTan(0.0, -2.0), -kPi);
  // Off the axes the result is atan2 modulo one turn.
  for (double angle = 0.05; angle < 2.0 * kPi; angle += 0.37) {
    const double a = FullCircleArcTan(std::sin(angle), std::cos(angle));
    EXPECT_NEAR(std::remainder(a - angle, 2.0 * kPi), 0.0, 1e-14) << angle;
  }
}

TEST(ArcSinClamped, GivesThePoleForARoundedSineBeyondOne) {
  EXPECT_DOUBLE_EQ(ArcSinClamped(std::nextafter(1.0, 2.0)), kPi / 2.0);
  EXPECT_DOUBLE_EQ(ArcSinClamped(std::nextafter(-1.0, -2.0)), -kPi / 2.0);
  EXPECT_DOUBLE_EQ(ArcCosClamped(std::nextafter(-1.0, -2.0)), kPi);
  EXPECT_DOUBLE_EQ(ArcSinClamped(0.5), std::asin(0.5));
}

}  // namespace
}  // namespace tramox::astro
