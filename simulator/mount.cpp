#include "simulator/mount.h"

#include <cmath>

#include "common/units.h"
#include "simulator/sidereal_time.h"

namespace tramox::sim {
namespace {

// The driver hands 2π/86400 with every slew; the controller reads any nonzero rate there as
// "track" at the Earth's true turn, so the sky stays put instead of drifting four minutes a day.
constexpr double kSidereal = kEarthTurnRadPerSec;

bool finite(double a, double b) {
  return std::isfinite(a) && std::isfinite(b);
}

}  // namespace

Mount::Mount(const SimConfig& config, SimClock& clock, const std::optional<MountState>& saved)
    : config_(config),
      clock_(clock),
      alignment_(config.german),
      lastUpdateUtcSeconds_(clock.nowUtcSeconds()) {
  if (saved) {
    placeAt({saved->primaryRad, saved->secondaryRad});
    parked_ = saved->parked;
    setTrackingRate(saved->tracking && !saved->parked ? kSidereal : 0.0);
    const double awaySec = lastUpdateUtcSeconds_ - saved->utcSeconds;
    if (awaySec > 0.0) {
      axes_[0].advance(awaySec);
    }
    return;
  }
  parked_ = config_.parked;
  setTrackingRate(parked_ ? 0.0 : kSidereal);
  startPending_ = true;
  placeAtStart();
}

void Mount::placeAtStart() {
  const SkyPosition sky{wrapPi(localSiderealTimeRad() - units::hoursToRadians(config_.raHours)),
                        units::degreesToRadians(config_.decDegrees)};
  placeAt(alignment_.toAxes(sky, config_.west ? PierSide::West : PierSide::East));
}

void Mount::update() {
  const double now = clock_.nowUtcSeconds();
  const double elapsedSec = now - lastUpdateUtcSeconds_;
  lastUpdateUtcSeconds_ = now;
  for (Axis& axis : axes_) {
    axis.advance(elapsedSec);
  }
  if (parking_ && !axes_[0].slewing() && !axes_[1].slewing()) {
    parking_ = false;
    parked_ = true;
  }
}

double Mount::localSiderealTimeRad() const {
  return sim::localSiderealTimeRad(lastUpdateUtcSeconds_, lonWestRad_);
}

AxisAngles Mount::axes() const {
  return {axes_[0].positionRad(), axes_[1].positionRad()};
}

void Mount::placeAt(const AxisAngles& angles) {
  axes_[0].placeAt(angles.primaryRad);
  axes_[1].placeAt(angles.secondaryRad);
}

void Mount::placeInMechanicalRange() {
  axes_[0].placeAt(wrapPi(axes_[0].positionRad()));
  axes_[1].placeAt(Alignment::mechanicalSecondaryRad(axes_[1].positionRad()));
}

void Mount::setTrackingRate(double radPerSec) {
  // Tracking turns the hour-angle axis only.
  trackingRateRadPerSec_ = radPerSec;
  axes_[0].setTrackingRate(radPerSec);
}

void Mount::setSite(double /*latRad*/, double lonWestRad) {
  update();
  lonWestRad_ = lonWestRad;
  if (startPending_) {
    placeAtStart();
    startPending_ = false;
  }
}

double Mount::rightAscensionRad() {
  update();
  return wrapTwoPi(localSiderealTimeRad() - alignment_.toSky(axes()).hourAngleRad);
}

double Mount::declinationRad() {
  update();
  return alignment_.toSky(axes()).decRad;
}

bool Mount::westOfPier() {
  update();
  return alignment_.sideOf(axes()) == PierSide::West;
}

bool Mount::axisMoving(int axis) {
  update();
  if (axis != 0 && axis != 1) {
    return false;
  }
  return axes_[axis].slewing() || axes_[axis].moving();
}

bool Mount::pulseGuiding() {
  update();
  return axes_[0].pulsing() || axes_[1].pulsing();
}

bool Mount::parked() {
  update();
  return parked_;
}

bool Mount::tracking() {
  update();
  return trackingRateRadPerSec_ != 0.0;
}

bool Mount::slewTo(double raRad, double decRad, double lonWestRad, double trackingRateRadPerSec) {
  update();
  if (parked_ || parking_ || !finite(raRad, decRad) || !finite(lonWestRad, trackingRateRadPerSec) ||
      std::fabs(decRad) > units::kPi / 2.0) {
    return false;
  }
  startPending_ = false;
  lonWestRad_ = lonWestRad;
  setTrackingRate(trackingRateRadPerSec != 0.0 ? kSidereal : 0.0);
  const double hourAngleRad = wrapPi(localSiderealTimeRad() - raRad);
  const AxisAngles goal =
      alignment_.toAxes({hourAngleRad, decRad}, alignment_.sideFor(hourAngleRad));
  const double speedRadPerSec = units::degreesToRadians(config_.slewDegPerSec);
  for (Axis& axis : axes_) {
    axis.setMotionRate(0.0);
  }
  placeInMechanicalRange();
  axes_[0].slewTo(goal.primaryRad, speedRadPerSec, config_.endless);
  axes_[1].slewTo(goal.secondaryRad, speedRadPerSec, config_.endless);
  return true;
}

// Stops a park motion too: the mount stays where it is, not parked.
void Mount::stopSlew() {
  update();
  parking_ = false;
  for (Axis& axis : axes_) {
    axis.stopSlew();
  }
}

bool Mount::sync(double raRad, double decRad) {
  update();
  if (parked_ || parking_ || !finite(raRad, decRad) || std::fabs(decRad) > units::kPi / 2.0) {
    return false;
  }
  startPending_ = false;
  const PierSide side = alignment_.sideOf(axes());
  placeAt(alignment_.toAxes({wrapPi(localSiderealTimeRad() - raRad), decRad}, side));
  return true;
}

bool Mount::move(int direction, int speedClass) {
  update();
  if (parked_ || parking_ || direction < 0 || direction > 3 || speedClass < 0 || speedClass > 2) {
    return false;
  }
  startPending_ = false;
  // Speed values 9/10, 7/8 and 3/4 (counted from 1) for SMax, SMedium and SSideral; odd values
  // for the primary axis, even ones for the secondary.
  static constexpr std::array<std::size_t, 3> kPrimaryIndex{8, 6, 2};
  const bool primary = direction >= static_cast<int>(Direction::East);
  const std::size_t index = kPrimaryIndex[speedClass] + (primary ? 0 : 1);
  const double speedRadPerSec = config_.speedsRadPerSec[index];
  Axis& axis = axes_[primary ? 0 : 1];
  axis.stopSlew();
  switch (static_cast<Direction>(direction)) {
    case Direction::North:
      axis.setMotionRate(speedRadPerSec * alignment_.declinationSense(axes()));
      break;
    case Direction::South:
      axis.setMotionRate(-speedRadPerSec * alignment_.declinationSense(axes()));
      break;
    case Direction::East:  // right ascension grows, so the hour angle shrinks
      axis.setMotionRate(-speedRadPerSec);
      break;
    case Direction::West:
      axis.setMotionRate(speedRadPerSec);
      break;
  }
  return true;
}

void Mount::stopMotion(bool primary, bool secondary) {
  update();
  if (primary) {
    axes_[0].setMotionRate(0.0);
  }
  if (secondary) {
    axes_[1].setMotionRate(0.0);
  }
}

bool Mount::startTracking() {
  update();
  if (parked_ || parking_) {
    return false;
  }
  setTrackingRate(kSidereal);
  stopMotion(true, true);
  return true;
}

void Mount::stopAll() {
  update();
  parking_ = false;
  setTrackingRate(0.0);
  for (Axis& axis : axes_) {
    axis.stopSlew();
    axis.setMotionRate(0.0);
    axis.cancelPulse();
  }
}

bool Mount::pulseGuide(bool west, bool south, std::uint16_t primaryMs, std::uint16_t secondaryMs) {
  update();
  if (parked_ || parking_) {
    return false;
  }
  const double guideRadPerSec = config_.guideSiderealMultiple * kSidereal;
  if (primaryMs > 0) {
    // West lowers the right ascension, so the hour angle grows.
    axes_[0].startPulse(west ? guideRadPerSec : -guideRadPerSec, primaryMs / 1000.0);
  }
  if (secondaryMs > 0) {
    const double sense = alignment_.declinationSense(axes());
    axes_[1].startPulse((south ? -guideRadPerSec : guideRadPerSec) * sense, secondaryMs / 1000.0);
  }
  return true;
}

bool Mount::park(double hourAngleRad, double decRad) {
  update();
  if (!finite(hourAngleRad, decRad) || std::fabs(decRad) > units::kPi / 2.0) {
    return false;
  }
  startPending_ = false;
  stopAll();
  // The driver stores the park hour angle unreduced; the mount takes the short way to it.
  const double shortHourAngleRad = wrapPi(hourAngleRad);
  const AxisAngles goal =
      alignment_.toAxes({shortHourAngleRad, decRad}, alignment_.sideFor(shortHourAngleRad));
  const double speedRadPerSec = units::degreesToRadians(config_.slewDegPerSec);
  placeInMechanicalRange();
  axes_[0].slewTo(goal.primaryRad, speedRadPerSec, config_.endless);
  axes_[1].slewTo(goal.secondaryRad, speedRadPerSec, config_.endless);
  // Parked on arrival, as a real mount reports it; an endless slew never arrives.
  parked_ = false;
  parking_ = true;
  return true;
}

bool Mount::unpark() {
  update();
  parked_ = false;
  parking_ = false;
  setTrackingRate(kSidereal);
  return true;
}

MountState Mount::state() {
  update();
  MountState saved;
  saved.primaryRad = axes_[0].slewing() ? axes_[0].targetRad() : axes_[0].positionRad();
  saved.secondaryRad = axes_[1].slewing() ? axes_[1].targetRad() : axes_[1].positionRad();
  saved.tracking = trackingRateRadPerSec_ != 0.0;
  // A park under way is saved as done, like the axes saved at their targets.
  saved.parked = parked_ || parking_;
  saved.utcSeconds = lastUpdateUtcSeconds_;
  return saved;
}

}  // namespace tramox::sim
