#pragma once
// The computer's clock and time zone.
#include <cstdint>

namespace tramox::platform {

// GetTimeZoneInformation's answer: result 0 (zone state unknown), 1 (standard time),
// 2 (daylight time), anything else a failure. Biases in minutes, UTC = local time + bias.
struct TimeZoneInfo {
  std::uint32_t result = 0xFFFFFFFFu;
  std::int32_t bias = 0;
  std::int32_t standardBias = 0;
  std::int32_t daylightBias = 0;
};

// CurrentUtBias: UTC bias for UTCDate, a rule of the time-zone answer. UTC = local - bias.
//   Given: zone  the time-zone answer
//   Returns: automation-date interval (signed fraction of a day), to the minute
// Notes:
//   1. Minutes = bias (result 0), bias + standardBias (1), bias + daylightBias (2); any other
//      result is a failed query and gives 0, so UTC falls back to local time.
//   2. The interval is negative for a positive bias (zones west of Greenwich).
double CurrentUtBias(const TimeZoneInfo& zone);

class IClock {
 public:
  virtual ~IClock() = default;
  // Local date and time as an automation date (days since 1899-12-30), to the millisecond.
  virtual double nowLocal() = 0;
  virtual TimeZoneInfo timeZone() = 0;
  // A steady clock in seconds, for time limits; unaffected by clock or zone changes.
  virtual double monotonicSeconds() = 0;
  virtual void sleepMilliseconds(int milliseconds) = 0;
  // Sleeps while another process holds what this one needs (a store's lock). A host that
  // serves its most urgent calls meanwhile lends a clock that does so here.
  virtual void sleepWhileBlocked(int milliseconds) { sleepMilliseconds(milliseconds); }
};

}  // namespace tramox::platform
