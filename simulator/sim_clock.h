#pragma once
// The simulated controller's time: UTC as seconds since 1970-01-01, optionally running faster
// than the wall clock so that demos and tests need not wait for real slews.

namespace tramox::sim {

class SimClock {
 public:
  virtual ~SimClock() = default;
  virtual double nowUtcSeconds() = 0;
};

// The system clock; `timescale` simulated seconds pass per wall-clock second, counted from the
// moment the clock is made (a timescale of 1 is plain UTC).
class SystemSimClock : public SimClock {
 public:
  explicit SystemSimClock(double timescale);
  double nowUtcSeconds() override;

 private:
  double startUtcSeconds_;
  double timescale_;
};

}  // namespace tramox::sim
