// Slews, synchronisations, targets and AbortSlew.
#include <cmath>

#include "common/units.h"
#include "platform/settings_key.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::driver::testing {
namespace {

class Slews : public DriverTest {
 protected:
  // Tracking, not parked: what every slew needs.
  void makeReady() {
    connect();
    ASSERT_TRUE(scope_->tracking());
  }
  std::vector<double> seekerArgs() {
    return mount_.callsTo("InitTelescopeSeekerDevice_DLL").back().args;
  }
};

TEST_F(Slews, AsyncHandsTheFiveValuesToTheController) {
  scope_->Set_SiteLongitude(2.0);
  makeReady();
  scope_->SlewToCoordinatesAsync(6.0, 45.0);
  EXPECT_EQ(seekerArgs(),
            (std::vector<double>{6.0 / 12.0 * units::kPi, 45.0 / 180.0 * units::kPi,
                                 -2.0 / 180.0 * units::kPi, 0.0, 7.27220521664304e-05}));
  EXPECT_EQ(logged(), (std::vector<std::string>{"SlewToCoordinatesAsync 6 45",
                                                "Appel InitTelescopeSeeker_DLL 1.5707963267949 "
                                                "0.785398163397448"}));
  EXPECT_EQ(scope_->Get_TargetRightAscension(), 6.0);
  EXPECT_EQ(scope_->Get_TargetDeclination(), 45.0);
}

TEST_F(Slews, BoundsAreInclusive) {
  makeReady();
  scope_->SlewToCoordinatesAsync(24.0, 90.0);
  scope_->SlewToCoordinatesAsync(0.0, -90.0);
  EXPECT_EQ(mount_.count("InitTelescopeSeekerDevice_DLL"), 2);
}

TEST_F(Slews, RightAscensionOutOfRangeChangesNoTarget) {
  makeReady();
  expectDriverError([&] { scope_->SlewToCoordinatesAsync(-0.001, 10.0); }, codes::kInvalidState,
                    "Right ascension out of [0,24]");
  expectDriverError([&] { scope_->SlewToCoordinatesAsync(std::nan(""), 10.0); },
                    codes::kInvalidState, "Right ascension out of [0,24]");
  expectDriverError([&] { scope_->Get_TargetRightAscension(); }, codes::kTargetNotSet,
                    "Target right ascension not available");
  EXPECT_EQ(mount_.count("InitTelescopeSeekerDevice_DLL"), 0);
}

TEST_F(Slews, RightAscensionIsStoredBeforeTheDeclinationIsChecked) {
  makeReady();
  expectDriverError([&] { scope_->SlewToCoordinatesAsync(5.0, 95.0); }, codes::kInvalidState,
                    "Declination out of [-90,90]");
  EXPECT_EQ(scope_->Get_TargetRightAscension(), 5.0);
  expectDriverError([&] { scope_->Get_TargetDeclination(); }, codes::kTargetNotSet,
                    "Target declination not available");
}

TEST_F(Slews, ParkedAndUntrackedMountsRefuseEverySlewAndSync) {
  makeReady();
  scope_->Set_Tracking(false);
  const auto refusedUntracked = [&](auto action) {
    expectDriverError(action, codes::kInvalidState, "Telescope is not tracking");
  };
  refusedUntracked([&] { scope_->SlewToCoordinates(1, 1); });
  refusedUntracked([&] { scope_->SlewToCoordinatesAsync(1, 1); });
  refusedUntracked([&] { scope_->SlewToTarget(); });
  refusedUntracked([&] { scope_->SlewToTargetAsync(); });
  refusedUntracked([&] { scope_->SyncToCoordinates(1, 1); });
  refusedUntracked([&] { scope_->SyncToTarget(); });
  writeSetting("Park_AH", 0.0);
  writeSetting("Park_Dec", 0.0);
  scope_->Park();
  scope_->Get_AtPark();
  clearLog();
  const auto refusedParked = [&](auto action) {
    expectDriverError(action, codes::kInvalidState, "Telescope is parked");
  };
  refusedParked([&] { scope_->SlewToCoordinates(1, 1); });
  refusedParked([&] { scope_->SyncToCoordinates(1, 1); });
  refusedParked([&] { scope_->AbortSlew(); });
  EXPECT_EQ(mount_.count("InitTelescopeSeekerDevice_DLL"), 0);
  EXPECT_EQ(mount_.count("CalibrateCodeursDevice_DLL"), 0);
  EXPECT_EQ(mount_.count("StopSlewing_TelescopeSeekerDevice_DLL"), 0);
  // The synchronous slew refuses from its own check, before its asynchronous part logs.
  EXPECT_EQ(logged(), (std::vector<std::string>{"SlewToCoordinates", "ASK for AbortSlew"}));
}

TEST_F(Slews, TargetNeverSetSlewsToZero) {
  makeReady();
  expectDriverError([&] { scope_->Get_TargetRightAscension(); }, codes::kTargetNotSet,
                    "Target right ascension not available");
  clearLog();
  scope_->SlewToTargetAsync();
  EXPECT_EQ(seekerArgs()[0], 0.0);
  EXPECT_EQ(seekerArgs()[1], 0.0);
  const auto lines = logged();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "SlewToTargetAsync 0 0");
  EXPECT_EQ(lines[1].rfind("Appel InitTelescopeSeeker_DLL 0 0 ", 0), 0u);
  EXPECT_EQ(lines[2], "Retour Appel InitTelescopeSeeker_DLL");
}

