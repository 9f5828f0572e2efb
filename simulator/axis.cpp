#include "simulator/axis.h"

#include <algorithm>
#include <cmath>

namespace tramox::sim {

void Axis::placeAt(double positionRad) {
  positionRad_ = positionRad;
  slewing_ = false;
}

void Axis::slewTo(double targetRad, double speedRadPerSec, bool endless) {
  targetRad_ = targetRad;
  slewSpeedRadPerSec_ = std::fabs(speedRadPerSec);
  endless_ = endless;
  slewing_ = true;
}

void Axis::startPulse(double radPerSec, double seconds) {
  pulseRateRadPerSec_ = radPerSec;
  pulseRemainingSec_ = std::max(seconds, 0.0);
}

void Axis::cancelPulse() {
  pulseRateRadPerSec_ = 0.0;
  pulseRemainingSec_ = 0.0;
}

void Axis::advance(double seconds) {
  if (!(seconds > 0.0)) {
    return;
  }
  const double pulseSec = std::min(seconds, pulseRemainingSec_);
  positionRad_ +=
      (trackingRateRadPerSec_ + motionRateRadPerSec_) * seconds + pulseRateRadPerSec_ * pulseSec;
  pulseRemainingSec_ -= pulseSec;
  if (pulseRemainingSec_ <= 0.0) {
    cancelPulse();
  }

  if (!slewing_) {
    return;
  }
  targetRad_ += trackingRateRadPerSec_ * seconds;
  const double remainingRad = targetRad_ - positionRad_;
  const double stepRad = slewSpeedRadPerSec_ * seconds;
  if (std::fabs(remainingRad) <= stepRad) {
    positionRad_ = targetRad_;
    slewing_ = endless_;
  } else {
    positionRad_ += std::copysign(stepRad, remainingRad);
  }
}

}  // namespace tramox::sim
