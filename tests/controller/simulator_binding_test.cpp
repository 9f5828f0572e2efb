// The binding against the simulated controller loaded with dlopen: every entry point reaches
// the library with its arguments in order and with their types, and libraries that lack names
// are refused with the loader's messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/driver_error.h"
#include "common/units.h"
#include "tests/simulator/loaded_simulator.h"

namespace tramox::controller {
namespace {

using sim::testing::g17;
using sim::testing::LoadedSimulator;

TEST(SimulatorBindingTest, EveryEntryPointGetsItsArgumentsInOrder) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load(
      "reset=1,king=1,speeds=1:2:3:4:5:6:7:8:9:10,a=1:2:3:4,b=5:6:7:8,c=9:10:11:12.5");
  ASSERT_TRUE(lib.loaded());

  std::int32_t port = 0;
  double ra = 0.0, dec = 0.0;
  std::array<double, 10> speeds{};
  std::array<double, 4> a{}, b{}, c{};
  Byte king = 0, pec = 1, parked = 7;
  double goalRa = 1.5, goalDec = 0.25, lonWest = -0.125, zero = 0.0;
  double rate = units::kSiderealRateRadPerSec;

  EXPECT_TRUE(lib.Init_telescope_Panel_DLL(0, 0, 0));
  EXPECT_TRUE(lib.InitCodeursDevice_DLL(&port, 0, 0.75, -0.125));
  EXPECT_TRUE(lib.CalibrateCodeursDevice_DLL(1.25, 0.5));
  EXPECT_TRUE(lib.CheckCodeursCodeursDevice_DLL());
  EXPECT_TRUE(lib.GetAlphaCodeursDevice_DLL(&ra));
  EXPECT_TRUE(lib.GetDeltaCodeursDevice_DLL(&dec));
  EXPECT_TRUE(lib.MoveEngineDevice_DLL(2, 1));
  EXPECT_TRUE(lib.StopTelescopeEngineDevice_DLL(1, 0));
  EXPECT_TRUE(lib.Stop_ALL_TelescopeEngineDevice_DLL());
  EXPECT_TRUE(lib.ReturnToSideralSpeedEngineDevice_DLL());
  EXPECT_TRUE(lib.GetSpeed_DLL(speeds));
  EXPECT_TRUE(lib.GetKingPEC_DLL(&king, a, b, c, &pec));
  EXPECT_EQ(lib.IsAxisSlewing_DLL(1), 0);
  EXPECT_TRUE(lib.InitTelescopeSeekerDevice_DLL(&goalRa, &goalDec, &lonWest, &zero, &rate));
  EXPECT_TRUE(lib.StopSlewing_TelescopeSeekerDevice_DLL());
  EXPECT_TRUE(lib.PulseGuideAscomDevice_DLL(1, 0, 250, 0));
  EXPECT_TRUE(lib.IsPulseGuidingDevice_DLL());
  EXPECT_TRUE(lib.IsParkedDevice_DLL(&parked));
  EXPECT_TRUE(lib.ParkTel_DLL(0.5, 1.0));
  EXPECT_TRUE(lib.UnParkTel_DLL());
  EXPECT_TRUE(lib.StartKingDevice_DLL(0.75, -0.125, 120.0, 1013.25));
  EXPECT_TRUE(lib.StartPecSpeedEngineDevice_DLL(b, c, a));
  EXPECT_FALSE(lib.TelescopeOuest_DLL());
  EXPECT_TRUE(lib.GermanMount_DLL());
  EXPECT_TRUE(lib.CloseCodeursDevice_DLL());

