#include <gtest/gtest.h>

#include <limits>

#include "diag/diagnostic_log.h"

namespace tramox::diag {
namespace {

TEST(FormatNumber, PlainDecimalsWithoutTrailingZeros) {
  EXPECT_EQ(formatNumber(12.5, "."), "12.5");
  EXPECT_EQ(formatNumber(100.0, "."), "100");
  EXPECT_EQ(formatNumber(-2.25, "."), "-2.25");
  EXPECT_EQ(formatNumber(0.0, "."), "0");
  EXPECT_EQ(formatNumber(-0.0, "."), "0");
  EXPECT_EQ(formatNumber(0.1 + 0.2, "."), "0.3");
  EXPECT_EQ(formatNumber(10.0, ","), "10");
}

TEST(FormatNumber, RoundsToFifteenSignificantDigits) {
  EXPECT_EQ(formatNumber(1.0 / 3.0, "."), "0.333333333333333");
  EXPECT_EQ(formatNumber(2.0 / 3.0, "."), "0.666666666666667");
  EXPECT_EQ(formatNumber(-0.17453292519943295, "."), "-0.174532925199433");
  EXPECT_EQ(formatNumber(18.694575123456789, "."), "18.6945751234568");
  EXPECT_EQ(formatNumber(999999999999999.0, "."), "999999999999999");
  EXPECT_EQ(formatNumber(0.99999999999999999, "."), "1");
}

TEST(FormatNumber, ScientificBelowTenToTheMinusFiveAndFromFifteenIntegerDigits) {
  EXPECT_EQ(formatNumber(0.000123, "."), "0.000123");
  EXPECT_EQ(formatNumber(0.00001, "."), "0.00001");
  EXPECT_EQ(formatNumber(0.000001, "."), "1E-6");
  EXPECT_EQ(formatNumber(1.5e-20, "."), "1.5E-20");
  EXPECT_EQ(formatNumber(-1.5e-20, ","), "-1,5E-20");
  EXPECT_EQ(formatNumber(1e15, "."), "1E15");
  EXPECT_EQ(formatNumber(1e20, "."), "1E20");
  EXPECT_EQ(formatNumber(123456789012345678.0, "."), "1.23456789012346E17");
  EXPECT_EQ(formatNumber(9999999999999999.0, "."), "1E16");
  EXPECT_EQ(formatNumber(std::numeric_limits<double>::denorm_min(), "."), "4.94065645841247E-324");
}

TEST(FormatNumber, TheUsersSeparatorAndNonFiniteValues) {
  EXPECT_EQ(formatNumber(-0.174532925199433, ","), "-0,174532925199433");
  EXPECT_EQ(formatNumber(1013.25, "٫"), "1013٫25");
  EXPECT_EQ(formatNumber(std::numeric_limits<double>::quiet_NaN(), "."), "NAN");
  EXPECT_EQ(formatNumber(std::numeric_limits<double>::infinity(), "."), "INF");
  EXPECT_EQ(formatNumber(-std::numeric_limits<double>::infinity(), "."), "-INF");
}

}  // namespace
}  // namespace tramox::diag
