// Every failure the driver can raise, caused through HTTP on the simulated controller: the
// error number says what happened and the message is the driver's own.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "controller/controller_library.h"
#include "driver/guide_rate_setting.h"
#include "driver/slew_wait.h"
#include "driver/telescope_messages.h"
#include "platform/settings_key.h"
#include "tests/alpaca/alpaca_server.h"

namespace tramox::alpaca::testing {
namespace {

namespace msg = driver::messages;

struct Step {
  const char* method;
  const char* member;
  std::string parameters;
  int number;           // -1: a preparation step, not checked
  std::string message;  // empty: not compared
};

struct Scenario {
  const char* name;
  std::vector<Step> steps;
};

const std::string kSlew = "RightAscension=1&Declination=10";
// A park position, as SetPark would have stored it (0 h, 0 degrees).
const std::string kParkPosition =
    "\"Park_AH\"=hex:00,00,00,00,00,00,00,00\n\"Park_Dec\"=hex:00,00,00,00,00,00,00,00\n";

// Values added to the settings key of a running server (it stored its UniqueID there, so the
// key is the file's last).
void addSettings(const AlpacaServer& server, const std::string& lines) {
  std::ofstream(server.home() / "HKCU.reg", std::ios::app) << lines;
}
const std::string kOn = "Connected=True";

void walk(const Scenario& scenario, AlpacaServer& server) {
  for (const Step& step : scenario.steps) {
    const nlohmann::json answer = server.member(step.method, step.member, step.parameters);
    if (step.number < 0) {
      continue;
    }
    EXPECT_EQ(answer["ErrorNumber"].get<int>(), step.number)
        << scenario.name << ": " << step.member << " " << step.parameters << " -> "
        << answer["ErrorMessage"];
    if (!step.message.empty()) {
      EXPECT_EQ(answer["ErrorMessage"], step.message) << scenario.name << ": " << step.member;
    }
  }
}

TEST(AlpacaErrorNumbers, StateAndValueFailures) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a simulator of its own";
  }
  AlpacaServer server("slew=30");
  walk({"state and values",
        {
            {"PUT", "connected", kOn, -1, ""},
            {"GET", "targetrightascension", "", 0x402, ""},
            {"GET", "slewsettletime", "", 0x400, msg::kSlewSettleTimeNotAvailable},
            {"PUT", "findhome", "", 0x400, ""},
            {"PUT", "sitelatitude", "SiteLatitude=100", 0x401, ""},
            {"PUT", "tracking", "Tracking=True", 0, ""},
            {"PUT", "slewtocoordinatesasync", "RightAscension=25&Declination=10", 0x401,
             msg::kRightAscensionOutOfRange},
            {"PUT", "slewtocoordinatesasync", "RightAscension=1&Declination=100", 0x401,
             msg::kDeclinationOutOfRange},
            {"PUT", "synctocoordinates", "RightAscension=25&Declination=10", 0x401,
             msg::kCoordinatesNotAvailable},
            {"PUT", "targetdeclination", "TargetDeclination=91", 0x401, ""},
            {"PUT", "tracking", "Tracking=False", 0, ""},
            {"PUT", "slewtocoordinatesasync", kSlew, 0x40B, msg::kNotTracking},
            {"PUT", "tracking", "Tracking=True", 0, ""},
            {"GET", "guideraterightascension", "", 0x400, driver::kGuideRateNotSetMessage},
            {"PUT", "trackingrate", "TrackingRate=1", 0x401, ""},
            {"PUT", "trackingrate", "TrackingRate=0", 0, ""},
            {"PUT", "park", "", 0x40B, platform::missingValueMessage("Park_AH")},
            {"PUT", "setpark", "", 0, ""},
            {"PUT", "park", "", 0, ""},
            {"PUT", "tracking", "Tracking=False", 0x408, msg::kParked},
            {"PUT", "slewtocoordinatesasync", kSlew, 0x408, msg::kParked},
            {"PUT", "moveaxis", "Axis=0&Rate=2", 0x408, msg::kParked},
            {"PUT", "unpark", "", 0, ""},
            {"PUT", "connected", "Connected=False", 0, ""},
            {"GET", "rightascension", "", 0x407, controller::kNotLoadedMessage},
        }},
       server);
}

TEST(AlpacaErrorNumbers, ControllerRefusals) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a simulator of its own";
  }
  AlpacaServer server(
      "german=0,nodec=1,endless=1,refuse=CalibrateCodeursDevice_DLL+MoveEngineDevice_DLL+"
      "StopTelescopeEngineDevice_DLL+ParkTel_DLL+ReturnToSideralSpeedEngineDevice_DLL+"
      "Stop_ALL_TelescopeEngineDevice_DLL");
  // The slew time limit, as a user would set it.
  addSettings(server, "\"SlewTimeout\"=dword:00000001\n" + kParkPosition);
  walk({"refusals",
        {
            {"PUT", "connected", kOn, -1, ""},
            {"GET", "sideofpier", "", 0x400, msg::kNotGermanMount},
            {"GET", "declination", "", 0x500, msg::kCanNotGetDeclination},
            {"PUT", "synctocoordinates", kSlew, 0x500, msg::kSyncImpossible},
            {"PUT", "moveaxis", "Axis=0&Rate=2", 0x500, msg::kMoveAxisImpossible},
            {"PUT", "moveaxis", "Axis=0&Rate=0", 0x500, msg::kStopAxisImpossible},
            {"PUT", "tracking", "Tracking=False", 0x500, msg::kTrackingStopImpossible},
            {"PUT", "tracking", "Tracking=True", 0x500, msg::kTrackingStartImpossible},
            {"PUT", "slewtocoordinates", kSlew, 0x500, driver::slewTimeoutMessage(1)},
            {"PUT", "park", "", 0x500, msg::kParkFailed},
        }},
       server);
}

TEST(AlpacaErrorNumbers, ConnectionAndEncoderFailures) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a simulator of its own";
  }
  AlpacaServer server("unreadable=1,refuse=UnParkTel_DLL");
  addSettings(server, kParkPosition);
  walk({"encoders",
        {
            {"PUT", "connected", kOn, -1, ""},
            {"GET", "rightascension", "", 0x500, msg::kCannotGetRightAscension},
            {"GET", "declination", "", 0x500, msg::kCannotGetDeclination},
            {"PUT", "park", "", 0, ""},
            {"PUT", "unpark", "", 0x500, msg::kUnParkFailed},
        }},
       server);
  // A settings file that cannot be read: a registry failure, with no better number.
  std::ofstream(server.home() / "HKCU.reg", std::ios::trunc) << "not a registry file\n";
  EXPECT_EQ(server.member("PUT", "sitelatitude", "SiteLatitude=10")["ErrorNumber"], 0x4FF);
}

TEST(AlpacaErrorNumbers, RefusedConnection) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a simulator of its own";
  }
  AlpacaServer server("refuse=InitCodeursDevice_DLL");
  const nlohmann::json answer = server.member("PUT", "connected", kOn);
  EXPECT_EQ(answer["ErrorNumber"], 0x500);
  EXPECT_EQ(answer["ErrorMessage"], msg::kConnectionImpossible);
  EXPECT_FALSE(server.member("GET", "connected")["Value"].get<bool>());
}

}  // namespace
}  // namespace tramox::alpaca::testing
