#include "rates/tracking_rates.h"

#include "common/driver_error.h"

namespace tramox::rates {

std::int32_t TTrackingRatesCol::Get_Item(std::int32_t index) {
  if (index < 1 || index > kCount) {
    throw DriverError(codes::kInvalidValue, kTrackingIndexMessage);
  }
  // DriveRates numbers the rates from 0 in the collection's order.
  return index - 1;
}

std::shared_ptr<TTrackingRatesCol> TTrackingRatesCol::Clone() const {
  return std::make_shared<TTrackingRatesCol>(*this);
}

}  // namespace tramox::rates
