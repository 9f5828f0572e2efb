// Connecting, disconnecting and destroying the object while connected.
#include <cmath>
#include <limits>
#include <stdexcept>

#include "common/units.h"
#include "platform/settings_key.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::driver::testing {
namespace {

class Connecting : public DriverTest {};

TEST_F(Connecting, OpensTheEncodersWithTheStoredSite) {
  writeSetting("Latitude", 0.5);
  writeSetting("Longitude", -0.25);
  writeSetting("Altitude", 300.0);
  scope_->Set_Connected(true);
  EXPECT_TRUE(scope_->Get_Connected());
  EXPECT_EQ(mount_.callsTo("InitCodeursDevice_DLL"),
            (std::vector<ControllerCall>{{"InitCodeursDevice_DLL", {0, 0, 0.5, -0.25}}}));
  EXPECT_DOUBLE_EQ(scope_->Get_SiteLongitude(), 0.25 * 180.0 / units::kPi);
  EXPECT_EQ(scope_->Get_SiteElevation(), 300.0);
  const auto& site = runtime_->state.SiteParameters;
  EXPECT_DOUBLE_EQ(site.latitudeRad, 0.5);
  EXPECT_DOUBLE_EQ(site.westLongitudeRad, -0.25);
  EXPECT_EQ(site.elevationM, 300.0);
  EXPECT_EQ(runtime_->state.AtmosphereParameters.pressureHpa, 1013.25);
  EXPECT_EQ(runtime_->state.AtmosphereParameters.relativeHumidity, 0.6);
}

TEST_F(Connecting, MissingSiteValuesAreWrittenAsZero) {
  scope_->Set_Connected(true);
  EXPECT_EQ(setting("Latitude"), 0.0);
  EXPECT_EQ(setting("Longitude"), 0.0);
  EXPECT_EQ(setting("Altitude"), 0.0);
  EXPECT_EQ(scope_->Get_SiteLatitude(), 0.0);
}

TEST_F(Connecting, MistypedSiteValueFailsBeforeTheController) {
  platform::SettingsKey(fakes_.registry).writeString("Latitude", "45");
  try {
    scope_->Set_Connected(true);
    ADD_FAILURE() << "no error";
  } catch (const platform::RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), "Type de données incorrect pour 'Latitude'");
  }
  EXPECT_EQ(mount_.count("InitCodeursDevice_DLL"), 0);
}

// A hand-edited settings file must not hand the controller a site nobody could have set.
TEST_F(Connecting, StoredSiteValuesOutOfRangeFailBeforeTheController) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char* name;
    double stored;
    const char* message;
  } cases[] = {
      {"Latitude", 1e300,
       "Stored \"Latitude\"=1.0000000000000001e+300: Latitude must be in "
       "the range [-90°,90°]"},
      {"Longitude", std::nan(""),
       "Stored \"Longitude\"=nan: Longitude must be in the range [-180°,180°]"},
      {"Altitude", -inf, "Stored \"Altitude\"=-inf: Elevation must be in the range [-300m,10000m]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeSetting(c.name, c.stored);
    expectDriverError([&] { scope_->Set_Connected(true); }, codes::kInvalidValue, c.message);
    EXPECT_EQ(mount_.count("InitCodeursDevice_DLL"), 0);
    writeSetting(c.name, 0.0);
  }
}

TEST_F(Connecting, ShowsAndFillsThePaddleInOrder) {
  mount_.raRad = 1.0;
  scope_->Set_Connected(true);
  auto* view = fakes_.paddleViews.lastView();
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->shown);
  EXPECT_EQ(view->control("LabelAD")->text.substr(0, 1), " ");
  EXPECT_FALSE(view->control("LabelKing")->visible);
  EXPECT_FALSE(view->control("LabelPEC")->visible);
  EXPECT_EQ(view->control("ButtonPark")->text, "Park");
  EXPECT_EQ(mount_.names(), (std::vector<std::string>{
                                "InitCodeursDevice_DLL", "GetSpeed_DLL", "GetSpeed_DLL",
                                "CheckCodeursCodeursDevice_DLL", "GetAlphaCodeursDevice_DLL",
                                "GetDeltaCodeursDevice_DLL", "GermanMount_DLL",
                                "TelescopeOuest_DLL", "GetKingPEC_DLL", "IsParkedDevice_DLL"}));
  const auto lines = logged();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Set_Connected");
  EXPECT_EQ(lines[1], "ASK for RightAscension");
}

