#include "rates/tracking_rates.h"

#include "common/driver_error.h"

namespace tramox::rates {

std::int32_t TTrackingRatesCol::Get_Item(std::int32_t index) {
  if (index < 1 || index > kCount) {
    throw DriverError(codes::kInvalidValue, kTrackingIndexMessage);
  }
  return rate_;
}

std::shared_ptr<TTrackingRatesCol> TTrackingRatesCol::Clone() const {
  return std::make_shared<TTrackingRatesCol>(*this);
}

}  // namespace tramox::rates
