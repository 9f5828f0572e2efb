#pragma once
// The tracking rates the driver lists: sidereal, lunar, solar and King (DriveRates 0..3).
#include <cstdint>
#include <memory>

#include "rates/enum_cursor.h"

namespace tramox::rates {

// Message of the DriverError (0x80040405) for an Item index outside 1..4.
inline constexpr const char* kTrackingIndexMessage = "Invalid tracking rate index";

class TTrackingRatesCol : public EnumeratedCollection<std::int32_t> {
 public:
  static constexpr std::int32_t kCount = 4;

  TTrackingRatesCol() : EnumeratedCollection(kCount) {}

  // 1 -> driveSidereal (0), 2 -> driveLunar (1), 3 -> driveSolar (2), 4 -> driveKing (3).
  // Any other index fails with 0x80040405: there is no rate to report, and a made-up one
  // would look like a real drive rate to the client.
  std::int32_t Get_Item(std::int32_t index) override;

  // As for the axis rates: an independent copy that continues from the same position.
  std::shared_ptr<TTrackingRatesCol> Clone() const;
};

}  // namespace tramox::rates
