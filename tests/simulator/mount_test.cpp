// The simulated mount on a clock the test moves: slews, pier side, manual motion, guide
// pulses, parking, syncs and the state it keeps between runs.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/units.h"
#include "simulator/mount.h"
#include "simulator/sidereal_time.h"
#include "tests/simulator/manual_sim_clock.h"

namespace tramox::sim {
namespace {

using units::degreesToRadians;
using units::hoursToRadians;
constexpr double kSidereal = kEarthTurnRadPerSec;
constexpr double kContractRate = units::kSiderealRateRadPerSec;
constexpr double kTolRad = 1e-9;

class MountTest : public ::testing::Test {
 protected:
  MountTest() {
    config.raHours = 5.0;
    config.decDegrees = 20.0;
    config.slewDegPerSec = 10.0;
    for (std::size_t i = 0; i < 10; ++i) {
      config.speedsRadPerSec[i] = 1e-3 * static_cast<double>(i + 1);
    }
  }

  Mount& connect(double lonWestRad = 0.3) {
    mount.emplace(config, clock, std::nullopt);
    mount->setSite(degreesToRadians(45.0), lonWestRad);
    return *mount;
  }

  double lst(double lonWestRad = 0.3) {
    return localSiderealTimeRad(clock.nowUtcSeconds(), lonWestRad);
  }

  // Right ascension that lies `hourAngleRad` west of the meridian now.
  double raAtHourAngle(double hourAngleRad) { return wrapTwoPi(lst() - hourAngleRad); }

