// The axis model and the alignment between axis angles and the sky.
#include <gtest/gtest.h>

#include "common/units.h"
#include "simulator/alignment.h"
#include "simulator/axis.h"
#include "simulator/sidereal_time.h"

namespace tramox::sim {
namespace {

constexpr double kPi = units::kPi;
constexpr double kTolRad = 1e-12;

TEST(AxisTest, SlewReportsSlewingUntilThePositionReachesTheTarget) {
  Axis axis(0.0);
  axis.slewTo(1.0, 0.5);  // two seconds away

  axis.advance(1.999);
  EXPECT_TRUE(axis.slewing());
  EXPECT_LT(axis.positionRad(), 1.0);
  EXPECT_NEAR(axis.positionRad(), 0.9995, kTolRad);

  axis.advance(0.002);
  EXPECT_FALSE(axis.slewing());
  EXPECT_DOUBLE_EQ(axis.positionRad(), 1.0);
}

TEST(AxisTest, SlewTargetTurnsWithTrackingSoTheSlewEndsOnTheSky) {
  Axis axis(0.0);
  axis.setTrackingRate(0.01);
  axis.slewTo(-1.0, 0.5);
  axis.advance(10.0);
  EXPECT_FALSE(axis.slewing());
  EXPECT_NEAR(axis.positionRad(), -1.0 + 0.1, kTolRad);
}

TEST(AxisTest, EndlessSlewArrivesButKeepsReportingUntilStopped) {
  Axis axis(0.0);
  axis.slewTo(0.1, 1.0, /*endless=*/true);
  axis.advance(5.0);
  EXPECT_TRUE(axis.slewing());
  EXPECT_DOUBLE_EQ(axis.positionRad(), 0.1);
  axis.stopSlew();
  EXPECT_FALSE(axis.slewing());
}

TEST(AxisTest, PulseLastsItsDurationEvenWithinOneLongStep) {
  Axis axis(0.0);
  axis.setTrackingRate(0.001);
  axis.startPulse(0.5, 0.25);
  axis.advance(0.2);
  EXPECT_TRUE(axis.pulsing());
  axis.advance(10.0);
  EXPECT_FALSE(axis.pulsing());
  EXPECT_NEAR(axis.positionRad(), 0.001 * 10.2 + 0.5 * 0.25, kTolRad);
}

TEST(AxisTest, MotionAddsToTrackingUntilStopped) {
  Axis axis(0.0);
  axis.setTrackingRate(0.001);
  axis.setMotionRate(-0.01);
  EXPECT_TRUE(axis.moving());
  axis.advance(2.0);
  axis.setMotionRate(0.0);
  axis.advance(1.0);
  EXPECT_NEAR(axis.positionRad(), 0.003 - 0.02, kTolRad);
}

TEST(AlignmentTest, BothSidesOfAGermanMountGiveBackTheSkyPosition) {
  const Alignment german(true);
  for (PierSide side : {PierSide::East, PierSide::West}) {
    for (double ha : {-2.5, -0.3, 0.0, 0.7, 3.0}) {
      for (double dec : {-1.2, -0.1, 0.0, 0.4, 1.5}) {
        const SkyPosition sky = german.toSky(german.toAxes({ha, dec}, side));
        EXPECT_NEAR(sky.hourAngleRad, ha, kTolRad) << ha << " " << dec;
        EXPECT_NEAR(sky.decRad, dec, kTolRad) << ha << " " << dec;
        EXPECT_EQ(german.sideOf(german.toAxes({ha, dec}, side)), side);
      }
    }
  }
}

TEST(AlignmentTest, GermanMountLooksEastFromTheWestSideOfThePier) {
  const Alignment german(true);
  EXPECT_EQ(german.sideFor(-0.5), PierSide::West);
  EXPECT_EQ(german.sideFor(0.5), PierSide::East);
  EXPECT_EQ(german.sideFor(0.0), PierSide::East);

  const AxisAngles throughPole = german.toAxes({-0.5, 0.3}, PierSide::West);
  EXPECT_DOUBLE_EQ(german.declinationSense(throughPole), -1.0);
  EXPECT_GT(throughPole.secondaryRad, kPi / 2);
  EXPECT_LT(throughPole.secondaryRad, 3 * kPi / 2);
}

TEST(AlignmentTest, ForkMountStaysOnTheNormalSide) {
  const Alignment fork(false);
  EXPECT_EQ(fork.sideFor(-0.5), PierSide::East);
  const AxisAngles axes = fork.toAxes({-0.5, 0.3}, PierSide::West);
  EXPECT_EQ(fork.sideOf(axes), PierSide::East);
  EXPECT_NEAR(axes.primaryRad, -0.5, kTolRad);
}

TEST(SiderealTimeTest, GreenwichSiderealTimeAtJ2000) {
  // 2000-01-01 12:00 UTC: 18h 41m 50.548s (IAU 1982).
  const double gmstHours = units::radiansToHours(greenwichSiderealTimeRad(946728000.0));
  EXPECT_NEAR(gmstHours, 18.697374558, 1e-8);
}

TEST(SiderealTimeTest, LocalTimeIsGreenwichMinusTheWestLongitude) {
  const double gmst = greenwichSiderealTimeRad(946728000.0);
  EXPECT_NEAR(localSiderealTimeRad(946728000.0, 0.5), gmst - 0.5, kTolRad);
  EXPECT_NEAR(localSiderealTimeRad(946728000.0, -2.0), wrapTwoPi(gmst + 2.0), kTolRad);
}

}  // namespace
}  // namespace tramox::sim
