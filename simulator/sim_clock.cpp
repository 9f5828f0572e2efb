#include "simulator/sim_clock.h"

#include <chrono>

namespace tramox::sim {
namespace {

double wallUtcSeconds() {
  using namespace std::chrono;
  return duration<double>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

SystemSimClock::SystemSimClock(double timescale)
    : startUtcSeconds_(wallUtcSeconds()), timescale_(timescale) {}

double SystemSimClock::nowUtcSeconds() {
  return startUtcSeconds_ + (wallUtcSeconds() - startUtcSeconds_) * timescale_;
}

}  // namespace tramox::sim
