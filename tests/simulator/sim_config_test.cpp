// Reading TRAMOX_SIM.
#include <gtest/gtest.h>

#include "common/units.h"
#include "simulator/sim_config.h"

namespace tramox::sim {
namespace {

TEST(SimConfigTest, EmptyTextGivesARealisticMount) {
  std::vector<std::string> problems;
  const SimConfig config = parseSimConfig("", problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_TRUE(config.german);
  EXPECT_FALSE(config.parked);
  EXPECT_DOUBLE_EQ(config.decDegrees, 90.0);
  EXPECT_DOUBLE_EQ(config.speedsRadPerSec[2], units::kSiderealRateRadPerSec);
  EXPECT_DOUBLE_EQ(config.speedsRadPerSec[8], units::degreesToRadians(2.0));
  EXPECT_DOUBLE_EQ(config.timescale, 1.0);
}

TEST(SimConfigTest, EveryKnobIsRead) {
  std::vector<std::string> problems;
  const SimConfig config = parseSimConfig(
      "german=0, west=1,parked=1,king=1,pec=1,ra=5.5,dec=-20,slew=6.5,"
      "speeds=1:2:3:4:5:6:7:8:9:10,guide=0.75,a=1:2:3:4,b=5:6:7:8,c=-1:-2:-3:-4,"
      "unreadable=1,nodec=1,endless=1,refuse=ParkTel_DLL+UnParkTel_DLL,timescale=20,reset=1",
      problems);
  EXPECT_TRUE(problems.empty()) << problems.front();
  EXPECT_FALSE(config.german);
  EXPECT_TRUE(config.west && config.parked && config.king && config.pec);
  EXPECT_DOUBLE_EQ(config.raHours, 5.5);
  EXPECT_DOUBLE_EQ(config.decDegrees, -20.0);
  EXPECT_DOUBLE_EQ(config.slewDegPerSec, 6.5);
  EXPECT_DOUBLE_EQ(config.speedsRadPerSec[9], 10.0);
  EXPECT_DOUBLE_EQ(config.guideSiderealMultiple, 0.75);
  EXPECT_DOUBLE_EQ(config.kingPecB[3], 8.0);
  EXPECT_DOUBLE_EQ(config.kingPecC[0], -1.0);
  EXPECT_TRUE(config.unreadable && config.nodec && config.endless && config.reset);
  EXPECT_EQ(config.refused, (EntryPointNames{"ParkTel_DLL", "UnParkTel_DLL"}));
  EXPECT_DOUBLE_EQ(config.timescale, 20.0);
}

TEST(SimConfigTest, BadValuesAndUnknownKeysKeepTheDefaultsAndAreReported) {
  std::vector<std::string> problems;
  const SimConfig config = parseSimConfig(
      "german=yes,dec=91,slew=0,speeds=1:2:3,ra=x,germen=0,refuse=Park+GermanMount_DLL", problems);
  EXPECT_TRUE(config.german);
  EXPECT_DOUBLE_EQ(config.decDegrees, 90.0);
  EXPECT_DOUBLE_EQ(config.slewDegPerSec, 3.0);
  EXPECT_DOUBLE_EQ(config.speedsRadPerSec[0], 0.5 * units::kSiderealRateRadPerSec);
  EXPECT_DOUBLE_EQ(config.raHours, 0.0);
  EXPECT_EQ(config.refused, EntryPointNames{"GermanMount_DLL"});
  EXPECT_EQ(problems.size(), 7u);
}

TEST(SimConfigTest, SpeedsAreFiniteMagnitudes) {
  for (const char* speeds : {"-1:2:3:4:5:6:7:8:9:10", "1:2:3:4:5:6:7:8:9:inf",
                             "1:2:3:4:5:6:7:8:9:1e400", "1:2:3:4:5:6:7:8:9:1e300"}) {
    std::vector<std::string> problems;
    const SimConfig config = parseSimConfig(std::string("speeds=") + speeds, problems);
    EXPECT_EQ(problems.size(), 1u) << speeds;
    EXPECT_DOUBLE_EQ(config.speedsRadPerSec[0], 0.5 * units::kSiderealRateRadPerSec) << speeds;
  }
}

}  // namespace
}  // namespace tramox::sim
