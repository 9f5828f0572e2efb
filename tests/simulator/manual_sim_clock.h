#pragma once
// A simulated-controller clock that moves only when the test says so.
#include "simulator/sim_clock.h"

namespace tramox::sim::testing {

class ManualSimClock : public SimClock {
 public:
  // 2000-01-01 12:00 UTC: Greenwich sidereal time 18.697374558 h.
  static constexpr double kJ2000UtcSeconds = 946728000.0;

  explicit ManualSimClock(double utcSeconds = kJ2000UtcSeconds) : utcSeconds_(utcSeconds) {}
  double nowUtcSeconds() override { return utcSeconds_; }
  void advance(double seconds) { utcSeconds_ += seconds; }

 private:
  double utcSeconds_;
};

}  // namespace tramox::sim::testing
