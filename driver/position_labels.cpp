#include "driver/position_labels.h"

#include <cmath>
#include <cstdio>

namespace tramox::driver {

namespace {

struct Sexagesimal {
  int units = 0;
  int minutes = 0;
  int tensOfSeconds = 0;
};

// Banker's rounding: a tens-of-seconds value of exactly 2.5 shows 2, 3.5 shows 4.
double roundHalfToEven(double x) {
  const double lower = std::floor(x);
  const double diff = x - lower;
  if (diff > 0.5) {
    return lower + 1.0;
  }
  if (diff < 0.5) {
    return lower;
  }
  return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

// For a non-negative magnitude; the seconds carry into the minutes and the minutes into the
// units, the caller decides whether the units wrap.
Sexagesimal split(double magnitude) {
  Sexagesimal s;
  s.units = static_cast<int>(std::trunc(magnitude));
  const double minutesFraction = 60.0 * (magnitude - s.units);
  s.minutes = static_cast<int>(std::trunc(minutesFraction));
  s.tensOfSeconds = static_cast<int>(roundHalfToEven(6.0 * (minutesFraction - s.minutes)));
  if (s.tensOfSeconds == 6) {
    s.tensOfSeconds = 0;
    ++s.minutes;
  }
  if (s.minutes == 60) {
    s.minutes = 0;
    ++s.units;
  }
  return s;
}

// A controller that hands back NaN or an absurd angle must not reach the integer casts
// (undefined behaviour); the label then says the position is unknown.
bool displayable(double value) {
  return std::isfinite(value) && std::fabs(value) < 1e6;
}

}  // namespace

std::string rightAscensionLabel(double raHours) {
  if (!displayable(raHours)) {
    return " --h--m--s";
  }
  Sexagesimal s = split(raHours);
  if (s.units == 24) {
    s.units = 0;
  }
  char text[32];
  std::snprintf(text, sizeof text, " %2.2dh%2.2dm%1.1d0s", s.units, s.minutes, s.tensOfSeconds);
  return text;
}

std::string declinationLabel(double decDegrees) {
  if (!displayable(decDegrees)) {
    return "---\xC2\xB0--'--\"";
  }
  const char* sign = decDegrees >= 0.0 ? "+" : "-";
  const Sexagesimal s = split(std::fabs(decDegrees));
  char text[32];
  std::snprintf(text, sizeof text, "%s%2.2d\xC2\xB0%2.2d'%1.1d0\"", sign, s.units, s.minutes,
                s.tensOfSeconds);
  return text;
}

}  // namespace tramox::driver
