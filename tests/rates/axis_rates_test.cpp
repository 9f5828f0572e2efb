// AxisRates: what it reads from the controller, what it leaves in the speed table, and the
// collection it builds for each axis.
#include <gtest/gtest.h>

#include "common/driver_error.h"
#include "common/units.h"
#include "rates/axis_rates.h"
#include "tests/rates/rates_fixture.h"

namespace tramox::rates {
namespace {

class AxisRatesTest : public testing::RatesFixture {
 protected:
  // Controller speed k is k degrees per second (k × π/180 rad/s).
  void setSpeedsOneToTenDegPerSec() {
    for (int k = 1; k <= 10; ++k) {
      mount.speedsRadPerSec[static_cast<std::size_t>(k - 1)] = k * units::kPi / 180.0;
    }
  }

  std::shared_ptr<TRates> axisRates(std::int32_t axis) {
    return MakeAxisRates(controller, table, log, fakes.locale, axis);
  }

  static std::vector<double> maxima(TRates& rates) {
    std::vector<double> values;
    for (std::int32_t index = 1; index <= 3; ++index) {
      auto rate = rates.Get_Item(index);
      EXPECT_EQ(rate->Get_Minimum(), rate->Get_Maximum());
      values.push_back(rate->Get_Maximum());
    }
    return values;
  }

  AxisSpeedTable table;
};

TEST_F(AxisRatesTest, PrimaryAndSecondaryAxesTakeTheOddAndEvenSpeedsInDegreesPerSecond) {
  setSpeedsOneToTenDegPerSec();
  auto primary = axisRates(0);
  auto secondary = axisRates(1);

  EXPECT_EQ(primary->Get_Count(), 3);
  EXPECT_EQ(secondary->Get_Count(), 3);
  const std::vector<double> primaryMaxima = maxima(*primary);
  const std::vector<double> secondaryMaxima = maxima(*secondary);
  const double expectedPrimary[] = {3, 7, 9};
  const double expectedSecondary[] = {4, 8, 10};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(primaryMaxima[i], expectedPrimary[i], 1e-12);
    EXPECT_NEAR(secondaryMaxima[i], expectedSecondary[i], 1e-12);
  }
}

TEST_F(AxisRatesTest, TableHoldsTheSixUsedSpeedsConvertedAndTheOthersAsGiven) {
  setSpeedsOneToTenDegPerSec();
  axisRates(0);
  for (int k : {3, 4, 7, 8, 9, 10}) {
    EXPECT_NEAR(table.value(k), k, 1e-12) << "speed " << k;
  }
  for (int k : {1, 2, 5, 6}) {
    EXPECT_DOUBLE_EQ(table.value(k), k * units::kPi / 180.0) << "speed " << k;
  }
}

TEST_F(AxisRatesTest, EveryCallReadsTheControllerAgainAndMakesAFreshCollection) {
  setSpeedsOneToTenDegPerSec();
  auto first = axisRates(0);
  first->Next(3);
  mount.speedsRadPerSec[8] = 20 * units::kPi / 180.0;
  auto second = axisRates(0);

  EXPECT_NE(first, second);
  EXPECT_EQ(mount.count("GetSpeed_DLL"), 2);
  EXPECT_EQ(second->cursor(), 0);
  // The old collection keeps the values of its own moment.
  EXPECT_NEAR(first->Get_Item(3)->Get_Maximum(), 9, 1e-12);
  EXPECT_NEAR(second->Get_Item(3)->Get_Maximum(), 20, 1e-12);
}

TEST_F(AxisRatesTest, TertiaryAxisIsEmptyButStillAnswersItems) {
  setSpeedsOneToTenDegPerSec();
  auto tertiary = axisRates(2);

  EXPECT_EQ(tertiary->Get_Count(), 0);
  const auto pass = tertiary->Next(5);
  EXPECT_EQ(pass.status, kSFalse);
  EXPECT_TRUE(pass.elements.empty());
  EXPECT_EQ(tertiary->Get_Item(1)->Get_Maximum(), 0.0);
  // The table is refilled for the tertiary axis too.
  EXPECT_EQ(mount.count("GetSpeed_DLL"), 1);
}

TEST_F(AxisRatesTest, AxisOutsideTheEnumerationFailsBeforeTheControllerIsAsked) {
  table.values[8] = 2.0;
  for (std::int32_t axis : {-1, 3, 1000}) {
    try {
      axisRates(axis);
      ADD_FAILURE() << "axis " << axis << " accepted";
    } catch (const DriverError& e) {
      EXPECT_EQ(e.code(), codes::kInvalidValue);
      EXPECT_STREQ(e.what(), kInvalidAxisMessage);
    }
  }
  EXPECT_EQ(mount.count("GetSpeed_DLL"), 0);
  EXPECT_EQ(table.value(9), 2.0);
}

TEST_F(AxisRatesTest, WithoutALoadedLibraryTheControllerGuardFails) {
  controller.Release();
  EXPECT_THROW(axisRates(0), DriverError);
}

}  // namespace
}  // namespace tramox::rates
