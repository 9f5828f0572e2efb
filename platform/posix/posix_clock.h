#pragma once
// The system clock in the local zone (TZ), and the zone described as Windows would.
#include <ctime>

#include "platform/clock.h"

namespace tramox::platform {

class PosixClock : public IClock {
 public:
  double nowLocal() override;
  TimeZoneInfo timeZone() override;
  double monotonicSeconds() override;
  void sleepMilliseconds(int milliseconds) override;

  // The zone as Windows reports it at the instant `when`: result 0 for a zone without
  // daylight saving in that year, 1 in standard time, 2 in daylight time; Bias is the standard
  // bias, DaylightBias the extra bias of daylight time, StandardBias 0.
  static TimeZoneInfo zoneAt(std::time_t when);
};

}  // namespace tramox::platform