TEST_F(Slews, SyncStoresTargetAndPositionButNotTheFlags) {
  makeReady();
  mount_.refuse("CalibrateCodeursDevice_DLL");
  expectDriverError([&] { scope_->SyncToCoordinates(12.0, 45.0); }, codes::kInvalidState,
                    "Sync impossible");
  EXPECT_EQ(mount_.callsTo("CalibrateCodeursDevice_DLL").back().args,
            (std::vector<double>{units::kPi, units::kPi / 4}));
  expectDriverError([&] { scope_->Get_TargetRightAscension(); }, codes::kTargetNotSet,
                    "Target right ascension not available");
  scope_->SlewToTargetAsync();
  EXPECT_EQ(seekerArgs()[0], units::kPi);
  EXPECT_EQ(seekerArgs()[1], units::kPi / 4);
  // Writes no log line of its own.
  EXPECT_EQ(logged()[0], "ASK for TargetRightAscension");
}

TEST_F(Slews, SyncRefusesCoordinatesOutOfRange) {
  makeReady();
  expectDriverError([&] { scope_->SyncToCoordinates(24.5, 0.0); }, codes::kInvalidState,
                    "Coordinates not available");
  expectDriverError([&] { scope_->SyncToCoordinates(1.0, -90.5); }, codes::kInvalidState,
                    "Coordinates not available");
  EXPECT_EQ(mount_.count("CalibrateCodeursDevice_DLL"), 0);
}

TEST_F(Slews, SyncToTargetUsesTheStoredTarget) {
  makeReady();
  scope_->Set_TargetRightAscension(3.0);
  scope_->Set_TargetDeclination(-30.0);
  scope_->SyncToTarget();
  EXPECT_EQ(mount_.callsTo("CalibrateCodeursDevice_DLL").back().args,
            (std::vector<double>{3.0 / 12.0 * units::kPi, -30.0 / 180.0 * units::kPi}));
  mount_.refuse("CalibrateCodeursDevice_DLL");
  expectDriverError([&] { scope_->SyncToTarget(); }, codes::kInvalidState, "Sync impossible");
}

TEST_F(Slews, TargetSettersLogThenCheck) {
  expectDriverError([&] { scope_->Set_TargetDeclination(91.0); }, codes::kInvalidValue,
                    "Declination out of [-90,90]");
  expectDriverError([&] { scope_->Set_TargetRightAscension(24.01); }, codes::kInvalidValue,
                    "Right ascension out of [0,24]");
  scope_->Set_TargetRightAscension(24.0);
  EXPECT_EQ(scope_->Get_TargetRightAscension(), 24.0);
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"SET TargetDeclination 91", "SET TargetRightAscension 24.01",
                                      "SET TargetRightAscension 24", "ASK for TargetRightAscension",
                                      kResult + "24"}));
}

