// Park, Unpark, SetPark and AtPark.
#include <cmath>
#include <functional>

#include "common/units.h"
#include "platform/settings_key.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::driver::testing {
namespace {

class Parking : public DriverTest {
 protected:
  void storeParkPosition(double hourAngleRad, double decRad) {
    writeSetting("Park_AH", hourAngleRad);
    writeSetting("Park_Dec", decRad);
  }
};

TEST_F(Parking, ParkSendsTheStoredPositionAndUpdatesThePaddle) {
  storeParkPosition(1.5 * units::kPi / 12.0, units::kPi / 4);
  connect();
  scope_->Park();
  EXPECT_EQ(mount_.callsTo("ParkTel_DLL").back().args,
            (std::vector<double>{1.5 * units::kPi / 12.0, units::kPi / 4}));
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for Park", "Park at 1.5 45"}));
  // Parked only once the controller says so with both axes still.
  EXPECT_TRUE(scope_->parking());
  EXPECT_EQ(paddleControl("ButtonPark").text, "Park");
  EXPECT_TRUE(scope_->Get_AtPark());
  EXPECT_TRUE(scope_->parked());
  EXPECT_EQ(paddleControl("ButtonPark").text, "UnPark");
  EXPECT_FALSE(paddleControl("ButtonTracking").enabled);
}

TEST_F(Parking, ParkTwiceDoesNothingTheSecondTime) {
  storeParkPosition(0, 0);
  scope_->Park();
  clearLog();
  mount_.clearCalls();
  scope_->Park();
  EXPECT_EQ(logged(), std::vector<std::string>{"ASK for Park"});
  EXPECT_TRUE(mount_.calls.empty());
}

TEST_F(Parking, ParkStartsTrackingFirst) {
  storeParkPosition(0, 0);
  ASSERT_FALSE(scope_->tracking());
  scope_->Park();
  EXPECT_TRUE(scope_->tracking());
  EXPECT_EQ(mount_.names().front(), "ReturnToSideralSpeedEngineDevice_DLL");
}

// Only when the key cannot be created: the log's request line creates it otherwise.
TEST_F(Parking, WithoutTheSettingsKeyParksAtZero) {
  fakes_.registry.deleteKey(platform::Hive::CurrentUser, platform::SettingsKey::kPath);
  fakes_.registry.failWrites(platform::Hive::CurrentUser, platform::SettingsKey::kPath);
  scope_->Park();
  EXPECT_EQ(mount_.callsTo("ParkTel_DLL").back().args, (std::vector<double>{0.0, 0.0}));
}

TEST_F(Parking, MissingOrMistypedParkValuesFailAfterTrackingStarted) {
  expectDriverError([&] { scope_->Park(); }, codes::kUnexpected,
                    "Echec à l'obtention des données pour 'Park_AH'");
  EXPECT_TRUE(scope_->tracking());
  EXPECT_FALSE(scope_->parked());
  writeSetting("Park_AH", 0.0);
  platform::SettingsKey(fakes_.registry).writeInt32("Park_Dec", 3);
  EXPECT_THROW(scope_->Park(), platform::RegistryError);
  EXPECT_EQ(mount_.count("ParkTel_DLL"), 0);
}

TEST_F(Parking, StoredParkValuesOutOfRangeFailBeforeTheParkCall) {
  connect();
  const struct {
    double hourAngleRad, decRad;
    const char* message;
  } cases[] = {
      {std::nan(""), 0.0,
       "Stored \"Park_AH\"=nan: Park hour angle must be in the range [-24h,24h]"},
      {0.0, 2.0, "Stored \"Park_Dec\"=2: Park declination must be in the range [-90°,90°]"},
  };
  for (const auto& c : cases) {
    storeParkPosition(c.hourAngleRad, c.decRad);
    expectDriverError([&] { scope_->Park(); }, codes::kInvalidValue, c.message);
  }
  EXPECT_EQ(mount_.count("ParkTel_DLL"), 0);
}

TEST_F(Parking, RefusedParkLeavesTheMountUnparked) {
  storeParkPosition(0, 0);
  mount_.refuse("ParkTel_DLL");
  expectDriverError([&] { scope_->Park(); }, codes::kNotImplemented, "Park failed");
  EXPECT_FALSE(scope_->parked());
}

TEST_F(Parking, UnparkResumesTrackingWithoutATrackingCall) {
  storeParkPosition(0, 0);
  connect();
  scope_->Set_Tracking(false);
  scope_->Park();
  scope_->Get_AtPark();
  clearLog();
  mount_.clearCalls();
  scope_->Unpark();
  EXPECT_FALSE(scope_->parked());
  EXPECT_TRUE(scope_->tracking());
  EXPECT_EQ(mount_.names(), std::vector<std::string>{"UnParkTel_DLL"});
  EXPECT_EQ(logged(), std::vector<std::string>{"ASK for Unpark"});
  EXPECT_EQ(paddleControl("ButtonPark").text, "Park");
  EXPECT_TRUE(paddleControl("ButtonTracking").enabled);
}

TEST_F(Parking, UnparkWhileNotParkedOrRefused) {
  scope_->Unpark();
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_TRUE(logged().empty());
  mount_.parked = 1;
  scope_->Get_AtPark();
  mount_.refuse("UnParkTel_DLL");
  expectDriverError([&] { scope_->Unpark(); }, codes::kNotImplemented, "UnPark failed");
  EXPECT_TRUE(scope_->parked());
}

TEST_F(Parking, SetParkStoresTheHourAngleUnreduced) {
  // 2000-01-01 12:00 UT at 87.08 deg east: sidereal time about 0.5 h.
  scope_->Set_SiteLongitude(87.08);
  fakes_.clock.setTimeZone({0, 0, 0, 0});
  fakes_.clock.setLocal(36526.5);
  connect();
  const double siderealHours = scope_->Get_SiderealTime();
  ASSERT_NEAR(siderealHours, 0.5, 0.01);
  mount_.raRad = (siderealHours + 23.0) * units::kPi / 12.0;
  mount_.decRad = units::kPi / 4;
  clearLog();
  scope_->SetPark();
  EXPECT_NEAR(*setting("Park_AH"), -23.0 * units::kPi / 12.0, 1e-12);
  EXPECT_EQ(setting("Park_Dec"), 0.7853981633974483);
  const auto lines = logged();
  EXPECT_EQ(lines[0], "ASK for RightAscension");
  EXPECT_EQ(lines[2], "ASK for SiderealTime");
  EXPECT_EQ(lines[4], "ASK for Declination");
  EXPECT_EQ(lines[6].rfind("SetPark -23", 0), 0u);
}

TEST_F(Parking, SetParkWritesAndParkReadsBothValuesAsOneUnit) {
  connect();
  const int commits = fakes_.registry.commitCount();
  scope_->SetPark();
  EXPECT_EQ(fakes_.registry.commitCount(), commits + 1);
  const int looseReads = fakes_.registry.looseReadCount();
  scope_->Park();
  EXPECT_TRUE(scope_->parking());
  EXPECT_EQ(fakes_.registry.looseReadCount(), looseReads);
}

TEST_F(Parking, SetParkWhileDisconnectedDoesNothing) {
  const int writes = fakes_.registry.writeCount();
  scope_->SetPark();
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_TRUE(logged().empty());
  EXPECT_EQ(fakes_.registry.writeCount(), writes);
}

TEST_F(Parking, SetParkFailsWithTheReadsError) {
  connect();
  mount_.refuse("GetDeltaCodeursDevice_DLL");
  expectDriverError([&] { scope_->SetPark(); }, codes::kDeclinationUnreadable,
                    "Can not get declination");
  EXPECT_EQ(setting("Park_AH"), std::nullopt);
}

TEST_F(Parking, AtParkFollowsTheController) {
  EXPECT_FALSE(scope_->Get_AtPark());
  mount_.parked = 1;
  EXPECT_TRUE(scope_->Get_AtPark());
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for AtPark", kResult + "false",
                                                "ASK for AtPark", kResult + "true"}));
  expectDriverError([&] { scope_->SlewToTargetAsync(); }, codes::kInvalidState,
                    "Telescope is parked");
}

