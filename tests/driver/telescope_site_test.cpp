// Construction, Connected (read), the site properties and SetupDialog.
#include <cmath>

#include "common/units.h"
#include "platform/settings_key.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::driver::testing {
namespace {

using platform::Hive;

class Construction : public DriverTest {};

TEST_F(Construction, LoadsTheLibraryOnceAndStartsDisconnected) {
  EXPECT_TRUE(runtime_->controller.loaded());
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for Connected", kResult + "false"}));
}

TEST_F(Construction, SecondObjectSharesTheStateAndSkipsTheSetUp) {
  scope_->Set_TargetRightAscension(5.0);
  TTelescope second(*runtime_);
  // Process-wide flag set, per-object value fresh.
  EXPECT_EQ(second.Get_TargetRightAscension(), 0.0);
  scope_.reset();
  // Another object still lives: no set-up yet, the flag stays.
  EXPECT_EQ(second.Get_TargetRightAscension(), 0.0);
}

TEST_F(Construction, SetUpRunsAgainOnceAllObjectsAreGone) {
  scope_->Set_TargetDeclination(10.0);
  scope_.reset();
  scope_ = std::make_unique<TTelescope>(*runtime_);
  expectDriverError([&] { scope_->Get_TargetDeclination(); }, codes::kTargetNotSet,
                    "Target declination not available");
}

class SiteProperties : public DriverTest {};

TEST_F(SiteProperties, LongitudeIsStoredWestPositiveInRadians) {
  scope_->Set_SiteLongitude(10.0);
  EXPECT_EQ(setting("Longitude"), -0.17453292519943295);
  EXPECT_EQ(scope_->Get_SiteLongitude(), 10.0);
  EXPECT_EQ(logged(), (std::vector<std::string>{"Set Longitude=10", "ASK for SiteLongitude",
                                                kResult + "10"}));
}

TEST_F(SiteProperties, StoredLongitudeReadsBackAtTheNextConnect) {
  scope_->Set_SiteLongitude(10.0);
  scope_.reset();
  scope_ = std::make_unique<TTelescope>(*runtime_);
  scope_->Set_Connected(true);
  EXPECT_EQ(scope_->Get_SiteLongitude(), 10.0);
}

TEST_F(SiteProperties, BoundsAreInclusive) {
  scope_->Set_SiteLatitude(90.0);
  scope_->Set_SiteLatitude(-90.0);
  scope_->Set_SiteElevation(-300.0);
  scope_->Set_SiteElevation(10000.0);
  scope_->Set_SiteLongitude(-180.0);
  scope_->Set_SiteLongitude(180.0);
  EXPECT_EQ(scope_->Get_SiteLatitude(), -90.0);
  EXPECT_EQ(setting("Latitude"), -units::kPi / 2);
  EXPECT_EQ(setting("Altitude"), 10000.0);
}

TEST_F(SiteProperties, OutOfRangeFailsBeforeLoggingOrStoring) {
  scope_->Set_SiteElevation(100.0);
  clearLog();
  const int writes = fakes_.registry.writeCount();
  expectDriverError([&] { scope_->Set_SiteElevation(10001.0); }, codes::kInvalidValue,
                    "Elevation must be in the range [-300m,10000m]");
  expectDriverError([&] { scope_->Set_SiteLatitude(90.000001); }, codes::kInvalidValue,
                    "Latitude must be in the range [-90°,90°]");
  expectDriverError([&] { scope_->Set_SiteLongitude(std::nan("")); }, codes::kInvalidValue,
                    "Longitude must be in the range [-180°,180°]");
  EXPECT_TRUE(logged().empty());
  EXPECT_EQ(fakes_.registry.writeCount(), writes);
  EXPECT_EQ(setting("Altitude"), 100.0);
}

TEST_F(SiteProperties, LatitudeWhileConnectedReachesThePipelineOnlyAtTheNextConnect) {
  scope_->Set_SiteLatitude(10.0);
  scope_->Set_Connected(true);
  scope_->Set_SiteLatitude(45.0);
  EXPECT_EQ(scope_->Get_SiteLatitude(), 45.0);
  EXPECT_EQ(setting("Latitude"), 45.0 * units::kPi / 180.0);
  EXPECT_DOUBLE_EQ(runtime_->state.pipeline->LatitudeRad, 10.0 * units::kPi / 180.0);
  scope_->Set_Connected(false);
  scope_->Set_Connected(true);
  EXPECT_DOUBLE_EQ(runtime_->state.pipeline->LatitudeRad, 45.0 * units::kPi / 180.0);
}

TEST_F(SiteProperties, NumbersUseTheUsersDecimalSeparator) {
  fakes_.locale.setDecimalSeparator(",");
  scope_->Set_SiteElevation(12.5);
  EXPECT_EQ(logged(), std::vector<std::string>{"Set Elevation=12,5"});
}

class SetupDialogMember : public DriverTest {};

TEST_F(SetupDialogMember, OpensThePanelWithThreeZeros) {
  scope_->SetupDialog();
  EXPECT_EQ(mount_.callsTo("Init_telescope_Panel_DLL"),
            (std::vector<ControllerCall>{{"Init_telescope_Panel_DLL", {0, 0, 0}}}));
  EXPECT_EQ(logged(), std::vector<std::string>{"SetupDialog"});
}

TEST_F(SetupDialogMember, ReloadsAReleasedLibrary) {
  scope_->Set_Connected(true);
  scope_->Set_Connected(false);
  ASSERT_FALSE(runtime_->controller.loaded());
  scope_->SetupDialog();
  EXPECT_EQ(mount_.count("Init_telescope_Panel_DLL"), 1);
}

TEST_F(SetupDialogMember, WithoutALibraryFailsWithoutCallingAnything) {
  runtime_->controller.Release();
  fakes_.libraries.failLoad(controller::controllerLibraryPath(fakes_.libraries));
  mount_.clearCalls();
  expectDriverError([&] { scope_->SetupDialog(); }, codes::kInvalidState,
                    controller::kNotLoadedMessage);
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_FALSE(fakes_.messages.messages().empty());
}

}  // namespace
}  // namespace tramox::driver::testing
