// The paddle's controls against a connected driver object: the members they call, the rates
// they pass, and failures shown in the error box.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/driver_error.h"
#include "common/units.h"
#include "controller/controller_library.h"
#include "driver/telescope.h"
#include "paddle/raquette.h"
#include "platform/profile_store.h"
#include "platform/settings_key.h"
#include "tests/fakes/fake_services.h"
#include "tests/fakes/scripted_controller.h"

namespace tramox::paddle {
namespace {

class PaddleHandlersTest : public ::testing::Test {
 protected:
  PaddleHandlersTest() {
    for (std::size_t k = 1; k <= 10; ++k) {
      mount.speedsRadPerSec[k - 1] = static_cast<double>(k) * units::kPi / 180.0;
    }
    fakes.libraries.addLibrary(controller::controllerLibraryPath(fakes.libraries), mount.exports());
    fakes.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                              "LogEnabled", platform::RegistryValue::ofDword(1));
    fakes.registry.createKey(platform::Hive::LocalMachine, platform::kAscomProfileKey);
    runtime = std::make_unique<driver::DriverRuntime>(fakes.services());
    scope = std::make_unique<driver::TTelescope>(*runtime);
  }

  ~PaddleHandlersTest() override {
    scope.reset();
    runtime.reset();
  }

  void connect() {
    scope->Set_Connected(true);
    ASSERT_NE(runtime->state.paddle, nullptr);
    view = fakes.paddleViews.lastView();
    callsBeforeConnected = mount.calls.size();
    std::filesystem::remove(fakes.logPath());
  }

  void storeParkPosition() {
    platform::SettingsKey key(fakes.registry);
    key.writeDouble("Park_AH", 0.5);
    key.writeDouble("Park_Dec", 0.25);
  }

  platform::IPaddleEvents& events() { return *view->events; }
  TRaquette& paddle() { return *runtime->state.paddle; }
  // Motion, park and tracking calls since connect(), e.g. "MoveEngineDevice_DLL 2 1".
  std::vector<std::string> calls() const {
    std::vector<std::string> result;
    for (std::size_t i = callsBeforeConnected; i < mount.calls.size(); ++i) {
      const auto& call = mount.calls[i];
      if (call.name == "MoveEngineDevice_DLL" || call.name == "StopTelescopeEngineDevice_DLL") {
        result.push_back(call.name + " " + std::to_string(static_cast<int>(call.args[0])) + " " +
                         std::to_string(static_cast<int>(call.args[1])));
      } else if (call.name == "Stop_ALL_TelescopeEngineDevice_DLL" ||
                 call.name == "ReturnToSideralSpeedEngineDevice_DLL" ||
                 call.name == "ParkTel_DLL" || call.name == "UnParkTel_DLL") {
        result.push_back(call.name);
      }
    }
    return result;
  }
  std::vector<std::string> errorBoxes() { return fakes.messages.errorBoxes(); }

  std::vector<std::string> logged() const { return fakes.loggedMessages(); }

  void press(const char* button) {
    events().mouseDown(button);
    events().mouseUp(button);
  }

