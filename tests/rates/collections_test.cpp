// The two collections: 1-based items, the shared cursor of Next/Skip/Reset, Clone, and the
// "Get_Item index" log lines.
#include <gtest/gtest.h>

#include <limits>

#include "common/driver_error.h"
#include "rates/rates.h"
#include "rates/tracking_rates.h"
#include "tests/rates/rates_fixture.h"

namespace tramox::rates {
namespace {

std::vector<double> maxima(const std::vector<std::shared_ptr<TRate>>& rates) {
  std::vector<double> values;
  for (const auto& rate : rates) {
    values.push_back(rate->Get_Maximum());
  }
  return values;
}

class CollectionsTest : public testing::RatesFixture {
 protected:
  std::shared_ptr<TRates> threeRates() {
    return std::make_shared<TRates>(&log, &fakes.locale, 0.5, 1.25, 2.0, 3);
  }
};

TEST_F(CollectionsTest, AxisItemsAreOneBasedAndOutOfRangeIndexesGiveZero) {
  auto rates = threeRates();
  EXPECT_EQ(rates->Get_Item(1)->Get_Minimum(), 0.5);
  EXPECT_EQ(rates->Get_Item(2)->Get_Maximum(), 1.25);
  EXPECT_EQ(rates->Get_Item(3)->Get_Minimum(), 2.0);
  for (std::int32_t index : {0, 4, -1, std::numeric_limits<std::int32_t>::min()}) {
    auto rate = rates->Get_Item(index);
    EXPECT_EQ(rate->Get_Minimum(), 0.0) << index;
    EXPECT_EQ(rate->Get_Maximum(), 0.0) << index;
  }
}

TEST_F(CollectionsTest, EachItemIsANewRateSoAClientsChangeStaysOnItsOwnObject) {
  auto rates = threeRates();
  auto first = rates->Get_Item(1);
  first->Set_Maximum(42.0);
  first->Set_Minimum(-1.0);
  EXPECT_EQ(first->Get_Maximum(), 42.0);
  EXPECT_EQ(first->Get_Minimum(), -1.0);
  EXPECT_EQ(rates->Get_Item(1)->Get_Maximum(), 0.5);
}

TEST_F(CollectionsTest, NextPastTheEndStoresWhatIsLeftThenNothing) {
  auto rates = threeRates();
  auto all = rates->Next(10);
  EXPECT_EQ(all.status, kSFalse);
  EXPECT_EQ(maxima(all.elements), (std::vector<double>{0.5, 1.25, 2.0}));

  auto after = rates->Next(1);
  EXPECT_EQ(after.status, kSFalse);
  EXPECT_TRUE(after.elements.empty());
}

TEST_F(CollectionsTest, NextOfExactlyWhatIsLeftSucceeds) {
  auto rates = threeRates();
  EXPECT_EQ(rates->Next(2).status, kSOk);
  auto last = rates->Next(1);
  EXPECT_EQ(last.status, kSOk);
  EXPECT_EQ(maxima(last.elements), std::vector<double>{2.0});
  EXPECT_EQ(rates->Next(0).status, kSOk);
}

TEST_F(CollectionsTest, TrackingRatesEnumerateTheOneRateInUse) {
  TTrackingRatesCol tracking(ascom::driveKing);
  EXPECT_EQ(tracking.Get_Count(), 1);
  auto all = tracking.Next(1);
  EXPECT_EQ(all.status, kSOk);
  EXPECT_EQ(all.elements, (std::vector<std::int32_t>{ascom::driveKing}));
  EXPECT_EQ(TTrackingRatesCol().Get_Item(1), ascom::driveSidereal);
}

TEST_F(CollectionsTest, SkipThenNextContinuesFromTheSkippedPosition) {
  auto rates = threeRates();
  EXPECT_EQ(rates->Skip(2), kSOk);
  auto rest = rates->Next(5);
  EXPECT_EQ(rest.status, kSFalse);
  EXPECT_EQ(maxima(rest.elements), (std::vector<double>{2.0}));
}

TEST_F(CollectionsTest, SkipPastTheEndStopsAtTheEnd) {
  TTrackingRatesCol tracking;
  EXPECT_EQ(tracking.Skip(5), kSFalse);
  EXPECT_EQ(tracking.cursor(), 1);
  EXPECT_TRUE(tracking.Next(1).elements.empty());

  // A count that would overflow a 32-bit cursor must still land on the end.
  auto other = threeRates();
  other->Skip(1);
  EXPECT_EQ(other->Skip(std::numeric_limits<std::uint32_t>::max()), kSFalse);
  EXPECT_EQ(other->cursor(), 3);
}

TEST_F(CollectionsTest, ASecondEnumerationWithoutResetYieldsNothingAndResetStartsOver) {
  auto rates = threeRates();
  EXPECT_EQ(rates->Next(3).elements.size(), 3u);
  EXPECT_TRUE(rates->Next(3).elements.empty());
  EXPECT_EQ(rates->Reset(), kSOk);
  EXPECT_EQ(maxima(rates->Next(1).elements), std::vector<double>{0.5});
}

TEST_F(CollectionsTest, CloneCopiesValuesAndPositionButMovesOnItsOwn) {
  auto rates = threeRates();
  rates->Next(1);
  auto clone = rates->Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone, rates);
  EXPECT_EQ(clone->Get_Count(), 3);
  EXPECT_EQ(maxima(clone->Next(5).elements), (std::vector<double>{1.25, 2.0}));
  EXPECT_EQ(maxima(rates->Next(1).elements), std::vector<double>{1.25});