TEST_F(Connecting, StartsKingAndPecWhenTheControllerReportsThem) {
  writeSetting("Latitude", 0.5);
  writeSetting("Longitude", -0.25);
  writeSetting("Altitude", 300.0);
  mount_.king = 1;
  mount_.pec = 1;
  scope_->Set_Connected(true);
  EXPECT_EQ(mount_.callsTo("StartKingDevice_DLL").at(0).args,
            (std::vector<double>{0.5, -0.25, 300.0, 1013.25}));
  // Arrays B, C, A, each with its highest index 3.
  EXPECT_EQ(mount_.callsTo("StartPecSpeedEngineDevice_DLL").at(0).args,
            (std::vector<double>{5, 6, 7, 8, 3, 9, 10, 11, 12, 3, 1, 2, 3, 4, 3}));
  EXPECT_TRUE(paddleControl("LabelKing").visible);
  EXPECT_TRUE(paddleControl("LabelPEC").visible);
}

TEST_F(Connecting, UnsetProfileBecomesYesAndTracking) {
  arrangeProfileKey();
  scope_->Set_Connected(true);
  EXPECT_EQ(fakes_.profile.stored("TRAMOX.Telescope", "Tracking"), "Yes");
  EXPECT_TRUE(scope_->Get_Tracking());
  EXPECT_EQ(paddleControl("ButtonTracking").text, "UnTracking");
}

TEST_F(Connecting, ProfileDecidesTheTrackingFlagCaseSensitively) {
  arrangeProfileKey();
  fakes_.profile.set("TRAMOX.Telescope", "Tracking", "No");
  scope_->Set_Connected(true);
  EXPECT_FALSE(scope_->tracking());
  EXPECT_EQ(paddleControl("ButtonTracking").text, "Track");
  scope_->Set_Connected(false);
  fakes_.profile.set("TRAMOX.Telescope", "Tracking", "no");
  scope_->Set_Connected(true);
  EXPECT_TRUE(scope_->tracking());
  EXPECT_EQ(paddleControl("ButtonTracking").text, "Untrack");
  EXPECT_EQ(mount_.count("ReturnToSideralSpeedEngineDevice_DLL"), 0);
  EXPECT_EQ(mount_.count("Stop_ALL_TelescopeEngineDevice_DLL"), 0);
}

TEST_F(Connecting, ParkedMountTurnsTrackingOff) {
  arrangeProfileKey();
  fakes_.profile.set("TRAMOX.Telescope", "Tracking", "Yes");
  mount_.parked = 1;
  scope_->Set_Connected(true);
  EXPECT_EQ(fakes_.profile.stored("TRAMOX.Telescope", "Tracking"), "No");
  EXPECT_TRUE(scope_->parked());
  EXPECT_FALSE(scope_->Get_Tracking());
  EXPECT_EQ(paddleControl("ButtonPark").text, "UnPark");
  EXPECT_FALSE(paddleControl("ButtonTracking").enabled);
}

TEST_F(Connecting, WithoutTheProfileKeyTheProfileIsSkipped) {
  scope_->Set_Connected(true);
  EXPECT_TRUE(fakes_.profile.calls().empty());
  EXPECT_TRUE(scope_->tracking());
  scope_->Set_Connected(false);
  mount_.parked = 1;
  scope_->Set_Connected(true);
  EXPECT_FALSE(scope_->tracking());
}

TEST_F(Connecting, ProfileStoreThatCannotBeMadeFailsBeforeTheController) {
  arrangeProfileKey();
  fakes_.profile.failWith("Invalid class string");
  try {
    scope_->Set_Connected(true);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid class string");
  }
  EXPECT_EQ(mount_.count("InitCodeursDevice_DLL"), 0);
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_TRUE(fakes_.paddleViews.views().empty());
}

TEST_F(Connecting, TwiceChangesNothingTheSecondTime) {
  scope_->Set_Connected(true);
  clearLog();
  mount_.clearCalls();
  scope_->Set_Connected(true);
  EXPECT_EQ(logged(), std::vector<std::string>{"Set_Connected"});
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_EQ(fakes_.paddleViews.views().size(), 1u);
}

