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

class IClock {
 public:
  virtual ~IClock() = default;
  // Local date and time as an automation date (days since 1899-12-30), to the millisecond.
  virtual double nowLocal() = 0;
  virtual TimeZoneInfo timeZone() = 0;
  // A steady clock in seconds, for time limits; unaffected by clock or zone changes.
  virtual double monotonicSeconds() = 0;
  virtual void sleepMilliseconds(int milliseconds) = 0;
};

}  // namespace tramox::platform
