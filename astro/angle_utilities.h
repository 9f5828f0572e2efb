#pragma once
// Angle helpers shared by the stages of the coordinate pipeline. Radians unless the name says
// otherwise; pure functions.

#include "astro/directions.h"

namespace tramox::astro {

// ReduceDegrees: an angle in degrees brought into [0, 360].
//   Given: xDeg  angle, degrees (any finite value)
//   Returns: degrees in [0, 360]
// Notes:
//   1. x - 360 trunc(x / 360), then whole turns added or removed; 360 itself may come back.
//   2. A non-finite argument is returned unchanged.
double ReduceDegrees(double xDeg);

// AddRightAscension: right ascension plus an increment, wrapped into [0, 2pi].
//   Given: raRad, deltaRad  radians
//   Returns: radians in [0, 2pi] (2pi itself can come back when the sum lies just below 0)
// Notes: a non-finite sum is returned unchanged.
double AddRightAscension(double raRad, double deltaRad);

// AddDeclination: declination plus an increment, reflected at the poles.
//   Given: decRad, deltaRad  radians
//   Returns: radians; a sum past +pi/2 becomes pi - s, past -pi/2 becomes -pi - s
// Notes: only the declination is reflected; the caller's right ascension is left as it is.
double AddDeclination(double decRad, double deltaRad);

// FullCircleArcTan: the angle of the point (x, y), covering the whole circle.
//   Given: y, x  any reals (argument order as atan2)
//   Returns: radians; 0 at the origin, pi/2 and 3pi/2 on the y axis, 0 and -pi on the x axis,
//            atan(y/x) for x > 0, atan(y/x) + pi for x < 0
// Notes: any representative modulo 2pi is returned; every caller reduces the result.
double FullCircleArcTan(double y, double x);

// ArcSinClamped: arcsin with its argument first clamped to [-1, 1].
//   Given: s  sine, nominally in [-1, 1]
//   Returns: radians in [-pi/2, pi/2]
// Notes: rounding in a rotation or a spherical-triangle formula can leave a sine one unit in
//   the last place beyond +-1 (the zenith, a pole); the plain arcsin then gives NaN.
double ArcSinClamped(double s);

// ArcCosClamped: arccos with its argument first clamped to [-1, 1]; radians in [0, pi].
double ArcCosClamped(double c);

// ShiftPlace: adds (Apply) or takes away (Remove) a small correction to a place.
//   Given: direction; dRaRad, dDecRad  the correction, radians
//   Given and returned: raRad, decRad  the place, radians; right ascension wrapped into
//            [0, 2pi], declination reflected at the poles (AddRightAscension, AddDeclination)
void ShiftPlace(Direction direction, double& raRad, double& decRad, double dRaRad, double dDecRad);

}  // namespace tramox::astro