TEST_F(Parking, PaddleButtonParksAndUnparks) {
  storeParkPosition(0, 0);
  connect();
  auto* view = fakes_.paddleViews.lastView();
  view->events->click("ButtonPark");
  EXPECT_TRUE(scope_->parking());
  // The paddle's refresh finds the arrival.
  view->events->click("ButtonMaj");
  EXPECT_TRUE(scope_->parked());
  EXPECT_EQ(paddleControl("ButtonPark").text, "UnPark");
  view->events->click("ButtonPark");
  EXPECT_FALSE(scope_->parked());
  EXPECT_EQ(paddleControl("ButtonPark").text, "Park");
}

TEST_F(Parking, DuringTheParkMotionTheMountIsParkingNotParked) {
  storeParkPosition(0, 0);
  connect();
  bool moving = true;
  mount_.axisSlewing = [&](std::int32_t axis) { return controller::Byte(moving && axis == 1); };
  scope_->Park();
  for (int poll = 0; poll < 3; ++poll) {
    EXPECT_TRUE(scope_->Get_Slewing());
    EXPECT_FALSE(scope_->Get_AtPark());
  }
  const auto parked = [](auto&& member) {
    expectDriverError(member, codes::kInvalidState, "Telescope is parked");
  };
  parked([&] { scope_->SlewToCoordinatesAsync(1, 1); });
  parked([&] { scope_->SyncToCoordinates(1, 1); });
  parked([&] { scope_->MoveAxis(0, 0.01); });
  parked([&] { scope_->PulseGuide(0, 100); });
  parked([&] { scope_->Set_Tracking(false); });
  scope_->Park();
  EXPECT_EQ(mount_.count("ParkTel_DLL"), 1);
  moving = false;
  EXPECT_FALSE(scope_->Get_Slewing());
  EXPECT_TRUE(scope_->parked());
  EXPECT_TRUE(scope_->Get_AtPark());
}

TEST_F(Parking, AParkMotionEndingWithoutParkedLeavesTheMountUnparked) {
  storeParkPosition(0, 0);
  scope_->Park();
  mount_.parked = 0;  // the controller stopped short
  EXPECT_FALSE(scope_->Get_AtPark());
  EXPECT_FALSE(scope_->parking());
  EXPECT_NO_THROW(scope_->SyncToCoordinates(1, 1));
}

// Stopped from any client or from the paddle: the mount stays where it is, unparked.
TEST_F(Parking, StoppingTheParkMotionLeavesTheMountUnparked) {
  storeParkPosition(0, 0);
  connect();
  mount_.axisSlewing = [](std::int32_t) { return controller::Byte{1}; };
  const std::function<void()> stops[] = {
      [&] { scope_->AbortSlew(); }, [&] { scope_->MoveAxis(1, 0.0); }, [&] { scope_->Unpark(); }};
  for (const auto& stop : stops) {
    scope_->Park();
    mount_.clearCalls();
    EXPECT_NO_THROW(stop());
    EXPECT_EQ(mount_.count("StopSlewing_TelescopeSeekerDevice_DLL"), 1);
    EXPECT_EQ(mount_.count("UnParkTel_DLL"), 1);
    EXPECT_FALSE(scope_->parking());
    EXPECT_FALSE(scope_->Get_AtPark());
  }
}

}  // namespace
}  // namespace tramox::driver::testing
