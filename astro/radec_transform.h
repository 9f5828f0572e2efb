#pragma once
// The coordinate pipeline: the controller's observed place of date to the mean place of J2000.0.
#include "astro/directions.h"

namespace tramox::astro {

struct SiteParameters {
  double latitudeRad = 0;       // geodetic
  double westLongitudeRad = 0;  // positive west
  double elevationM = 0;
};

// The driver connects with these values: a fixed standard atmosphere in visible light.
struct AtmosphereParameters {
  double temperatureC = 15.0;
  double pressureHpa = 1013.25;
  double relativeHumidity = 0.6;  // 0..1
  double wavelengthUm = 0.55;
};

struct RaDec {
  double raRad = 0;
  double decRad = 0;
};

// TRADECtranfos: observed right ascension and declination of date (as the mount points,
// through the atmosphere, from the site) to the mean place of J2000.0. Four stages, each
// undoing one effect, in this order: refraction, diurnal aberration, nutation, precession.
// No annual aberration, light deflection, parallax or proper motion. Read-only after
// construction. Angles radians; times as UT automation dates; longitude positive west.
class TRADECtranfos {
 public:
  // Precomputes the geocentric site and the refraction constants (two refraction integrals).
  TRADECtranfos(const SiteParameters& site, const AtmosphereParameters& atmosphere);

  // ObservedToMeanJ2000: the whole pipeline.
  //   Given: utDate  UT as an automation date (JD and sidereal time are derived from it)
  //          raRad, decRad  observed place of date, radians
  //   Returns: mean place of J2000.0, right ascension in [0, 2pi], declination in
  //            [-pi/2, pi/2]
  RaDec ObservedToMeanJ2000(double utDate, double raRad, double decRad) const;

  // RemoveRefraction: observed place to the place above the atmosphere.
  //   Given: raRad, decRad  observed place, radians; lstRad local sidereal time, radians
  //   Returns: unrefracted place, radians
  // Notes:
  //   1. Through the horizon system at the geodetic latitude; a place on or below the
  //      horizon (observed altitude <= 0) comes back unchanged.
  //   2. Arcsine arguments are clamped, so the zenith and the poles give finite results.
  RaDec RemoveRefraction(double raRad, double decRad, double lstRad) const;

  // RefractionAt: refraction at an observed altitude.
  //   Given: altitudeRad  observed altitude, radians
  //   Returns: observed minus unrefracted altitude, radians
  // Notes: A tan z + B tan^3 z down to altitude 14.04 deg (tan z = 4), the full integral
  //   below; the two agree at the switch, so the result has no step there.
  double RefractionAt(double altitudeRad) const;

  // DiurnalAberration: aberration due to the observer's motion with the Earth's rotation.
  //   Given: direction  Apply or Remove; lstRad local sidereal time, radians
  //   Given and returned: raRad [0, 2pi], decRad, radians
  // Notes: first order, k = 1.5472e-6 rad x geocentric radius x cos geocentric latitude;
  //   the right-ascension term is 0 where cos dec is exactly 0.
  void DiurnalAberration(Direction direction, double& raRad, double& decRad, double lstRad) const;

  // Site, radians (longitude positive west) and metres.
  double LatitudeRad;
  double WestLongitude;
  double ElevationM;
  // Atmosphere at the observer.
  double TemperatureC;
  double PressureHpa;
  double RelativeHumidity;  // 0 .. 1
  double WavelengthUm;
  // Geocentric site: distance in equatorial radii, latitude in radians.
  double GeocentricRadius;
  double GeocentricLatitude;
  double LapseRate;  // kelvin per metre
  // Coefficients of tan z and tan^3 z in the refraction model, radians.
  double RefractionA;
  double RefractionB;
  // Stage switches; all on after construction, and the driver never changes them.
  bool DoPrecession;
  bool DoNutation;
  bool DoRefraction;
  bool DoDiurnalAberration;

 private:
  double Integral(double zenithDistanceRad) const;
};

}  // namespace tramox::astro