  SimConfig config;
  testing::ManualSimClock clock;
  std::optional<Mount> mount;
};

TEST_F(MountTest, StartsAtTheConfiguredPlaceAndTracksIt) {
  Mount& m = connect();
  EXPECT_NEAR(m.rightAscensionRad(), hoursToRadians(5.0), kTolRad);
  EXPECT_NEAR(m.declinationRad(), degreesToRadians(20.0), kTolRad);
  EXPECT_TRUE(m.tracking());

  clock.advance(3600.0);
  EXPECT_NEAR(m.rightAscensionRad(), hoursToRadians(5.0), kTolRad);
}

TEST_F(MountTest, WithoutTrackingTheSkyDriftsPastAtTheSiderealRate) {
  Mount& m = connect();
  m.stopAll();
  clock.advance(600.0);
  EXPECT_NEAR(m.rightAscensionRad(), hoursToRadians(5.0) + units::kTwoPi * 600.0 / 86164.0905,
              1e-7);
  ASSERT_TRUE(m.startTracking());
  const double ra = m.rightAscensionRad();
  clock.advance(86400.0);
  EXPECT_NEAR(m.rightAscensionRad(), ra, 1e-7);
}

TEST_F(MountTest, SlewTakesTheTimeOfItsLongerAxisAndEndsOnTheTarget) {
  Mount& m = connect();
  ASSERT_TRUE(m.sync(raAtHourAngle(0.0), degreesToRadians(20.0)));
  const double goalRa = raAtHourAngle(degreesToRadians(10.0));
  ASSERT_TRUE(m.slewTo(goalRa, degreesToRadians(40.0), 0.3, kContractRate));
  EXPECT_TRUE(m.axisMoving(1));

  clock.advance(1.0);  // the hour-angle axis has 10 degrees to go at 10 per second
  EXPECT_FALSE(m.axisMoving(0));
  clock.advance(0.99);  // the declination axis 20 degrees
  EXPECT_TRUE(m.axisMoving(1));
  EXPECT_LT(m.declinationRad(), degreesToRadians(40.0) - 1e-4);

  clock.advance(0.02);
  EXPECT_FALSE(m.axisMoving(0));
  EXPECT_FALSE(m.axisMoving(1));
  EXPECT_NEAR(m.rightAscensionRad(), goalRa, kTolRad);
  EXPECT_NEAR(m.declinationRad(), degreesToRadians(40.0), kTolRad);
  EXPECT_FALSE(m.westOfPier());
}

TEST_F(MountTest, GermanMountLookingEastIsOnTheWestSideOfThePier) {
  Mount& m = connect();
  const double goalRa = raAtHourAngle(-1.0);
  ASSERT_TRUE(m.slewTo(goalRa, 0.5, 0.3, kContractRate));
  clock.advance(60.0);
  EXPECT_TRUE(m.westOfPier());
  EXPECT_NEAR(m.declinationRad(), 0.5, kTolRad);
  EXPECT_NEAR(m.rightAscensionRad(), goalRa, kTolRad);

  config.german = false;
  Mount& fork = connect();
  ASSERT_TRUE(fork.slewTo(raAtHourAngle(-1.0), 0.5, 0.3, kContractRate));
  clock.advance(60.0);
  EXPECT_FALSE(fork.westOfPier());
}

TEST_F(MountTest, EndlessSlewsLastUntilStopped) {
  config.endless = true;
  Mount& m = connect();
  ASSERT_TRUE(m.slewTo(m.rightAscensionRad(), degreesToRadians(21.0), 0.3, kContractRate));
  clock.advance(100.0);
  EXPECT_TRUE(m.axisMoving(1));
  m.stopSlew();
  EXPECT_FALSE(m.axisMoving(0));
  EXPECT_FALSE(m.axisMoving(1));
}

TEST_F(MountTest, MoveUsesTheSpeedOfItsClassAndAxisInTheDirectionAsked) {
  Mount& m = connect();
  const double ra0 = m.rightAscensionRad();
  const double dec0 = m.declinationRad();

  // East (2) at SMax: speed value 9; the right ascension grows.
  ASSERT_TRUE(m.move(2, 0));
  EXPECT_TRUE(m.axisMoving(0));
  clock.advance(10.0);
  m.stopMotion(true, false);
  EXPECT_FALSE(m.axisMoving(0));
  EXPECT_NEAR(m.rightAscensionRad(), ra0 + 10.0 * 9e-3, kTolRad);

  // West (3) at SMedium: value 7.
  ASSERT_TRUE(m.move(3, 1));
  clock.advance(10.0);
  m.stopMotion(true, true);
  EXPECT_NEAR(m.rightAscensionRad(), ra0 + 10.0 * (9e-3 - 7e-3), kTolRad);

  // North (0) at SSideral: value 4; South (1) at SMax: value 10.
  ASSERT_TRUE(m.move(0, 2));
  clock.advance(10.0);
  m.stopMotion(false, true);
  EXPECT_NEAR(m.declinationRad(), dec0 + 10.0 * 4e-3, kTolRad);
  ASSERT_TRUE(m.move(1, 0));
  clock.advance(1.0);
  m.stopMotion(false, true);
  EXPECT_NEAR(m.declinationRad(), dec0 + 10.0 * 4e-3 - 10e-3, kTolRad);

  EXPECT_FALSE(m.move(4, 0));
  EXPECT_FALSE(m.move(0, 3));
}

TEST_F(MountTest, NorthRaisesTheDeclinationOnBothSidesOfThePier) {
  config.west = true;
  Mount& m = connect();
  ASSERT_TRUE(m.westOfPier());
  const double dec0 = m.declinationRad();
  ASSERT_TRUE(m.move(0, 0));
  clock.advance(5.0);
  EXPECT_NEAR(m.declinationRad(), dec0 + 5.0 * 10e-3, kTolRad);
}

TEST_F(MountTest, GuidePulseMovesAtTheGuideRateForItsDuration) {
  Mount& m = connect();
  const double ra0 = m.rightAscensionRad();
  const double dec0 = m.declinationRad();
  ASSERT_TRUE(m.pulseGuide(/*west=*/true, /*south=*/true, 500, 300));
  clock.advance(0.29);
  EXPECT_TRUE(m.pulseGuiding());
  clock.advance(0.2);
  EXPECT_TRUE(m.pulseGuiding());
  clock.advance(0.02);
  EXPECT_FALSE(m.pulseGuiding());
  clock.advance(5.0);

  const double guide = 0.5 * kSidereal;
  EXPECT_NEAR(m.rightAscensionRad(), ra0 - guide * 0.5, kTolRad);
  EXPECT_NEAR(m.declinationRad(), dec0 - guide * 0.3, kTolRad);
}

TEST_F(MountTest, ParkIsReportedOnceTheAxesReachTheParkPosition) {
  Mount& m = connect();
  ASSERT_TRUE(m.park(0.5, 0.8));
  EXPECT_FALSE(m.parked());
  EXPECT_FALSE(m.tracking());
  EXPECT_TRUE(m.axisMoving(1));
  EXPECT_FALSE(m.slewTo(1.0, 0.2, 0.3, kContractRate));

  clock.advance(120.0);
  EXPECT_FALSE(m.axisMoving(0));
  EXPECT_FALSE(m.axisMoving(1));
  EXPECT_TRUE(m.parked());
  EXPECT_NEAR(m.rightAscensionRad(), wrapTwoPi(lst() - 0.5), kTolRad);
  EXPECT_NEAR(m.declinationRad(), 0.8, kTolRad);

  clock.advance(1000.0);  // stays at the same hour angle
  EXPECT_NEAR(m.rightAscensionRad(), wrapTwoPi(lst() - 0.5), kTolRad);
}

TEST_F(MountTest, AParkThatNeverArrivesOrIsStoppedIsNotParked) {
  config.endless = true;
  Mount& m = connect();
  ASSERT_TRUE(m.park(0.5, 0.8));
  clock.advance(1000.0);
  EXPECT_FALSE(m.parked());
  EXPECT_TRUE(m.axisMoving(1));
  m.stopSlew();
  clock.advance(1000.0);
  EXPECT_FALSE(m.parked());
  EXPECT_FALSE(m.axisMoving(1));
}

TEST_F(MountTest, ParkedMountRefusesMotionUntilUnparked) {
  config.parked = true;
  Mount& m = connect();
  EXPECT_TRUE(m.parked());
  EXPECT_FALSE(m.tracking());
  EXPECT_FALSE(m.slewTo(1.0, 0.2, 0.3, kContractRate));
  EXPECT_FALSE(m.sync(1.0, 0.2));
  EXPECT_FALSE(m.move(0, 0));
  EXPECT_FALSE(m.pulseGuide(false, false, 100, 0));
  EXPECT_FALSE(m.startTracking());
  EXPECT_FALSE(m.axisMoving(0));

  ASSERT_TRUE(m.unpark());
  EXPECT_FALSE(m.parked());
  EXPECT_TRUE(m.tracking());
  const double ra = m.rightAscensionRad();
  clock.advance(100.0);
  EXPECT_NEAR(m.rightAscensionRad(), ra, kTolRad);
}

TEST_F(MountTest, SyncKeepsThePierSideAndRejectsImpossibleValues) {
  config.west = true;
  Mount& m = connect();
  ASSERT_TRUE(m.sync(2.0, -0.4));
  EXPECT_TRUE(m.westOfPier());
  EXPECT_NEAR(m.rightAscensionRad(), 2.0, kTolRad);
  EXPECT_NEAR(m.declinationRad(), -0.4, kTolRad);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(m.sync(nan, 0.0));
  EXPECT_FALSE(m.sync(1.0, 2.0));
  EXPECT_FALSE(m.slewTo(1.0, nan, 0.3, kContractRate));
  EXPECT_FALSE(m.park(0.0, 1.7));
  EXPECT_NEAR(m.rightAscensionRad(), 2.0, kTolRad);
}

TEST_F(MountTest, SavedStateIsWhereASlewIsGoingAndATrackingMountKeepsItsPlace) {
  Mount& m = connect();
  const double goalRa = raAtHourAngle(0.4);
  ASSERT_TRUE(m.slewTo(goalRa, 0.6, 0.3, kContractRate));
  const MountState saved = m.state();
  EXPECT_TRUE(saved.tracking);
  EXPECT_FALSE(saved.parked);

  clock.advance(7200.0);
  Mount restored(config, clock, saved);
  restored.setSite(0.1, 0.3);
  EXPECT_NEAR(restored.rightAscensionRad(), goalRa, kTolRad);
  EXPECT_NEAR(restored.declinationRad(), 0.6, kTolRad);
  EXPECT_FALSE(restored.axisMoving(0));
}

TEST_F(MountTest, ParkedStateKeepsItsHourAngleAcrossRuns) {
  Mount& m = connect();
  ASSERT_TRUE(m.park(-0.2, 1.0));
  const MountState saved = m.state();
  EXPECT_TRUE(saved.parked);
  EXPECT_FALSE(saved.tracking);

  clock.advance(5000.0);
  Mount restored(config, clock, saved);
  restored.setSite(0.1, 0.3);
  EXPECT_TRUE(restored.parked());
  EXPECT_NEAR(restored.rightAscensionRad(), wrapTwoPi(lst() + 0.2), kTolRad);
  EXPECT_TRUE(restored.westOfPier());
}

}  // namespace
}  // namespace tramox::sim
