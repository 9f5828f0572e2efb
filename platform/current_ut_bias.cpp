#include <cstdint>
#include <cstdlib>

#include "platform/clock.h"

namespace tramox::platform {

double CurrentUtBias(const TimeZoneInfo& zone) {
  std::int64_t minutes = 0;
  switch (zone.result) {
    case 0:
      minutes = zone.bias;
      break;
    case 1:
      minutes = std::int64_t{zone.bias} + zone.standardBias;
      break;
    case 2:
      minutes = std::int64_t{zone.bias} + zone.daylightBias;
      break;
    default:
      return 0.0;
  }
  const double interval = static_cast<double>(std::llabs(minutes)) / 1440.0;
  return minutes > 0 ? -interval : interval;
}

}  // namespace tramox::platform
