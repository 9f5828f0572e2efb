// The web paddle against a connected driver object: a page's actions take the window's path
// (same handlers, log lines and controller calls), the dead man's switch stops the axis, and
// the model's changes and error boxes reach the pages.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alpaca/web/web_paddle.h"
#include "common/units.h"
#include "controller/controller_library.h"
#include "driver/telescope.h"
#include "platform/profile_store.h"
#include "platform/settings_key.h"
#include "tests/fakes/fake_services.h"
#include "tests/fakes/scripted_controller.h"

namespace tramox::web {
namespace {

// The paddle the fakes' window shows, while that window lives.
class RecordedPaddleLink final : public IPaddleLink {
 public:
  explicit RecordedPaddleLink(fakes::RecordingPaddleViewFactory& views) : views_(views) {}
  std::optional<std::vector<platform::PaddleControlState>> controls() override {
    const auto* view = live();
    return view ? std::optional(view->controls) : std::nullopt;
  }
  platform::IPaddleEvents* events() override {
    const auto* view = live();
    return view ? view->events : nullptr;
  }

 private:
  fakes::PaddleViewRecord* live() const {
    auto* view = views_.lastView();
    return view != nullptr && !view->destroyed ? view : nullptr;
  }
  fakes::RecordingPaddleViewFactory& views_;
};

class WebPaddleTest : public ::testing::Test {
 protected:
  WebPaddleTest() {
    fakes.libraries.addLibrary(controller::controllerLibraryPath(fakes.libraries), mount.exports());
    fakes.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                              "LogEnabled", platform::RegistryValue::ofDword(1));
    fakes.registry.createKey(platform::Hive::LocalMachine, platform::kAscomProfileKey);
    auto services = fakes.services();
    services.messages = &dialogs;
    runtime = std::make_unique<driver::DriverRuntime>(services);
    scope = std::make_unique<driver::TTelescope>(*runtime);
  }

  ~WebPaddleTest() override {
    scope.reset();
    runtime.reset();
  }

  void connect() {
    scope->Set_Connected(true);
    mount.clearCalls();
    std::filesystem::remove(fakes.logPath());
  }

  nlohmann::json send(PaddleAction action, const std::string& control = "",
                      const std::string& page = "phone") {
    PaddleEvent event;
    event.action = action;
    event.control = control;
    event.page = page;
    return web.handle(event);
  }

  // Motion calls since connect(), e.g. "MoveEngineDevice_DLL 2 1".
  std::vector<std::string> motion() const {
    std::vector<std::string> result;
    for (const auto& call : mount.calls) {
      if (call.name == "MoveEngineDevice_DLL" || call.name == "StopTelescopeEngineDevice_DLL") {
        result.push_back(call.name + " " + std::to_string(static_cast<int>(call.args[0])) + " " +
                         std::to_string(static_cast<int>(call.args[1])));
      }
    }
    return result;
  }

  std::string text(const std::string& control) {
    const auto state = web.state();
    for (const auto& item : state["controls"]) {
      if (item["name"] == control) {
        return item["text"];
      }
    }
    return "<none>";
  }

  fakes::FakeServices fakes;
  fakes::ScriptedController mount;
  WebMessageWindows dialogs;
  std::unique_ptr<driver::DriverRuntime> runtime;
  std::unique_ptr<driver::TTelescope> scope;
  RecordedPaddleLink link{fakes.paddleViews};
  std::vector<std::string> logged;
  WebPaddle web{link, dialogs, fakes.clock,
                [this](const std::string& line) { logged.push_back(line); }};
};

TEST_F(WebPaddleTest, StateShowsTheModelsControlsInCreationOrderOnlyWhileConnected) {
  EXPECT_EQ(web.state(),
            (nlohmann::json{{"connected", false}, {"controls", nlohmann::json::array()}}));
  connect();
  const auto state = web.state();
  EXPECT_TRUE(state["connected"]);
  std::vector<std::string> names;
  for (const auto& item : state["controls"]) {
    names.push_back(item["name"]);
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "LabelKing", "LabelPEC", "LabelAD", "LabelDEC", "LabelSideOfPier",
                       "ButtonSetPark", "ButtonPark", "ButtonTracking", "ButtonWest", "ButtonSouth",
                       "ButtonEast", "ButtonNorth", "TrackBarSpeed", "ButtonMaj"}));
  EXPECT_EQ(state["controls"][0]["visible"], false);
  EXPECT_EQ(state["controls"][12]["position"], 1);
  EXPECT_EQ(text("LabelAD"), runtime->state.paddle->Control("LabelAD").text);
}

