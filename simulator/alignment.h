#pragma once
// Turns the two axis angles of an equatorial mount into hour angle and declination and back.
//
// Primary axis angle: the hour angle on the normal side of the pier, the hour angle − π on the
// other side. Secondary axis angle: the declination on the normal side, π − declination when
// the tube has gone through the pole. A German mount looking west of the meridian (hour angle
// ≥ 0) stands on the east side of the pier (the normal side); looking east it stands on the
// west side, through the pole. A fork mount always stays on the normal side.

namespace tramox::sim {

struct SkyPosition {
  double hourAngleRad;  // (−π, π]
  double decRad;        // [−π/2, π/2]
};

struct AxisAngles {
  double primaryRad;
  double secondaryRad;
};

enum class PierSide { East, West };

class Alignment {
 public:
  explicit Alignment(bool german) : german_(german) {}

  bool german() const { return german_; }
  SkyPosition toSky(const AxisAngles& axes) const;
  AxisAngles toAxes(const SkyPosition& sky, PierSide side) const;
  // The side a German mount is on, read from its declination axis; exactly at the pole both
  // sides meet and the answer is East.
  PierSide sideOf(const AxisAngles& axes) const;
  // The side a slew to this hour angle ends on.
  PierSide sideFor(double hourAngleRad) const;
  // The secondary axis angle in its mechanical range [−π/2, 3π/2): the normal side below π/2,
  // through the pole above, so that a slew on either side never crosses the wrap.
  static double mechanicalSecondaryRad(double secondaryRad);
  // +1 when turning the secondary axis forward raises the declination, −1 through the pole.
  double declinationSense(const AxisAngles& axes) const;

 private:
  bool german_;
};

}  // namespace tramox::sim
