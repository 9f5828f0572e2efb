#pragma once
// Angle conversions shared by the driver, the simulator and the astronomy code. The interface
// speaks hours and degrees; the controller library, the settings key and the pipeline speak
// radians.

namespace tramox::units {

// The extended-precision value the driver has always used; rounds to M_PI as a double.
inline constexpr double kPi = 3.1415926535897932385;
inline constexpr double kTwoPi = 2.0 * kPi;
// Sidereal rate handed to the controller with every slew, radians per second (2π / 86400).
inline constexpr double kSiderealRateRadPerSec = 7.27220521664304e-05;

constexpr double hoursToRadians(double hours) {
  return hours * kPi / 12.0;
}
constexpr double radiansToHours(double radians) {
  return radians / kPi * 12.0;
}
constexpr double degreesToRadians(double degrees) {
  return degrees * kPi / 180.0;
}
constexpr double radiansToDegrees(double radians) {
  return radians / kPi * 180.0;
}

// The driver's own members convert in the opposite orders: to radians dividing first
// (x / 12 * pi), from radians multiplying first (r * 12 / pi). The two orders differ in the
// last bit, and what the driver hands to the controller, logs and stores must stay
// bit-identical to what it always has, so each order keeps its own name. unitsPerHalfTurn is
// 12 for hours, 180 for degrees and -180 for a longitude that changes its sign.
constexpr double toRadiansDividingFirst(double value, double unitsPerHalfTurn) {
  return value / unitsPerHalfTurn * kPi;
}
constexpr double fromRadiansMultiplyingFirst(double radians, double unitsPerHalfTurn) {
  return radians * unitsPerHalfTurn / kPi;
}

}  // namespace tramox::units
