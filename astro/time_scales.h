#pragma once
// Time arguments of the driver: automation dates (days since 1899-12-30 00:00, fraction =
// time of day), Julian dates, mean local sidereal time. Pure functions of their arguments.
// Universal Time is used wherever a theory asks for TT or TDB: no leap seconds, no delta T.
namespace tramox::astro {

// JulianDateOf: Julian date of an automation date.
//   Given: automationDate  days since 1899-12-30 00:00, UT
//   Returns: Julian date (UT; used as TT/TDB by the pipeline, no delta T)
// Notes:
//   1. The time of day is taken to the millisecond, as the date is split into calendar date
//      and clock time; the result is the automation date + 2415018.5 to that resolution.
//   2. Negative automation dates count their fraction forwards from the (earlier) whole day,
//      as automation dates do: -1.25 is 1899-12-29 06:00.
double JulianDateOf(double automationDate);

// LocalSiderealTime: mean local sidereal time.
//   Given: westLongitudeRad  site longitude, radians, positive west
//          utDate            UT as an automation date
//   Returns: radians in [0, 2pi)
// Notes:
//   1. Newcomb's series from 1900 January 0.5, in seconds of time, with 10 s subtracted: the
//      result runs about 10 s of time behind the IAU 1982 GMST (10.0775 s at J2000.0). Kept
//      on purpose: it is the sidereal time this driver has always reported.
//   2. Mean sidereal time: no equation of the equinoxes.
// Reference: Explanatory Supplement to the Astronomical Ephemeris (1961), sidereal time.
double LocalSiderealTime(double westLongitudeRad, double utDate);

}  // namespace tramox::astro
