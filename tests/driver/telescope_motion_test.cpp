// MoveAxis, PulseGuide, Tracking put, AxisRates and the refused members.
#include <functional>

#include "common/units.h"
#include "platform/settings_key.h"
#include "rates/axis_rates.h"
#include "rates/rates.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::driver::testing {
namespace {

class MoveAxisMember : public DriverTest {
 protected:
  // Controller speeds chosen so that value 9 (primary SMax) is 2.0 deg/s.
  void fillSpeedTable() {
    mount_.speedsRadPerSec = {
        0, 0, 0.001, 0.002, 0, 0, 0.01, 0.02, 2.0 * units::kPi / 180.0, 3.0 * units::kPi / 180.0};
    scope_->AxisRates(axisPrimary);
    clearLog();
    mount_.clearCalls();
  }
  double degPerSec(double radPerSec) { return radPerSec * 180.0 / units::kPi; }
};

TEST_F(MoveAxisMember, MatchesTheRateToASpeedClassWithinTolerance) {
  fillSpeedTable();
  scope_->MoveAxis(axisPrimary, -2.000005);
  scope_->MoveAxis(axisPrimary, degPerSec(0.01));
  scope_->MoveAxis(axisSecondary, degPerSec(0.002));
  scope_->MoveAxis(axisSecondary, -3.0);
  EXPECT_EQ(mount_.callsTo("MoveEngineDevice_DLL"),
            (std::vector<ControllerCall>{{"MoveEngineDevice_DLL", {3, 0}},
                                         {"MoveEngineDevice_DLL", {2, 1}},
                                         {"MoveEngineDevice_DLL", {0, 2}},
                                         {"MoveEngineDevice_DLL", {1, 0}}}));
  const auto lines = logged();
  EXPECT_EQ(lines[0], "ASK for MoveAxis primary rate=-2.000005");
  EXPECT_EQ(lines[1], "MoveEngine Speed=SMax");
  EXPECT_EQ(lines[3], "MoveEngine Speed=SMedium");
  EXPECT_EQ(lines[5], "MoveEngine Speed=SSideral");
}

TEST_F(MoveAxisMember, UnknownRateFailsBeforeAnyControllerCall) {
  fillSpeedTable();
  expectDriverError([&] { scope_->MoveAxis(axisPrimary, 1.5); }, codes::kInvalidValue,
                    "Invalid rate");
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"ASK for MoveAxis primary rate=1.5", "Rate impossible"}));
  EXPECT_TRUE(mount_.calls.empty());
}

TEST_F(MoveAxisMember, RateZeroStopsTheAddressedAxis) {
  scope_->MoveAxis(axisSecondary, 0.0);
  scope_->MoveAxis(axisPrimary, 0.0);
  EXPECT_EQ(mount_.callsTo("StopTelescopeEngineDevice_DLL"),
            (std::vector<ControllerCall>{{"StopTelescopeEngineDevice_DLL", {0, 1}},
                                         {"StopTelescopeEngineDevice_DLL", {1, 0}}}));
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"ASK for MoveAxis secondary rate=0", "ASK for Stop Delta",
                                      "ASK for MoveAxis primary rate=0", "ASK for Stop Alpha"}));
}

TEST_F(MoveAxisMember, ControllerRefusalsAreReported) {
  fillSpeedTable();
  mount_.refuse("StopTelescopeEngineDevice_DLL");
  mount_.refuse("MoveEngineDevice_DLL");
  expectDriverError([&] { scope_->MoveAxis(axisPrimary, 0.0); }, codes::kInvalidState,
                    "Stop Axis impossible");
  expectDriverError([&] { scope_->MoveAxis(axisPrimary, 2.0); }, codes::kInvalidState,
                    "Move Axis impossible");
}

TEST_F(MoveAxisMember, TertiaryAndUnknownAxesAreRefused) {
  expectDriverError([&] { scope_->MoveAxis(axisTertiary, 0.0); }, codes::kInvalidValue,
                    "Value to low");
  expectDriverError([&] { scope_->MoveAxis(7, 0.0); }, codes::kInvalidValue,
                    rates::kInvalidAxisMessage);
  expectDriverError([&] { scope_->MoveAxis(-1, 1.0); }, codes::kInvalidValue,
                    rates::kInvalidAxisMessage);
  EXPECT_EQ(logged(), std::vector<std::string>{"ASK for MoveAxis tertiary rate=0"});
  EXPECT_TRUE(mount_.calls.empty());
}

TEST_F(MoveAxisMember, BeforeAnyAxisRatesEveryRealRateIsInvalid) {
  expectDriverError([&] { scope_->MoveAxis(axisPrimary, 0.00001); }, codes::kInvalidValue,
                    "Invalid rate");
}

TEST_F(MoveAxisMember, ParkedMountRefuses) {
  mount_.parked = 1;
  scope_->Get_AtPark();
  clearLog();
  expectDriverError([&] { scope_->MoveAxis(axisPrimary, 0.0); }, codes::kInvalidState,
                    "Telescope is parked");
  EXPECT_EQ(logged(), std::vector<std::string>{"ASK for MoveAxis but Parked"});
}

