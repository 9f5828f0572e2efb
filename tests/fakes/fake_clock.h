#pragma once
// A clock that tests set by hand. Sleeping advances both the local time and the steady clock
// instead of waiting, so time limits can be tested without delay.
#include <functional>

#include "platform/automation_date.h"
#include "platform/clock.h"

namespace tramox::fakes {

class FakeClock : public platform::IClock {
 public:
  double nowLocal() override { return localDate_; }
  platform::TimeZoneInfo timeZone() override { return zone_; }
  double monotonicSeconds() override { return monotonicSeconds_; }
  void sleepMilliseconds(int milliseconds) override;

  void setLocal(double automationDate) { localDate_ = automationDate; }
  void setLocal(const platform::CivilDateTime& t) { localDate_ = platform::toAutomationDate(t); }
  void setTimeZone(const platform::TimeZoneInfo& zone) { zone_ = zone; }
  // Moves local time and the steady clock forward together.
  void advanceSeconds(double seconds);

  int sleepCalls() const { return sleepCalls_; }
  double sleptSeconds() const { return sleptSeconds_; }
  // Runs after every sleep, e.g. to let a simulated mount move meanwhile.
  std::function<void(int milliseconds)> onSleep;

 private:
  // 2026-12-07 13:05:42.123, a weekday afternoon far from any midnight.
  double localDate_ = platform::toAutomationDate({2026, 12, 7, 13, 5, 42, 123});
  // Central European standard time.
  platform::TimeZoneInfo zone_{1, -60, 0, -60};
  double monotonicSeconds_ = 1000.0;
  int sleepCalls_ = 0;
  double sleptSeconds_ = 0.0;
};

}  // namespace tramox::fakes
