#pragma once
// Where a place of date stands on the site's sky. One implementation for the refraction stage
// and for the driver's Altitude and Azimuth, so the two can never disagree.

namespace tramox::astro {

struct HorizontalPlace {
  double azimuthRad;   // north 0, east pi/2; any representative modulo 2pi
  double altitudeRad;  // observed, [-pi/2, pi/2]
};

// HorizontalPlaceOf: azimuth and altitude of a place at the site.
//   Given: raRad, decRad  the place of date; lstRad  local sidereal time; latRad  latitude
//   Returns: the hour angle lst - ra turned into azimuth and altitude (no refraction)
HorizontalPlace HorizontalPlaceOf(double raRad, double decRad, double lstRad, double latRad);

}  // namespace tramox::astro