// Each sequence played through the window and then through the web page gives the same log
// lines and controller calls.
TEST_F(WebPaddleTest, PageActionsLogAndCallExactlyAsTheWindowsClicks) {
  struct Step {
    std::function<void(platform::IPaddleEvents&)> window;
    std::function<void()> page;
  };
  const std::vector<std::vector<Step>> sequences = {
      {{[](auto& w) { w.mouseDown("ButtonEast"); },
        [&] { send(PaddleAction::Press, "ButtonEast"); }},
       {[](auto& w) { w.mouseUp("ButtonEast"); },
        [&] { send(PaddleAction::Release, "ButtonEast"); }}},
      {{[](auto& w) { w.sliderMoved(0); },
        [&] {
          PaddleEvent e{PaddleAction::Slider, "phone", "", 0};
          web.handle(e);
        }},
       {[](auto& w) { w.mouseDown("ButtonSouth"); },
        [&] { send(PaddleAction::Press, "ButtonSouth"); }}},
      // Twice, so that each run starts from the tracking state the profile keeps.
      {{[](auto& w) { w.click("ButtonTracking"); },
        [&] { send(PaddleAction::Click, "ButtonTracking"); }},
       {[](auto& w) { w.click("ButtonTracking"); },
        [&] { send(PaddleAction::Click, "ButtonTracking"); }},
       {[](auto& w) { w.click("ButtonMaj"); }, [&] { send(PaddleAction::Click, "ButtonMaj"); }}},
  };
  for (const auto& steps : sequences) {
    std::vector<std::vector<std::string>> logs;
    std::vector<std::vector<fakes::ControllerCall>> calls;
    for (bool viaPage : {false, true}) {
      connect();
      for (const auto& step : steps) {
        viaPage ? step.page() : step.window(*link.events());
      }
      logs.push_back(fakes.loggedMessages());
      calls.push_back(mount.calls);
      scope->Set_Connected(false);
      mount.clearCalls();
    }
    EXPECT_FALSE(logs[0].empty());
    EXPECT_EQ(logs[1], logs[0]);
    EXPECT_EQ(calls[1], calls[0]);
  }
}

TEST_F(WebPaddleTest, ASilentPageStopsTheAxisThroughTheReleaseHandler) {
  connect();
  send(PaddleAction::Press, "ButtonNorth");
  for (int beat = 0; beat < 8; ++beat) {
    fakes.clock.advanceSeconds(0.25);
    EXPECT_EQ(send(PaddleAction::Heartbeat, "ButtonNorth")["held"], true);
    web.tick();
  }
  EXPECT_EQ(motion(), std::vector<std::string>{"MoveEngineDevice_DLL 0 1"});
  fakes.clock.advanceSeconds(1.1);
  web.tick();
  EXPECT_EQ(motion(), (std::vector<std::string>{"MoveEngineDevice_DLL 0 1",
                                                "StopTelescopeEngineDevice_DLL 0 1"}));
  EXPECT_EQ(send(PaddleAction::Heartbeat, "ButtonNorth")["held"], false);
}

TEST_F(WebPaddleTest, TwoPagesHoldingOneButtonStopItWhenTheLastLetsGo) {
  connect();
  send(PaddleAction::Press, "ButtonEast", "phone");
  send(PaddleAction::Press, "ButtonEast", "tablet");
  send(PaddleAction::Leave, "", "phone");
  EXPECT_EQ(motion(), std::vector<std::string>{"MoveEngineDevice_DLL 2 1"});
  send(PaddleAction::Release, "ButtonEast", "tablet");
  EXPECT_EQ(motion(), (std::vector<std::string>{"MoveEngineDevice_DLL 2 1",
                                                "StopTelescopeEngineDevice_DLL 1 0"}));
}

