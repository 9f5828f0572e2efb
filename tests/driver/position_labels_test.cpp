#include "driver/position_labels.h"

#include <gtest/gtest.h>

#include <limits>

namespace tramox::driver {
namespace {

double hms(int h, int m, double s) {
  return h + m / 60.0 + s / 3600.0;
}

TEST(RightAscensionLabel, ShowsTwoDigitHoursMinutesAndTensOfSeconds) {
  EXPECT_EQ(rightAscensionLabel(hms(5, 7, 30)), " 05h07m30s");
  EXPECT_EQ(rightAscensionLabel(0.0), " 00h00m00s");
  EXPECT_EQ(rightAscensionLabel(hms(12, 0, 14)), " 12h00m10s");
}

TEST(RightAscensionLabel, SecondsCarryIntoMinutesHoursAndWrapAtTwentyFour) {
  EXPECT_EQ(rightAscensionLabel(hms(23, 59, 57)), " 00h00m00s");
  EXPECT_EQ(rightAscensionLabel(hms(5, 59, 58)), " 06h00m00s");
  EXPECT_EQ(rightAscensionLabel(hms(5, 7, 56)), " 05h08m00s");
}

TEST(RightAscensionLabel, TensOfSecondsRoundToNearest) {
  EXPECT_EQ(rightAscensionLabel(hms(1, 2, 14)), " 01h02m10s");
  EXPECT_EQ(rightAscensionLabel(hms(1, 2, 16)), " 01h02m20s");
  EXPECT_EQ(rightAscensionLabel(hms(1, 2, 54)), " 01h02m50s");
}

TEST(DeclinationLabel, SignDegreesMinutesAndTensOfSeconds) {
  EXPECT_EQ(declinationLabel(45.0 + 30.0 / 60.0 + 20.0 / 3600.0),
            "+45\xC2\xB0"
            "30'20\"");
  EXPECT_EQ(declinationLabel(-0.5),
            "-00\xC2\xB0"
            "30'00\"");
  EXPECT_EQ(declinationLabel(0.0),
            "+00\xC2\xB0"
            "00'00\"");
}

TEST(DeclinationLabel, CarriesWithoutWrappingTheDegrees) {
  EXPECT_EQ(declinationLabel(89.0 + 59.0 / 60.0 + 58.0 / 3600.0),
            "+90\xC2\xB0"
            "00'00\"");
  EXPECT_EQ(declinationLabel(-(10.0 + 59.0 / 60.0 + 57.0 / 3600.0)),
            "-11\xC2\xB0"
            "00'00\"");
}

TEST(PositionLabels, AnUnusablePositionShowsDashesInsteadOfGarbage) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(rightAscensionLabel(nan), " --h--m--s");
  EXPECT_EQ(rightAscensionLabel(1e300), " --h--m--s");
  EXPECT_EQ(declinationLabel(-inf),
            "---\xC2\xB0"
            "--'--\"");
  EXPECT_EQ(declinationLabel(nan),
            "---\xC2\xB0"
            "--'--\"");
}

}  // namespace
}  // namespace tramox::driver
