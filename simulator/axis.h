#pragma once
// One mount axis: a position that advances itself from elapsed time, under a tracking rate, a
// manual motion rate, a timed guide pulse and a slew toward a target that follows the sky.

namespace tramox::sim {

class Axis {
 public:
  explicit Axis(double positionRad = 0.0) : positionRad_(positionRad) {}

  double positionRad() const { return positionRad_; }
  // Puts the axis at a position at once, ending any slew (a sync or a restored state).
  void placeAt(double positionRad);

  // The rate the axis turns at on its own; a slew target turns with it, so a slew ends on the
  // same point of the sky whatever the time it takes.
  void setTrackingRate(double radPerSec) { trackingRateRadPerSec_ = radPerSec; }
  double trackingRate() const { return trackingRateRadPerSec_; }

  // Moves toward the target at `speedRadPerSec`; the axis reports slewing until it is there.
  // An endless slew keeps reporting slewing after it arrives, until stopSlew().
  void slewTo(double targetRad, double speedRadPerSec, bool endless = false);
  void stopSlew() { slewing_ = false; }
  bool slewing() const { return slewing_; }
  double targetRad() const { return targetRad_; }

  // A manual motion on top of tracking (the hand paddle's buttons); zero stops it.
  void setMotionRate(double radPerSec) { motionRateRadPerSec_ = radPerSec; }
  bool moving() const { return motionRateRadPerSec_ != 0.0; }

  // A guide pulse: `radPerSec` on top of tracking for `seconds`.
  void startPulse(double radPerSec, double seconds);
  void cancelPulse();
  bool pulsing() const { return pulseRemainingSec_ > 0.0; }

  // Advances by `seconds` of elapsed time; the pulse and the slew end within the step exactly
  // when their time is up or the target is reached.
  void advance(double seconds);

 private:
  double positionRad_;
  double trackingRateRadPerSec_ = 0.0;
  double motionRateRadPerSec_ = 0.0;
  double pulseRateRadPerSec_ = 0.0;
  double pulseRemainingSec_ = 0.0;
  bool slewing_ = false;
  bool endless_ = false;
  double targetRad_ = 0.0;
  double slewSpeedRadPerSec_ = 0.0;
};

}  // namespace tramox::sim