TEST_F(WebPaddleTest, ErrorBoxesGoToThePageThatCausedThemWithTheFullStop) {
  connect();
  mount.parked = 1;
  scope->Get_AtPark();
  const auto answer = send(PaddleAction::Press, "ButtonWest", "phone");
  ASSERT_EQ(answer["dialogs"].size(), 1u);
  EXPECT_EQ(answer["dialogs"][0]["text"], "Telescope is parked.");
  EXPECT_EQ(answer["dialogs"][0]["kind"], "error");
  EXPECT_EQ(answer["dialogs"][0]["page"], "phone");
  EXPECT_EQ(answer["dialogs"][0]["hint"], "");
  // The dead man's release, with no page behind it, shows its error to every page.
  fakes.clock.advanceSeconds(2.0);
  web.tick();
  const auto all = web.dialogsSince(answer["dialogs"][0]["id"]);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0]["page"], "");
  EXPECT_TRUE(motion().empty());
}

// The axis runs on while the controller refuses to stop it: every page is told, and the stop
// is tried (and logged) every second, silently, until it is taken or the button pressed again.
TEST_F(WebPaddleTest, ARefusedStopStaysShownAndIsTriedEverySecondUntilTaken) {
  const auto moving = [&](const std::string& control) {
    const auto state = web.state();
    for (const auto& item : state["controls"]) {
      if (item["name"] == control) {
        return item.value("moving", false);
      }
    }
    return false;
  };
  for (bool pressAgain : {false, true}) {
    connect();
    mount.refuse("StopTelescopeEngineDevice_DLL");
    logged.clear();
    send(PaddleAction::Press, "ButtonNorth");
    const auto answer = send(PaddleAction::Release, "ButtonNorth");
    ASSERT_EQ(answer["dialogs"].size(), 1u);
    EXPECT_TRUE(moving("ButtonNorth"));
    EXPECT_EQ(web.state()["alarm"], kRefusedStopAlarm);
    const std::uint64_t shown = dialogs.lastId();
    fakes.clock.advanceSeconds(0.5);
    web.tick();
    fakes.clock.advanceSeconds(0.6);
    web.tick();
    EXPECT_EQ(motion().size(), 3u);  // the move, the refused stop, one try after a second
    EXPECT_EQ(logged.size(), 2u);
    EXPECT_EQ(dialogs.lastId(), shown);
    mount.accept("StopTelescopeEngineDevice_DLL");
    if (pressAgain) {
      send(PaddleAction::Press, "ButtonNorth");
      fakes.clock.advanceSeconds(0.8);  // the hold still alive; no try of the old stop
      web.tick();
      EXPECT_EQ(motion().back(), "MoveEngineDevice_DLL 0 1");
      send(PaddleAction::Release, "ButtonNorth");
    } else {
      fakes.clock.advanceSeconds(1.1);
      web.tick();
    }
    EXPECT_EQ(motion().back(), "StopTelescopeEngineDevice_DLL 0 1");
    EXPECT_FALSE(moving("ButtonNorth"));
    EXPECT_FALSE(web.state().contains("alarm"));
    scope->Set_Connected(false);
  }
}

// The registry's words stay as they are; the page adds what to do about them.
TEST_F(WebPaddleTest, ParkWithoutAStoredPositionSaysToSetParkFirst) {
  connect();
  const auto answer = send(PaddleAction::Click, "ButtonPark", "phone");
  ASSERT_EQ(answer["dialogs"].size(), 1u);
  EXPECT_EQ(answer["dialogs"][0]["text"], "Echec à l'obtention des données pour 'Park_AH'");
  EXPECT_EQ(answer["dialogs"][0]["hint"], "A park position must first be stored with Set Park.");
}

TEST_F(WebPaddleTest, ParkFromAnyClientShowsInTheStateAndEventsWithoutAPaddleDoNothing) {
  platform::SettingsKey key(fakes.registry);
  key.writeDouble("Park_AH", 0.5);
  key.writeDouble("Park_Dec", 0.25);
  connect();
  scope->Park();
  scope->Get_AtPark();
  EXPECT_EQ(text("ButtonPark"), "UnPark");
  send(PaddleAction::Click, "ButtonPark");
  EXPECT_EQ(text("ButtonPark"), "Park");
  scope->Set_Connected(false);
  mount.clearCalls();
  send(PaddleAction::Press, "ButtonEast");
  send(PaddleAction::Click, "ButtonPark");
  EXPECT_TRUE(mount.calls.empty());
}

}  // namespace
}  // namespace tramox::web