  fakes::FakeServices fakes;
  fakes::ScriptedController mount;
  // Connecting's own calls stay in the record (GetSpeed_DLL is counted) but not in calls().
  std::size_t callsBeforeConnected = 0;
  std::unique_ptr<driver::DriverRuntime> runtime;
  std::unique_ptr<driver::TTelescope> scope;
  fakes::PaddleViewRecord* view = nullptr;
};

TEST_F(PaddleHandlersTest, ConnectingBindsTheRatesOfBothAxesAndShowsThePaddle) {
  connect();
  EXPECT_EQ(mount.count("GetSpeed_DLL"), 2);
  EXPECT_TRUE(view->shown);
  EXPECT_TRUE(paddle().Visible());
  EXPECT_EQ(runtime->state.AxisSpeedTable.value(9), 9.0);
}

TEST_F(PaddleHandlersTest, DirectionButtonsMoveTheirAxisAtTheSliderRateAndStopOnRelease) {
  connect();
  press("ButtonEast");  // slider at its design position 1: SMedium
  events().sliderMoved(0);
  press("ButtonSouth");  // SSideral
  events().sliderMoved(2);
  press("ButtonWest");  // SMax
  press("ButtonNorth");

  EXPECT_EQ(calls(), (std::vector<std::string>{
                         "MoveEngineDevice_DLL 2 1", "StopTelescopeEngineDevice_DLL 1 0",
                         "MoveEngineDevice_DLL 1 2", "StopTelescopeEngineDevice_DLL 0 1",
                         "MoveEngineDevice_DLL 3 0", "StopTelescopeEngineDevice_DLL 1 0",
                         "MoveEngineDevice_DLL 0 0", "StopTelescopeEngineDevice_DLL 0 1"}));
  EXPECT_TRUE(errorBoxes().empty());
}

TEST_F(PaddleHandlersTest, APressFetchesItsRateFromTheCollectionAndLogsIt) {
  connect();
  events().mouseDown("ButtonSouth");
  const auto lines = logged();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Get_Item index 2=8");
  EXPECT_EQ(lines[1], "ASK for MoveAxis secondary rate=-8");
}

TEST_F(PaddleHandlersTest, ParkButtonParksAndUnparksByTheDriversFlag) {
  storeParkPosition();
  connect();
  events().click("ButtonPark");
  EXPECT_EQ(calls().back(), "ParkTel_DLL");
  EXPECT_EQ(paddle().Control("ButtonPark").text, "Park");  // until the mount has arrived
  events().click("ButtonMaj");
  EXPECT_EQ(paddle().Control("ButtonPark").text, "UnPark");
  EXPECT_FALSE(paddle().Control("ButtonTracking").enabled);

  events().click("ButtonPark");
  EXPECT_EQ(calls().back(), "UnParkTel_DLL");
  EXPECT_EQ(paddle().Control("ButtonPark").text, "Park");
  EXPECT_TRUE(paddle().Control("ButtonTracking").enabled);
}

TEST_F(PaddleHandlersTest, ParkButtonUnparksWhenParkedWhateverItsCaption) {
  connect();
  mount.parked = 1;
  ASSERT_TRUE(scope->Get_AtPark());
  paddle().SetText("ButtonPark", "Park");
  calls().clear();
  events().click("ButtonPark");
  EXPECT_EQ(calls(), std::vector<std::string>{"UnParkTel_DLL"});
  EXPECT_FALSE(scope->parked());
}

TEST_F(PaddleHandlersTest, DirectionButtonsWhileParkedShowTheErrorOnPressAndOnRelease) {
  connect();
  mount.parked = 1;
  scope->Get_AtPark();
  press("ButtonEast");
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(errorBoxes(),
            (std::vector<std::string>{"Telescope is parked.", "Telescope is parked."}));
}

TEST_F(PaddleHandlersTest, ARefusedParkShowsTheDriversMessageAndLeavesThePaddleAsItWas) {
  storeParkPosition();
  connect();
  mount.refuse("ParkTel_DLL");
  events().click("ButtonPark");
  EXPECT_EQ(errorBoxes(), std::vector<std::string>{"Park failed."});
  EXPECT_EQ(paddle().Control("ButtonPark").text, "Park");
  EXPECT_TRUE(paddle().Visible());
}

TEST_F(PaddleHandlersTest, AMessageEndingInAQuoteGetsNoFullStop) {
  connect();  // the settings key exists, but no park position was ever set
  events().click("ButtonPark");
  EXPECT_EQ(errorBoxes(),
            std::vector<std::string>{"Echec à l'obtention des données pour 'Park_AH'"});
}

TEST_F(PaddleHandlersTest, TrackingButtonTogglesTrackingByTheDriversFlag) {
  connect();
  ASSERT_TRUE(scope->tracking());
  events().click("ButtonTracking");
  EXPECT_EQ(calls().back(), "Stop_ALL_TelescopeEngineDevice_DLL");
  EXPECT_FALSE(scope->tracking());
  EXPECT_EQ(paddle().Control("ButtonTracking").text, "Track");
  events().click("ButtonTracking");
  EXPECT_EQ(calls().back(), "ReturnToSideralSpeedEngineDevice_DLL");
  EXPECT_EQ(paddle().Control("ButtonTracking").text, "UnTrack");
}

TEST_F(PaddleHandlersTest, ADisabledTrackingButtonTakesNoClick) {
  mount.parked = 1;
  connect();
  ASSERT_FALSE(paddle().Control("ButtonTracking").enabled);
  events().click("ButtonTracking");
  EXPECT_TRUE(calls().empty());
  EXPECT_TRUE(errorBoxes().empty());
}

TEST_F(PaddleHandlersTest, MajReadsTheRightAscensionAndRefreshesThePosition) {
  connect();
  const std::string before = paddle().Control("LabelAD").text;
  mount.raRad = units::hoursToRadians(6.0);
  events().click("ButtonMaj");
  EXPECT_NE(paddle().Control("LabelAD").text, before);
  const auto lines = logged();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "ASK for RightAscension");
}

TEST_F(PaddleHandlersTest, SetParkStoresTheCurrentPointing) {
  connect();
  events().click("ButtonSetPark");
  EXPECT_TRUE(platform::SettingsKey(fakes.registry).readDouble("Park_AH").has_value());
  EXPECT_TRUE(errorBoxes().empty());
}

TEST_F(PaddleHandlersTest, AnUnboundPaddleLeavesTheDriverAlone) {
  connect();
  TRaquette own(fakes.paddleViews, fakes.messages);
  own.GetTelescope(scope.get());
  own.Show();
  own.Unbind();
  auto& ownView = *fakes.paddleViews.lastView();
  ownView.events->mouseDown("ButtonEast");
  ownView.events->click("ButtonTracking");
  EXPECT_TRUE(calls().empty());
  EXPECT_TRUE(scope->tracking());
}

TEST_F(PaddleHandlersTest, GetTelescopeFailsWhenTheRatesCannotBeReadAndStaysUnbound) {
  TRaquette own(fakes.paddleViews, fakes.messages);
  runtime->controller.Release();
  EXPECT_THROW(own.GetTelescope(scope.get()), DriverError);
  own.Show();
  fakes.paddleViews.lastView()->events->click("ButtonPark");
  EXPECT_TRUE(errorBoxes().empty());
}

TEST_F(PaddleHandlersTest, DisconnectingClosesAndDropsThePaddle) {
  connect();
  scope->Set_Connected(false);
  EXPECT_EQ(runtime->state.paddle, nullptr);
  EXPECT_TRUE(view->closed);
  EXPECT_TRUE(view->destroyed);
}

}  // namespace
}  // namespace tramox::paddle
