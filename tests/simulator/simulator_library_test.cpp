// The simulated controller library in real time, as the driver loads it: slews that take time,
// guide pulses that last, parking, the TRAMOX_SIM settings and the state kept across loads.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "common/units.h"
#include "simulator/sidereal_time.h"
#include "simulator/sim_clock.h"
#include "tests/simulator/loaded_simulator.h"

namespace tramox::sim {
namespace {

using controller::Byte;
using controller::ControllerLibrary;
using testing::LoadedSimulator;
using Clock = std::chrono::steady_clock;

constexpr double kLatRad = 0.8;
constexpr double kLonWestRad = -0.1;
constexpr double kTolRad = 1e-6;

void connect(ControllerLibrary& lib) {
  std::int32_t port = 0;
  ASSERT_TRUE(lib.InitCodeursDevice_DLL(&port, 0, kLatRad, kLonWestRad));
}

double rightAscension(ControllerLibrary& lib) {
  double ra = -1.0;
  EXPECT_TRUE(lib.GetAlphaCodeursDevice_DLL(&ra));
  return ra;
}

double declination(ControllerLibrary& lib) {
  double dec = -9.0;
  EXPECT_TRUE(lib.GetDeltaCodeursDevice_DLL(&dec));
  return dec;
}

bool parked(ControllerLibrary& lib) {
  Byte flag = 9;
  EXPECT_TRUE(lib.IsParkedDevice_DLL(&flag));
  return flag != 0;
}

bool seek(ControllerLibrary& lib, double raRad, double decRad) {
  double lon = kLonWestRad, zero = 0.0, rate = units::kSiderealRateRadPerSec;
  return lib.InitTelescopeSeekerDevice_DLL(&raRad, &decRad, &lon, &zero, &rate);
}

// A right ascension one hour west of the meridian now, in hours: a German mount reaches it
// without a meridian flip.
std::string raWestOfMeridianHours() {
  SystemSimClock clock(1.0);
  const double lst = localSiderealTimeRad(clock.nowUtcSeconds(), kLonWestRad);
  return std::to_string(units::radiansToHours(wrapTwoPi(lst - units::hoursToRadians(1.0))));
}

TEST(SimulatorLibraryTest, SlewReportsSlewingUntilTheAxisHasArrived) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1,slew=40,dec=0,ra=" + raWestOfMeridianHours());
  connect(lib);
  const double ra = rightAscension(lib);
  const double goalDec = units::degreesToRadians(12.0);  // 0.3 s at 40 degrees per second
  ASSERT_TRUE(seek(lib, ra, goalDec));