  EXPECT_NEAR(ra, 1.25, 1e-9);
  EXPECT_EQ(dec, 0.5);
  EXPECT_EQ(speeds, (std::array<double, 10>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(king, 1);
  EXPECT_EQ(pec, 0);
  EXPECT_EQ(c, (std::array<double, 4>{9, 10, 11, 12.5}));
  EXPECT_EQ(parked, 0);

  const std::vector<std::string> expected = {
      "Init_telescope_Panel_DLL 0 0 0",
      "InitCodeursDevice_DLL 0 0 0.75 -0.125",
      "CalibrateCodeursDevice_DLL 1.25 0.5",
      "CheckCodeursCodeursDevice_DLL",
      "GetAlphaCodeursDevice_DLL " + g17(ra),
      "GetDeltaCodeursDevice_DLL 0.5",
      "MoveEngineDevice_DLL 2 1",
      "StopTelescopeEngineDevice_DLL 1 0",
      "Stop_ALL_TelescopeEngineDevice_DLL",
      "ReturnToSideralSpeedEngineDevice_DLL",
      "GetSpeed_DLL 1 2 3 4 5 6 7 8 9 10",
      "GetKingPEC_DLL 1 1 2 3 4 3 5 6 7 8 3 9 10 11 12.5 3 0",
      "IsAxisSlewing_DLL 1",
      "InitTelescopeSeekerDevice_DLL 1.5 0.25 -0.125 0 " + g17(units::kSiderealRateRadPerSec),
      "StopSlewing_TelescopeSeekerDevice_DLL",
      "PulseGuideAscomDevice_DLL 1 0 250 0",
      "IsPulseGuidingDevice_DLL",
      "IsParkedDevice_DLL 0",
      "ParkTel_DLL 0.5 1",
      "UnParkTel_DLL",
      "StartKingDevice_DLL 0.75 -0.125 120 1013.25",
      "StartPecSpeedEngineDevice_DLL 5 6 7 8 3 9 10 11 12.5 3 1 2 3 4 3",
      "TelescopeOuest_DLL",
      "GermanMount_DLL",
      "CloseCodeursDevice_DLL",
  };
  EXPECT_EQ(simulator.journal(), expected);
}

TEST(SimulatorBindingTest, ReleasedSimulatorIsNeverCalled) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1");
  ASSERT_TRUE(lib.GermanMount_DLL());
  lib.Release();
  simulator.clearJournal();

  try {
    lib.GermanMount_DLL();
    ADD_FAILURE() << "a released library was called";
  } catch (const DriverError& e) {
    EXPECT_EQ(e.code(), codes::kInvalidState);
  }
  EXPECT_TRUE(simulator.journal().empty());
}

TEST(SimulatorBindingTest, AbsentFileGivesOneMessage) {
  LoadedSimulator simulator;
  simulator.load("", (simulator.home() / "no-such-library.so").string());
  EXPECT_FALSE(simulator.library().loaded());
  EXPECT_EQ(simulator.messages().messages(), std::vector<std::string>{"Init DLL failed"});
}

TEST(SimulatorBindingTest, LibrariesLackingNamesAreRefusedWithTheirMessages) {
  {
    LoadedSimulator simulator;
    simulator.load("", TRAMOX_SIMULATOR_WITHOUT_PARK);
    EXPECT_FALSE(simulator.library().loaded());
    EXPECT_EQ(simulator.messages().messages(), std::vector<std::string>{"Init ParkTel_DLL failed"});
  }
  {
    LoadedSimulator simulator;
    simulator.load("", TRAMOX_SIMULATOR_WITHOUT_TWO);
    EXPECT_EQ(
        simulator.messages().messages(),
        (std::vector<std::string>{"Init CloseCodeurs_DLL failed", "Init UnParkTel_DLL failed"}));
  }
  {
    LoadedSimulator simulator;
    simulator.load("", TRAMOX_SIMULATOR_WITHOUT_VERSION);
    const auto shown = simulator.messages().messages();
    ASSERT_EQ(shown.size(), 29u);
    EXPECT_EQ(shown.front(), "Init GetDLLVer rate");
    EXPECT_EQ(shown[1], "Init Init_telescope_Panel_DLL failed");
    EXPECT_EQ(shown.back(), "Init GermanMount_DLL failed");
    EXPECT_FALSE(simulator.library().loaded());
  }
}

}  // namespace
}  // namespace tramox::controller
