// Loading the controller library: lookups and messages in table order, release on a missing
// name, and the guard that keeps every call away from an empty slot or a released library.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/driver_error.h"
#include "controller/controller_library.h"
#include "tests/fakes/fake_library_loader.h"
#include "tests/fakes/recording_message_windows.h"
#include "tests/fakes/scripted_controller.h"

namespace tramox::controller {
namespace {

const std::string kPath = "C:\\WINDOWS\\System32\\Tramox_Telescope.dll";

// The 28 messages for missing names, in the order the loader tests them.
const std::vector<std::string> kTableMessages = {
    "Init Init_telescope_Panel_DLL failed",
    "Init InitCodeurs_DLL failed",
    "Init CloseCodeurs_DLL failed",
    "Init CalibrateCodeurs_DLL failed",
    "Init CheckCodeurs_DLL failed",
    "Init GetAlphaCodeurs_DLL failed",
    "Init GetDeltaCodeurs_DLL failed",
    "Init MoveEngine_DLL failed",
    "Init StopTelescopeEngine_DLL failed",
    "Init Stop_ALL_TelescopeEngineDevice_DLL failed",
    "Init ReturnToSideralSpeedEngineDevice_DLL failed",
    "Init GetSpeedAlphaEngine_DLL failed",
    "Init GetSpeedDeltaEngine_DLL failed",
    "Init GetSpeed_DLL failed",
    "Init GetKingPEC_DLL failed",
    "Init IsAxisSlewing_DLL failed",
    "Init InitTelescopeSeeker_DLL failed",
    "Init StopSlewing_TelescopeSeeker_DLL failed",
    "Init PulseGuideAscom_DLL failed",
    "Init IsPulseGuiding_DLL failed",
    "Init IsParked_DLL failed",
    "Init ParkTel_DLL failed",
    "Init UnParkTel_DLL failed",
    "Init StartKingDevice_DLL failed",
    "Init StopKingDevice_DLL failed",
    "Init StartPecSpeedEngineDevice_DLL failed",
    "Init TelescopeOuest_DLL failed",
    "Init GermanMount_DLL failed",
};

class ControllerLoaderTest : public ::testing::Test {
 protected:
  void install(const std::vector<std::string>& without = {}) {
    loader.addLibrary(kPath, mount.exports(without));
  }

  std::vector<std::string> lookups() const {
    std::vector<std::string> names;
    for (const auto& call : loader.calls()) {
      if (call.op == "symbol") {
        names.push_back(call.detail);
      }
    }
    return names;
  }

  int countOf(const std::string& op) const {
    int n = 0;
    for (const auto& call : loader.calls()) {
      n += call.op == op ? 1 : 0;
    }
    return n;
  }