  TTrackingRatesCol tracking(ascom::driveKing);
  auto trackingClone = tracking.Clone();
  ASSERT_NE(trackingClone, nullptr);
  EXPECT_EQ(trackingClone->Next(2).elements, std::vector<std::int32_t>{ascom::driveKing});
  EXPECT_EQ(tracking.cursor(), 0);
}

TEST_F(CollectionsTest, TrackingItemOtherThanOneIsRefused) {
  TTrackingRatesCol tracking;
  for (std::int32_t index : {0, 2, -3}) {
    try {
      tracking.Get_Item(index);
      ADD_FAILURE() << "index " << index << " accepted";
    } catch (const DriverError& e) {
      EXPECT_EQ(e.code(), codes::kInvalidValue);
    }
  }
}

TEST_F(CollectionsTest, ItemsWriteTheirIndexAndValueWithTheUsersSeparator) {
  enableLog();
  fakes.locale.setDecimalSeparator(",");
  auto rates = threeRates();
  rates->Get_Item(2);
  rates->Get_Item(7);
  EXPECT_EQ(logMessages(),
            (std::vector<std::string>{"Get_Item index 2=1,25", "Get_Item index 7=0"}));
}

TEST_F(CollectionsTest, EnumeratingWritesOneLinePerElementAndTrackingRatesWriteNone) {
  enableLog();
  auto rates = threeRates();
  rates->Next(10);
  TTrackingRatesCol tracking;
  tracking.Next(10);
  tracking.Get_Item(1);
  EXPECT_EQ(logMessages(),
            (std::vector<std::string>{"Get_Item index 1=0.5", "Get_Item index 2=1.25",
                                      "Get_Item index 3=2"}));
}

TEST_F(CollectionsTest, ALogFailureEndsNextWithItsCodeWithoutThrowing) {
  auto rates = threeRates();
  rates->Next(1);
  breakLog();
  NextResult<std::shared_ptr<TRate>> result;
  EXPECT_NO_THROW(result = rates->Next(2));
  EXPECT_EQ(result.status, codes::kUnexpected);
  EXPECT_FALSE(result.errorMessage.empty());
  EXPECT_TRUE(result.elements.empty());
  // The element that failed was not handed out: it comes again once the log works.
  EXPECT_EQ(rates->cursor(), 1);
  EXPECT_THROW(rates->Get_Item(1), platform::RegistryError);
}

TEST_F(CollectionsTest, ACollectionWithoutALogWritesNothing) {
  enableLog();
  TRates rates(nullptr, nullptr, 1.0, 2.0, 3.0, 3);
  EXPECT_EQ(rates.Next(3).elements.size(), 3u);
  EXPECT_TRUE(logMessages().empty());
}

}  // namespace
}  // namespace tramox::rates
