#pragma once
// The coordinate pipeline: the controller's observed place of date to the mean place of J2000.0.
namespace tramox::astro {

struct SiteParameters {
  double latitudeRad = 0;       // geodetic
  double westLongitudeRad = 0;  // positive west
  double elevationM = 0;
};

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

class TRADECtranfos {
 public:
  TRADECtranfos(const SiteParameters& site, const AtmosphereParameters& atmosphere);
  // Right ascension in [0, 2*pi], declination in [-pi/2, pi/2].
  RaDec ObservedToMeanJ2000(double utDate, double raRad, double decRad) const;
  // The stages and the remaining fields are declared by the astronomy code itself.
};

}  // namespace tramox::astro