  int slewingAnswers = 0;
  const auto deadline = Clock::now() + std::chrono::seconds(2);
  while (lib.IsAxisSlewing_DLL(0) == 1 || lib.IsAxisSlewing_DLL(1) == 1) {
    ++slewingAnswers;
    ASSERT_LT(declination(lib), goalDec) << "still slewing once arrived";
    ASSERT_LT(Clock::now(), deadline) << "the slew never ended";
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GT(slewingAnswers, 5);
  EXPECT_NEAR(declination(lib), goalDec, 1e-12);
  EXPECT_NEAR(rightAscension(lib), ra, kTolRad);
}

TEST(SimulatorLibraryTest, MoveEngineMovesTheAxisAndReportsItSlewingUntilStopped) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1,ra=3,dec=10");
  connect(lib);
  const double dec = declination(lib);
  ASSERT_TRUE(lib.MoveEngineDevice_DLL(0, 0));  // north at SMax
  EXPECT_EQ(lib.IsAxisSlewing_DLL(1), 1);
  EXPECT_EQ(lib.IsAxisSlewing_DLL(0), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(lib.StopTelescopeEngineDevice_DLL(0, 1));
  EXPECT_EQ(lib.IsAxisSlewing_DLL(1), 0);
  EXPECT_GT(declination(lib), dec + units::degreesToRadians(2.0) * 0.04);
}

TEST(SimulatorLibraryTest, GuidePulseReturnsAtOnceAndLastsItsDuration) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1,ra=3,dec=10");
  connect(lib);
  const auto start = Clock::now();
  ASSERT_TRUE(lib.PulseGuideAscomDevice_DLL(0, 0, 0, 150));
  EXPECT_TRUE(lib.IsPulseGuidingDevice_DLL());
  while (lib.IsPulseGuidingDevice_DLL()) {
    ASSERT_LT(Clock::now() - start, std::chrono::seconds(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));
}

TEST(SimulatorLibraryTest, TimescaleSpeedsUpTheMountsTime) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1,timescale=50");
  connect(lib);
  const auto start = Clock::now();
  ASSERT_TRUE(lib.PulseGuideAscomDevice_DLL(1, 0, 5000, 0));  // 0.1 s of wall time
  while (lib.IsPulseGuidingDevice_DLL()) {
    ASSERT_LT(Clock::now() - start, std::chrono::seconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

TEST(SimulatorLibraryTest, ParkIsReportedOnArrival) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1,slew=100,ra=3,dec=10");
  connect(lib);
  EXPECT_FALSE(parked(lib));
  ASSERT_TRUE(lib.ParkTel_DLL(0.0, 1.2));
  EXPECT_FALSE(parked(lib));
  EXPECT_FALSE(lib.MoveEngineDevice_DLL(2, 0));
  for (int poll = 0; poll < 200 && !parked(lib); ++poll) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(parked(lib));
  EXPECT_FALSE(lib.MoveEngineDevice_DLL(2, 0));
  EXPECT_FALSE(seek(lib, 1.0, 0.2));
  EXPECT_FALSE(lib.ReturnToSideralSpeedEngineDevice_DLL());

  ASSERT_TRUE(lib.UnParkTel_DLL());
  EXPECT_FALSE(parked(lib));
  EXPECT_TRUE(lib.MoveEngineDevice_DLL(2, 0));
}

TEST(SimulatorLibraryTest, MountStateSurvivesAReload) {
  LoadedSimulator simulator;
  ControllerLibrary& first = simulator.load("reset=1");
  connect(first);
  ASSERT_TRUE(first.CalibrateCodeursDevice_DLL(1.0, 0.3));
  simulator.release();
  EXPECT_TRUE(std::filesystem::exists(simulator.home() / "simulator-state"));

  // Start values apply only without a saved state.
  ControllerLibrary& second = simulator.load("ra=12,dec=-40");
  connect(second);
  EXPECT_NEAR(rightAscension(second), 1.0, kTolRad);
  EXPECT_NEAR(declination(second), 0.3, 1e-12);
  ASSERT_TRUE(second.ParkTel_DLL(0.2, 0.9));
  simulator.release();

  ControllerLibrary& third = simulator.load("");
  connect(third);
  EXPECT_TRUE(parked(third));

  ControllerLibrary& fresh = simulator.load("reset=1,ra=12,dec=-40");
  connect(fresh);
  EXPECT_FALSE(parked(fresh));
  EXPECT_NEAR(declination(fresh), units::degreesToRadians(-40.0), 1e-12);
  EXPECT_NEAR(rightAscension(fresh), units::hoursToRadians(12.0), kTolRad);
}

TEST(SimulatorLibraryTest, ReadingKnobsMakeTheEncodersFail) {
  LoadedSimulator simulator;
  ControllerLibrary& lib = simulator.load("reset=1,unreadable=1,nodec=1");
  connect(lib);
  EXPECT_FALSE(lib.CheckCodeursCodeursDevice_DLL());
  double dec = 42.0;
  EXPECT_FALSE(lib.GetDeltaCodeursDevice_DLL(&dec));
  EXPECT_EQ(dec, 42.0);
  double ra = 0.0;
  EXPECT_TRUE(lib.GetAlphaCodeursDevice_DLL(&ra));
}

TEST(SimulatorLibraryTest, RefusedEntryPointsAnswerFalseAndDoNothing) {
  LoadedSimulator simulator;
  ControllerLibrary& lib =
      simulator.load("reset=1,refuse=ParkTel_DLL+CalibrateCodeursDevice_DLL+InitCodeursDevice_DLL");
  std::int32_t port = 0;
  EXPECT_FALSE(lib.InitCodeursDevice_DLL(&port, 0, kLatRad, kLonWestRad));
  EXPECT_FALSE(lib.ParkTel_DLL(0.0, 0.5));
  EXPECT_FALSE(parked(lib));
  const double dec = declination(lib);
  EXPECT_FALSE(lib.CalibrateCodeursDevice_DLL(1.0, 0.1));
  EXPECT_EQ(declination(lib), dec);
  EXPECT_TRUE(lib.UnParkTel_DLL());
}

TEST(SimulatorLibraryTest, EndlessSlewsReportSlewingUntilAborted) {
  LoadedSimulator simulator;
  ControllerLibrary& lib =
      simulator.load("reset=1,endless=1,slew=1000,dec=10,ra=" + raWestOfMeridianHours());
  connect(lib);
  ASSERT_TRUE(seek(lib, rightAscension(lib), 0.2));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(lib.IsAxisSlewing_DLL(1), 1);
  EXPECT_NEAR(declination(lib), 0.2, 1e-12);
  ASSERT_TRUE(lib.StopSlewing_TelescopeSeekerDevice_DLL());
  EXPECT_EQ(lib.IsAxisSlewing_DLL(0), 0);
  EXPECT_EQ(lib.IsAxisSlewing_DLL(1), 0);
}

TEST(SimulatorLibraryTest, MountKindAndStartSideComeFromTheSettingsOfEachLoad) {
  LoadedSimulator simulator;
  ControllerLibrary& german = simulator.load("reset=1,west=1,dec=45");
  connect(german);
  EXPECT_TRUE(german.GermanMount_DLL());
  EXPECT_TRUE(german.TelescopeOuest_DLL());

  ControllerLibrary& fork = simulator.load("reset=1,german=0,west=1,dec=45");
  connect(fork);
  EXPECT_FALSE(fork.GermanMount_DLL());
  EXPECT_FALSE(fork.TelescopeOuest_DLL());

  ControllerLibrary& parkedAtStart = simulator.load("reset=1,parked=1");
  connect(parkedAtStart);
  EXPECT_TRUE(parked(parkedAtStart));
  EXPECT_FALSE(parkedAtStart.MoveEngineDevice_DLL(0, 0));
}

}  // namespace
}  // namespace tramox::sim
