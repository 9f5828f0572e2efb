#pragma once
// The system clock in the local zone (TZ), and the zone described as Windows would.
#include <ctime>
#include <mutex>

#include "platform/clock.h"
#include "platform/posix/zone_change_watch.h"

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

 private:
  // The zone's answer depends only on the rules, the year and the offset in force, so it is
  // kept until one of them changes; the rules are read again only when they may have.
  struct KeptZone {
    bool valid = false;
    int year = 0;
    int daylight = 0;
    long offsetSeconds = 0;
    TimeZoneInfo zone;
  };
  void followZoneChanges();

  std::mutex zoneMutex_;
  ZoneChangeWatch zoneChanges_;
  KeptZone kept_;
};

}  // namespace tramox::platform
