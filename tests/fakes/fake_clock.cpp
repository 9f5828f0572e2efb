#include "tests/fakes/fake_clock.h"

namespace tramox::fakes {

void FakeClock::advanceSeconds(double seconds) {
  monotonicSeconds_ += seconds;
  localDate_ += seconds / 86400.0;
}

void FakeClock::sleepMilliseconds(int milliseconds) {
  ++sleepCalls_;
  const double seconds = milliseconds > 0 ? milliseconds / 1000.0 : 0.0;
  sleptSeconds_ += seconds;
  advanceSeconds(seconds);
  if (onSleep) {
    onSleep(milliseconds);
  }
}

}  // namespace tramox::fakes