TEST_F(Slews, AbortSlewIgnoresTracking) {
  makeReady();
  scope_->Set_Tracking(false);
  scope_->AbortSlew();
  EXPECT_EQ(mount_.count("StopSlewing_TelescopeSeekerDevice_DLL"), 1);
}

TEST_F(Slews, AltAzMembersAreRefusedSilently) {
  expectDriverError([&] { scope_->SlewToAltAz(1, 2); }, codes::kNotImplemented,
                    "SlewToAltAz not implemented");
  expectDriverError([&] { scope_->SlewToAltAzAsync(1, 2); }, codes::kNotImplemented,
                    "SlewToAltAzAsync not implemented");
  expectDriverError([&] { scope_->SyncToAltAz(1, 2); }, codes::kNotImplemented,
                    "SyncToAltAz not implemented");
  EXPECT_TRUE(logged().empty());
}

class SynchronousSlews : public Slews {};

TEST_F(SynchronousSlews, WaitUntilTheControllerReportsTheEnd) {
  makeReady();
  int polls = 0;
  mount_.axisSlewing = [&](std::int32_t axis) -> controller::Byte {
    return axis == 0 && ++polls <= 3 ? 1 : 0;
  };
  scope_->SlewToCoordinates(1.0, 2.0);
  std::vector<std::string> slewingLines;
  for (const auto& line : logged()) {
    if (line == "ASK for Slewing" || line.rfind(kResult, 0) == 0) {
      slewingLines.push_back(line);
    }
  }
  EXPECT_EQ(slewingLines.size(), 8u);
  EXPECT_EQ(slewingLines.back(), kResult + "false");
  // Paused between reads, not after the last one.
  EXPECT_EQ(fakes_.clock.sleepCalls(), 3);
  EXPECT_NEAR(fakes_.clock.sleptSeconds(), 0.15, 1e-9);
}

TEST_F(SynchronousSlews, ToTargetWaitsAsWell) {
  makeReady();
  int polls = 0;
  mount_.axisSlewing = [&](std::int32_t axis) -> controller::Byte {
    return axis == 1 && ++polls <= 2 ? 1 : 0;
  };
  scope_->SlewToTarget();
  EXPECT_EQ(logged().front(), "SlewToTarget 0 0");
  EXPECT_EQ(mount_.count("IsAxisSlewing_DLL"), 6);
}

TEST_F(SynchronousSlews, GiveUpAfterTheDefaultLimitAndStopTheSlew) {
  makeReady();
  mount_.axisSlewing = [](std::int32_t) -> controller::Byte { return 1; };
  expectDriverError([&] { scope_->SlewToCoordinates(1.0, 2.0); }, codes::kInvalidState,
                    "Slew not finished after 600 s, slew stopped");
  EXPECT_GE(fakes_.clock.sleptSeconds(), 600.0);
  EXPECT_LT(fakes_.clock.sleptSeconds(), 600.2);
  EXPECT_EQ(mount_.names().back(), "StopSlewing_TelescopeSeekerDevice_DLL");
}

TEST_F(SynchronousSlews, LimitComesFromTheSettingsKey) {
  platform::SettingsKey(fakes_.registry).writeInt32("SlewTimeout", 5);
  makeReady();
  mount_.axisSlewing = [](std::int32_t) -> controller::Byte { return 1; };
  expectDriverError([&] { scope_->SlewToTarget(); }, codes::kInvalidState,
                    "Slew not finished after 5 s, slew stopped");
  EXPECT_NEAR(fakes_.clock.sleptSeconds(), 5.0, 0.06);
}

TEST_F(SynchronousSlews, AnErrorFromSlewingEndsTheWait) {
  makeReady();
  int polls = 0;
  // A log switch of the wrong type makes the next logged read fail.
  mount_.axisSlewing = [&](std::int32_t) -> controller::Byte {
    if (++polls == 3) {
      fakes_.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                                 "LogEnabled", platform::RegistryValue::ofString("1"));
    }
    return 1;
  };
  EXPECT_THROW(scope_->SlewToCoordinates(1.0, 2.0), platform::RegistryError);
  EXPECT_EQ(polls, 3);
}

}  // namespace
}  // namespace tramox::driver::testing
