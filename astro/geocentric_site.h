#pragma once
// The observer's place relative to the Earth's centre.

namespace tramox::astro {

struct GeocentricPosition {
  double radius = 1;       // distance from the Earth's centre, equatorial radii
  double latitudeRad = 0;  // geocentric latitude
};

// GeocentricSite: geocentric latitude and distance of a site on the reference ellipsoid.
//   Given: geodeticLatitudeRad  geodetic latitude, radians
//          elevationM           height above sea level, metres
//   Returns: geocentric radius in units of the equatorial radius, geocentric latitude in
//            radians
// Notes:
//   1. Series in the geodetic latitude (coefficients in degrees for the latitude); the
//      height term is elevation / 6378160, the equatorial radius of the IAU 1964 ellipsoid,
//      and it is not projected on the radius: enough for diurnal aberration.
// Reference: Astronomical Almanac, section K (geocentric coordinates of an observer).
GeocentricPosition GeocentricSite(double geodeticLatitudeRad, double elevationM);

}  // namespace tramox::astro
