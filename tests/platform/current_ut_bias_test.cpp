// The time-zone rule behind UTCDate.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/clock.h"

namespace tramox::platform {
namespace {

TimeZoneInfo Zone(std::uint32_t result, int bias, int standard, int daylight) {
  TimeZoneInfo zone;
  zone.result = result;
  zone.bias = bias;
  zone.standardBias = standard;
  zone.daylightBias = daylight;
  return zone;
}

TEST(CurrentUtBias, PicksTheBiasOfTheZoneStateToTheMinute) {
  // India: UTC = local + (-330) min, so UTC = local - 5 h 30 m and the interval is +5h30.
  EXPECT_DOUBLE_EQ(CurrentUtBias(Zone(0, -330, 0, -60)), 330.0 / 1440.0);
  EXPECT_DOUBLE_EQ(CurrentUtBias(Zone(1, -330, 0, -60)), 330.0 / 1440.0);
  // Central Europe in summer: -60 - 60 minutes.
  EXPECT_DOUBLE_EQ(CurrentUtBias(Zone(2, -60, 0, -60)), 120.0 / 1440.0);
  // New York in winter: positive bias, negative interval.
  EXPECT_DOUBLE_EQ(CurrentUtBias(Zone(1, 300, 0, -60)), -300.0 / 1440.0);
  EXPECT_DOUBLE_EQ(CurrentUtBias(Zone(2, 300, 0, -60)), -240.0 / 1440.0);
}

TEST(CurrentUtBias, FailedZoneQueryGivesLocalTime) {
  EXPECT_EQ(CurrentUtBias(Zone(0xFFFFFFFFu, -330, 0, -60)), 0.0);
  EXPECT_EQ(CurrentUtBias(Zone(3, 120, 0, 0)), 0.0);
}

}  // namespace
}  // namespace tramox::platform
