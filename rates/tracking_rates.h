#pragma once
// The tracking rates the driver lists: only the one the mount really tracks at, so that no
// client picks a rate the controller would never run.
#include <cstdint>
#include <memory>

#include "common/telescope_enums.h"
#include "rates/enum_cursor.h"

namespace tramox::rates {

// Message of the DriverError (0x80040405) for an Item index outside 1..Count.
inline constexpr const char* kTrackingIndexMessage = "Invalid tracking rate index";

class TTrackingRatesCol : public EnumeratedCollection<std::int32_t> {
 public:
  static constexpr std::int32_t kCount = 1;

  // rate: a DriveRates value; sidereal for a collection made without a driver.
  explicit TTrackingRatesCol(std::int32_t rate = ascom::driveSidereal)
      : EnumeratedCollection(kCount), rate_(rate) {}

  // 1 -> the rate. Any other index fails with 0x80040405: there is no rate to report, and a
  // made-up one would look like a real drive rate to the client.
  std::int32_t Get_Item(std::int32_t index) override;

  // As for the axis rates: an independent copy that continues from the same position.
  std::shared_ptr<TTrackingRatesCol> Clone() const;

 private:
  std::int32_t rate_;
};

}  // namespace tramox::rates
