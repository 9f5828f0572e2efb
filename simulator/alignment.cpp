#include "simulator/alignment.h"

#include <cmath>

#include "common/units.h"
#include "simulator/sidereal_time.h"

namespace tramox::sim {
namespace {

constexpr double kHalfPi = units::kPi / 2.0;

bool throughThePole(double secondaryRad) {
  return std::fabs(wrapPi(secondaryRad)) > kHalfPi;
}

}  // namespace

SkyPosition Alignment::toSky(const AxisAngles& axes) const {
  const double secondary = wrapPi(axes.secondaryRad);
  if (!throughThePole(secondary)) {
    return {wrapPi(axes.primaryRad), secondary};
  }
  const double decRad = (secondary > 0.0 ? units::kPi : -units::kPi) - secondary;
  return {wrapPi(axes.primaryRad + units::kPi), decRad};
}

AxisAngles Alignment::toAxes(const SkyPosition& sky, PierSide side) const {
  if (side == PierSide::East || !german_) {
    return {wrapPi(sky.hourAngleRad), sky.decRad};
  }
  return {wrapPi(sky.hourAngleRad - units::kPi), units::kPi - sky.decRad};
}

PierSide Alignment::sideOf(const AxisAngles& axes) const {
  return german_ && throughThePole(axes.secondaryRad) ? PierSide::West : PierSide::East;
}

PierSide Alignment::sideFor(double hourAngleRad) const {
  return german_ && wrapPi(hourAngleRad) < 0.0 ? PierSide::West : PierSide::East;
}

double Alignment::mechanicalSecondaryRad(double secondaryRad) {
  return wrapTwoPi(secondaryRad + kHalfPi) - kHalfPi;
}

double Alignment::declinationSense(const AxisAngles& axes) const {
  return throughThePole(axes.secondaryRad) ? -1.0 : 1.0;
}

}  // namespace tramox::sim
