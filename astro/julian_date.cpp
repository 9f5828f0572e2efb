#include <cmath>

#include "astro/time_scales.h"

namespace tramox::astro {

namespace {
constexpr double kMillisecondsPerDay = 86400000.0;
// Julian date of automation date 0 (1899-12-30 00:00).
constexpr double kJulianDateOfDayZero = 2415018.5;
}  // namespace

double JulianDateOf(double automationDate) {
  double wholeDays = std::trunc(automationDate);
  // The clock time of the day, rounded to the millisecond as a calendar split would give it.
  double milliseconds = std::round(std::fabs(automationDate - wholeDays) * kMillisecondsPerDay);
  if (milliseconds >= kMillisecondsPerDay) {
    milliseconds -= kMillisecondsPerDay;
    wholeDays += 1.0;
  }
  return (wholeDays + kJulianDateOfDayZero) + milliseconds / kMillisecondsPerDay;
}

}  // namespace tramox::astro
