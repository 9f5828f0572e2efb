#pragma once
// The ranges a right ascension and a declination must lie in; bounds inclusive, and a value
// that is not a number lies in neither.

namespace tramox::driver {

constexpr bool raInRange(double raHours) {
  return raHours >= 0.0 && raHours <= 24.0;
}
constexpr bool decInRange(double decDegrees) {
  return decDegrees >= -90.0 && decDegrees <= 90.0;
}

}  // namespace tramox::driver
