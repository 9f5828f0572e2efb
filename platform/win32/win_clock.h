#pragma once
// The local clock (GetLocalTime) and the time zone (GetTimeZoneInformation).
#include "platform/clock.h"

namespace tramox::platform::win32 {

class WinClock final : public IClock {
 public:
  double nowLocal() override;
  TimeZoneInfo timeZone() override;
  double monotonicSeconds() override;
  void sleepMilliseconds(int milliseconds) override;
};

}  // namespace tramox::platform::win32