TEST_F(MoveAxisMember, CanMoveAxisByAxis) {
  EXPECT_EQ(scope_->CanMoveAxis(axisPrimary), true);
  EXPECT_EQ(scope_->CanMoveAxis(axisSecondary), true);
  EXPECT_EQ(scope_->CanMoveAxis(axisTertiary), false);
  EXPECT_EQ(scope_->CanMoveAxis(3), std::nullopt);
}

// A log switch of the wrong type fails every logged member, but must never keep the mount
// moving: the members that stop it make their controller call first, then report.
TEST_F(MoveAxisMember, AWrongTypedLogSwitchIsReportedAfterTheStop) {
  struct Stop {
    const char* what;
    std::function<void(TTelescope&, DriverRuntime&)> member;
    const char* entryPoint;
  };
  const Stop stops[] = {
      {"AbortSlew", [](TTelescope& t, DriverRuntime&) { t.AbortSlew(); },
       "StopSlewing_TelescopeSeekerDevice_DLL"},
      {"MoveAxis rate 0", [](TTelescope& t, DriverRuntime&) { t.MoveAxis(axisSecondary, 0.0); },
       "StopTelescopeEngineDevice_DLL"},
      {"paddle release",
       [](TTelescope&, DriverRuntime& rt) { rt.state.paddle->ButtonEastMouseUp(); },
       "StopTelescopeEngineDevice_DLL"},
      {"Connected false", [](TTelescope& t, DriverRuntime&) { t.Set_Connected(false); },
       "CloseCodeursDevice_DLL"},
  };
  for (const Stop& stop : stops) {
    SCOPED_TRACE(stop.what);
    connect();
    fakes_.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                               "LogEnabled", platform::RegistryValue::ofString("1"));
    mount_.clearCalls();
    try {
      stop.member(*scope_, *runtime_);
      ADD_FAILURE() << "no error";
    } catch (const platform::RegistryError& e) {
      EXPECT_STREQ(e.what(), "Type de données incorrect pour 'LogEnabled' (\"LogEnabled\"=\"1\")");
    }
    EXPECT_EQ(mount_.count(stop.entryPoint), 1);
    fakes_.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                               "LogEnabled", platform::RegistryValue::ofDword(1));
  }
}

class AxisRatesMember : public DriverTest {};

TEST_F(AxisRatesMember, EveryCallAsksTheControllerAndMakesANewCollection) {
  auto first = scope_->AxisRates(axisSecondary);
  auto second = scope_->AxisRates(axisSecondary);
  EXPECT_NE(first, second);
  EXPECT_EQ(mount_.count("GetSpeed_DLL"), 2);
  EXPECT_EQ(first->Get_Count(), 3);
  EXPECT_DOUBLE_EQ(first->Get_Item(1)->Get_Maximum(), 0.004 * 180.0 / units::kPi);
  EXPECT_EQ(scope_->AxisRates(axisTertiary)->Get_Count(), 0);
  expectDriverError([&] { scope_->AxisRates(3); }, codes::kInvalidValue,
                    rates::kInvalidAxisMessage);
}

class PulseGuideMember : public DriverTest {};

TEST_F(PulseGuideMember, EachDirectionDrivesItsAxis) {
  scope_->PulseGuide(guideNorth, 250);
  scope_->PulseGuide(guideSouth, 100);
  scope_->PulseGuide(guideEast, 500);
  scope_->PulseGuide(guideWest, 65535);
  EXPECT_EQ(mount_.callsTo("PulseGuideAscomDevice_DLL"),
            (std::vector<ControllerCall>{{"PulseGuideAscomDevice_DLL", {0, 0, 0, 250}},
                                         {"PulseGuideAscomDevice_DLL", {0, 1, 0, 100}},
                                         {"PulseGuideAscomDevice_DLL", {0, 0, 500, 0}},
                                         {"PulseGuideAscomDevice_DLL", {1, 0, 65535, 0}}}));
  EXPECT_EQ(logged(),
            (std::vector<std::string>{
                "ASK for PulseGuide North of 250ms", "ASK for PulseGuide South of 100ms",
                "ASK for PulseGuide East of 500ms", "ASK for PulseGuide West of 65535ms"}));
}

TEST_F(PulseGuideMember, NothingForNoDurationOrAnUnknownDirection) {
  scope_->PulseGuide(guideWest, 0);
  scope_->PulseGuide(guideEast, -5);
  scope_->PulseGuide(4, 100);
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_TRUE(logged().empty());
}

// 70000 ms would reach the controller as its low 16 bits, 4464 ms.
TEST_F(PulseGuideMember, DurationBeyondSixteenBitsIsRefused) {
  expectDriverError([&] { scope_->PulseGuide(guideEast, 70000); }, codes::kInvalidValue,
                    "Duration out of [0,65535]");
  expectDriverError([&] { scope_->PulseGuide(guideNorth, 65536); }, codes::kInvalidValue,
                    "Duration out of [0,65535]");
  EXPECT_TRUE(mount_.calls.empty());
}