  fakes::ScriptedController mount;
  fakes::FakeLibraryLoader loader;
  fakes::RecordingMessageWindows messages;
  ControllerLibrary library{loader, messages, kPath};
};

// Calls that reached the controller library since the last clear.
int controllerCalls() {
  return static_cast<int>(fakes::currentController().calls.size());
}

TEST_F(ControllerLoaderTest, CompleteLibraryLoadsSilentlyAndOnlyOnce) {
  install();
  library.LoadControllerLibrary();
  library.LoadControllerLibrary();

  EXPECT_TRUE(library.loaded());
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(countOf("load"), 1);
  EXPECT_EQ(countOf("release"), 0);
  ASSERT_EQ(lookups().size(), 29u);
  EXPECT_EQ(lookups().front(), "GetDLLVer");
  EXPECT_EQ(lookups()[1], "Init_telescope_Panel_DLL");
  EXPECT_EQ(lookups().back(), "GermanMount_DLL");
}

TEST_F(ControllerLoaderTest, AbsentFileShowsOneMessageAndLooksUpNothing) {
  library.LoadControllerLibrary();

  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Init DLL failed"});
  EXPECT_TRUE(lookups().empty());
}

TEST_F(ControllerLoaderTest, OneMissingNameShowsItsMessageAndReleases) {
  install({"ParkTel_DLL"});
  library.LoadControllerLibrary();

  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Init ParkTel_DLL failed"});
  EXPECT_EQ(loader.openHandles(), 0);
  EXPECT_EQ(countOf("release"), 1);
}

TEST_F(ControllerLoaderTest, MissingInitCodeursHasAShortFormMessageLikeItsNeighbours) {
  install({"InitCodeursDevice_DLL"});
  library.LoadControllerLibrary();

  EXPECT_EQ(messages.messages(), std::vector<std::string>{"Init InitCodeurs_DLL failed"});
}

TEST_F(ControllerLoaderTest, TwoMissingNamesGiveTwoMessagesInTableOrderAndOneRelease) {
  install({"GermanMount_DLL", "CloseCodeursDevice_DLL"});
  library.LoadControllerLibrary();

  EXPECT_EQ(messages.messages(), (std::vector<std::string>{"Init CloseCodeurs_DLL failed",
                                                           "Init GermanMount_DLL failed"}));
  EXPECT_EQ(countOf("release"), 1);
  EXPECT_EQ(loader.openHandles(), 0);
}

TEST_F(ControllerLoaderTest, MissingVersionReleasesAtOnceAndGivesAllTwentyNineMessages) {
  install({"GetDLLVer"});
  library.LoadControllerLibrary();

  std::vector<std::string> expected{"Init GetDLLVer rate"};
  expected.insert(expected.end(), kTableMessages.begin(), kTableMessages.end());
  EXPECT_EQ(messages.messages(), expected);
  // Nothing is looked up in the released library (the fake would throw if it were).
  EXPECT_EQ(lookups(), std::vector<std::string>{"GetDLLVer"});
  EXPECT_EQ(countOf("release"), 1);
  EXPECT_FALSE(library.loaded());
}

TEST_F(ControllerLoaderTest, ReleaseIsHarmlessTwiceAndAllowsALaterLoad) {
  install();
  library.Release();
  library.LoadControllerLibrary();
  library.Release();
  library.Release();
  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(countOf("release"), 1);

  library.LoadControllerLibrary();
  EXPECT_TRUE(library.loaded());
  EXPECT_EQ(countOf("load"), 2);
  EXPECT_TRUE(library.CheckCodeursCodeursDevice_DLL());
}

// Every guarded call, with harmless arguments.
std::vector<std::pair<std::string, std::function<void(ControllerLibrary&)>>> everyCall() {
  static std::int32_t port = 0;
  static double d[5] = {};
  static std::array<double, 10> speeds{};
  static std::array<double, 4> a{}, b{}, c{};
  static Byte flag = 0, flag2 = 0;
  return {
      {"Init_telescope_Panel", [](auto& l) { l.Init_telescope_Panel_DLL(0, 0, 0); }},
      {"InitCodeurs", [](auto& l) { l.InitCodeursDevice_DLL(&port, 0, 0.1, 0.2); }},
      {"CloseCodeurs", [](auto& l) { l.CloseCodeursDevice_DLL(); }},
      {"Calibrate", [](auto& l) { l.CalibrateCodeursDevice_DLL(1, 0.5); }},
      {"Check", [](auto& l) { l.CheckCodeursCodeursDevice_DLL(); }},
      {"GetAlpha", [](auto& l) { l.GetAlphaCodeursDevice_DLL(&d[0]); }},
      {"GetDelta", [](auto& l) { l.GetDeltaCodeursDevice_DLL(&d[0]); }},
      {"MoveEngine", [](auto& l) { l.MoveEngineDevice_DLL(0, 0); }},
      {"StopEngine", [](auto& l) { l.StopTelescopeEngineDevice_DLL(1, 1); }},
      {"StopAll", [](auto& l) { l.Stop_ALL_TelescopeEngineDevice_DLL(); }},
      {"Sidereal", [](auto& l) { l.ReturnToSideralSpeedEngineDevice_DLL(); }},
      {"GetSpeed", [](auto& l) { l.GetSpeed_DLL(speeds); }},
      {"KingPEC", [](auto& l) { l.GetKingPEC_DLL(&flag, a, b, c, &flag2); }},
      {"IsAxisSlewing", [](auto& l) { l.IsAxisSlewing_DLL(0); }},
      {"Seeker",
       [](auto& l) { l.InitTelescopeSeekerDevice_DLL(&d[0], &d[1], &d[2], &d[3], &d[4]); }},
      {"StopSlewing", [](auto& l) { l.StopSlewing_TelescopeSeekerDevice_DLL(); }},
      {"Pulse", [](auto& l) { l.PulseGuideAscomDevice_DLL(0, 0, 10, 0); }},
      {"IsPulseGuiding", [](auto& l) { l.IsPulseGuidingDevice_DLL(); }},
      {"IsParked", [](auto& l) { l.IsParkedDevice_DLL(&flag); }},
      {"Park", [](auto& l) { l.ParkTel_DLL(0, 0); }},
      {"UnPark", [](auto& l) { l.UnParkTel_DLL(); }},
      {"StartKing", [](auto& l) { l.StartKingDevice_DLL(0, 0, 0, 1013.25); }},
      {"StartPec", [](auto& l) { l.StartPecSpeedEngineDevice_DLL(b, c, a); }},
      {"Ouest", [](auto& l) { l.TelescopeOuest_DLL(); }},
      {"German", [](auto& l) { l.GermanMount_DLL(); }},
  };
}

void expectEveryCallRefused(ControllerLibrary& library, const std::string& when) {
  for (const auto& [name, call] : everyCall()) {
    try {
      call(library);
      ADD_FAILURE() << name << " reached the library " << when;
    } catch (const DriverError& e) {
      EXPECT_EQ(e.code(), codes::kInvalidState) << name;
      EXPECT_STREQ(e.what(), "Controller library not loaded") << name;
    }
  }
  EXPECT_EQ(controllerCalls(), 0) << when;
}

TEST_F(ControllerLoaderTest, EveryCallIsRefusedWithoutALoadedLibrary) {
  install({"UnParkTel_DLL"});
  expectEveryCallRefused(library, "before any load");

  library.LoadControllerLibrary();  // releases: a name is missing
  expectEveryCallRefused(library, "after a load that found a name missing");
}

TEST_F(ControllerLoaderTest, EveryCallReachesTheLibraryUntilItIsReleased) {
  install();
  library.LoadControllerLibrary();
  for (const auto& [name, call] : everyCall()) {
    const int before = controllerCalls();
    call(library);
    EXPECT_EQ(controllerCalls(), before + 1) << name;
  }

  library.Release();
  mount.clearCalls();
  expectEveryCallRefused(library, "after Release");
}

}  // namespace
}  // namespace tramox::controller