TEST_F(Connecting, RefusedEncodersLeaveNoPaddleAndNoPipeline) {
  mount_.refuse("InitCodeursDevice_DLL");
  expectDriverError([&] { scope_->Set_Connected(true); }, codes::kInvalidState,
                    "Connection impossible");
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_TRUE(fakes_.paddleViews.views().empty());
  EXPECT_EQ(runtime_->state.pipeline, nullptr);
}

TEST_F(Connecting, WithoutALibraryFailsClearly) {
  runtime_->controller.Release();
  fakes_.libraries.failLoad(controller::controllerLibraryPath(fakes_.libraries));
  mount_.clearCalls();
  expectDriverError([&] { scope_->Set_Connected(true); }, codes::kInvalidState,
                    controller::kNotLoadedMessage);
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_EQ(runtime_->state.pipeline, nullptr);
}

class Disconnecting : public DriverTest {};

TEST_F(Disconnecting, ClosesEverythingAndReleasesTheLibrary) {
  connect();
  auto* view = fakes_.paddleViews.lastView();
  scope_->Set_Connected(false);
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_TRUE(view->closed);
  EXPECT_EQ(runtime_->state.paddle, nullptr);
  EXPECT_EQ(runtime_->state.pipeline, nullptr);
  EXPECT_FALSE(runtime_->controller.loaded());
  EXPECT_EQ(mount_.names(), std::vector<std::string>{"CloseCodeursDevice_DLL"});
}

TEST_F(Disconnecting, WhileNotConnectedOnlyLogs) {
  scope_->Set_Connected(false);
  EXPECT_EQ(logged(), std::vector<std::string>{"Set_Connected"});
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_TRUE(runtime_->controller.loaded());
}

TEST_F(Disconnecting, ReconnectLoadsTheLibraryAgain) {
  scope_->Set_Connected(true);
  scope_->Set_Connected(false);
  scope_->Set_Connected(true);
  EXPECT_TRUE(scope_->Get_Connected());
  EXPECT_EQ(mount_.count("InitCodeursDevice_DLL"), 2);
  EXPECT_EQ(fakes_.paddleViews.views().size(), 2u);
  EXPECT_EQ(fakes_.libraries.openHandles(), 1);
}

// The library is gone although the controller kept the encoders: nothing may call it.
TEST_F(Disconnecting, RefusedCloseLeavesConnectedWithoutALibrary) {
  connect();
  mount_.refuse("CloseCodeursDevice_DLL");
  expectDriverError([&] { scope_->Set_Connected(false); }, codes::kInvalidState,
                    "Disconnection impossible");
  EXPECT_TRUE(scope_->Get_Connected());
  EXPECT_FALSE(runtime_->controller.loaded());
  mount_.clearCalls();
  expectDriverError([&] { scope_->Get_RightAscension(); }, codes::kInvalidState,
                    controller::kNotLoadedMessage);
  scope_->Set_Connected(false);
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_TRUE(mount_.calls.empty());
  scope_->Set_Connected(true);
  EXPECT_TRUE(scope_->Get_Connected());
}

class Destroying : public DriverTest {};

TEST_F(Destroying, WhileConnectedTheOpenPaddleNoLongerReachesTheObject) {
  connect();
  auto* view = fakes_.paddleViews.lastView();
  scope_.reset();
  ASSERT_NE(runtime_->state.paddle, nullptr);
  EXPECT_FALSE(view->closed);
  for (const char* button : {"ButtonMaj", "ButtonPark", "ButtonTracking", "ButtonSetPark"}) {
    view->events->click(button);
  }
  view->events->mouseDown("ButtonEast");
  view->events->mouseUp("ButtonEast");
  EXPECT_TRUE(mount_.calls.empty());
  EXPECT_TRUE(fakes_.messages.errorBoxes().empty());
  // A new object connecting replaces the orphaned paddle.
  scope_ = std::make_unique<TTelescope>(*runtime_);
  scope_->Set_Connected(true);
  EXPECT_TRUE(view->closed);
  EXPECT_EQ(fakes_.paddleViews.views().size(), 2u);
}

TEST_F(Destroying, AnotherObjectsPaddleIsLeftAlone) {
  connect();
  { TTelescope other(*runtime_); }
  ASSERT_NE(runtime_->state.paddle, nullptr);
  mount_.clearCalls();
  fakes_.paddleViews.lastView()->events->click("ButtonMaj");
  EXPECT_EQ(mount_.names().at(0), "CheckCodeursCodeursDevice_DLL");
}

}  // namespace
}  // namespace tramox::driver::testing