TEST_F(PulseGuideMember, ParkedMountRefusesWithoutLogging) {
  mount_.parked = 1;
  scope_->Get_AtPark();
  clearLog();
  expectDriverError([&] { scope_->PulseGuide(guideNorth, 0); }, codes::kInvalidState,
                    "Telescope is parked");
  EXPECT_TRUE(logged().empty());
}

class TrackingPut : public DriverTest {};

TEST_F(TrackingPut, SwitchesTrackingAndRecordsItInTheProfile) {
  arrangeProfileKey();
  connect();
  scope_->Set_Tracking(false);
  EXPECT_FALSE(scope_->tracking());
  EXPECT_EQ(paddleControl("ButtonTracking").text, "Track");
  EXPECT_EQ(fakes_.profile.stored("TRAMOX.Telescope", "Tracking"), "No");
  scope_->Set_Tracking(true);
  EXPECT_TRUE(scope_->tracking());
  EXPECT_EQ(paddleControl("ButtonTracking").text, "UnTrack");
  EXPECT_EQ(fakes_.profile.stored("TRAMOX.Telescope", "Tracking"), "Yes");
  EXPECT_EQ(mount_.names(), (std::vector<std::string>{"Stop_ALL_TelescopeEngineDevice_DLL",
                                                      "ReturnToSideralSpeedEngineDevice_DLL"}));
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"SET for Tracking=false", "SET for Tracking=true"}));
}

TEST_F(TrackingPut, RefusalIsReportedAfterTheProfileRecordsTheRealState) {
  arrangeProfileKey();
  mount_.refuse("ReturnToSideralSpeedEngineDevice_DLL");
  expectDriverError([&] { scope_->Set_Tracking(true); }, codes::kInvalidState,
                    "Tracking start impossible");
  EXPECT_FALSE(scope_->tracking());
  EXPECT_EQ(fakes_.profile.stored("TRAMOX.Telescope", "Tracking"), "No");
  EXPECT_EQ(logged(), std::vector<std::string>{"SET for Tracking=true"});

  mount_.accept("ReturnToSideralSpeedEngineDevice_DLL");
  scope_->Set_Tracking(true);
  mount_.refuse("Stop_ALL_TelescopeEngineDevice_DLL");
  expectDriverError([&] { scope_->Set_Tracking(false); }, codes::kInvalidState,
                    "Tracking stop impossible");
  EXPECT_TRUE(scope_->tracking());
  EXPECT_EQ(fakes_.profile.stored("TRAMOX.Telescope", "Tracking"), "Yes");
}

TEST_F(TrackingPut, WithoutTheProfileKeyTheProfileIsSkipped) {
  scope_->Set_Tracking(true);
  EXPECT_TRUE(scope_->tracking());
  EXPECT_TRUE(fakes_.profile.calls().empty());
}

TEST_F(TrackingPut, ParkedMountRefusesItWithoutALogLine) {
  mount_.parked = 1;
  scope_->Get_AtPark();
  clearLog();
  mount_.clearCalls();
  for (const bool value : {false, true}) {
    expectDriverError([&] { scope_->Set_Tracking(value); }, codes::kInvalidState,
                      "Telescope is parked");
  }
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_TRUE(logged().empty());
  EXPECT_FALSE(scope_->tracking());
}

TEST(RefusedMembers, FailWithTheirOwnMessages) {
  // No controller is needed: none of them reaches it.
  fakes::FakeServices fakes;
  DriverRuntime runtime(fakes.services());
  TTelescope scope(runtime);
  expectDriverError([&] { scope.Set_DeclinationRate(1); }, codes::kNotImplemented,
                    "Can not change DeclinationRate");
  expectDriverError([&] { scope.Set_GuideRateDeclination(1); }, codes::kNotImplemented,
                    "Can not change GuideRateDeclination");
  expectDriverError([&] { scope.Set_GuideRateRightAscension(1); }, codes::kNotImplemented,
                    "Can not change GuideRateRightAscension");
  expectDriverError([&] { scope.Set_RightAscensionRate(1); }, codes::kNotImplemented,
                    "Can not change RightAscensionRate");
  expectDriverError([&] { scope.Set_SideOfPier(1); }, codes::kNotImplemented,
                    "Can not change side of pier");
  expectDriverError([&] { scope.Set_SlewSettleTime(1); }, codes::kNotImplemented,
                    "SlewSettleTime not avalailable");
  expectDriverError([&] { scope.CommandBlind("x"); }, codes::kNotImplemented,
                    "CommandBlind not implemented");
  expectDriverError([&] { scope.CommandBool("x"); }, codes::kNotImplemented,
                    "CommandBool not implemented");
  expectDriverError([&] { scope.CommandString("x"); }, codes::kNotImplemented,
                    "CommandString not implemented");
  expectDriverError([&] { scope.DestinationSideOfPier(1, 2); }, codes::kNotImplemented,
                    "Side of Pier unable");
  expectDriverError([&] { scope.FindHome(); }, codes::kNotImplemented, "FindHome not implemented");
}

}  // namespace
}  // namespace tramox::driver::testing
