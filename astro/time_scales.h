#pragma once
// Time arguments of the driver: automation dates (days since 1899-12-30 00:00, fraction =
// time of day), Julian dates, mean local sidereal time. Pure functions of their arguments.
#include "platform/clock.h"

namespace tramox::astro {

// UTC bias for UTCDate: an automation-date interval, to the minute. UTC = local - bias.
// A failed zone query (any result other than 0, 1, 2) gives 0.
double CurrentUtBias(const platform::TimeZoneInfo& zone);

// Julian date of an automation date (UT; no delta T).
double JulianDateOf(double automationDate);

// Mean local sidereal time, radians in [0, 2*pi), for a west-positive longitude in radians
// and a UT automation date. Deliberately 10 s of time behind the textbook formula.
double LocalSiderealTime(double westLongitudeRad, double utDate);

}  // namespace tramox::astro
