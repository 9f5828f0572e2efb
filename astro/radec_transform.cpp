#include "astro/radec_transform.h"

#include "astro/geocentric_site.h"
#include "astro/nutation.h"
#include "astro/precession.h"
#include "astro/refraction.h"
#include "astro/time_scales.h"

namespace tramox::astro {

namespace {
// The driver has always converted Celsius with 273.1 here (the integral itself uses 273.155).
constexpr double kCelsiusToKelvin = 273.1;
constexpr double kLapseRateKPerM = 0.0065;
constexpr double kRefractionPrecisionRad = 1e-8;
}  // namespace

TRADECtranfos::TRADECtranfos(const SiteParameters& site, const AtmosphereParameters& atmosphere)
    : LatitudeRad(site.latitudeRad),
      WestLongitude(site.westLongitudeRad),
      ElevationM(site.elevationM),
      TemperatureC(atmosphere.temperatureC),
      PressureHpa(atmosphere.pressureHpa),
      RelativeHumidity(atmosphere.relativeHumidity),
      WavelengthUm(atmosphere.wavelengthUm),
      GeocentricRadius(1.0),
      GeocentricLatitude(0.0),
      LapseRate(kLapseRateKPerM),
      RefractionA(0.0),
      RefractionB(0.0),
      DoPrecession(true),
      DoNutation(true),
      DoRefraction(true),
      DoDiurnalAberration(true) {
  const GeocentricPosition geocentric = GeocentricSite(LatitudeRad, ElevationM);
  GeocentricRadius = geocentric.radius;
  GeocentricLatitude = geocentric.latitudeRad;
  const RefractionCoefficients ab = RefractionConstants(
      ElevationM, TemperatureC + kCelsiusToKelvin, PressureHpa, RelativeHumidity, WavelengthUm,
      GeocentricLatitude, LapseRate, kRefractionPrecisionRad);
  RefractionA = ab.aRad;
  RefractionB = ab.bRad;
}

double TRADECtranfos::Integral(double zenithDistanceRad) const {
  return RefractionIntegral(zenithDistanceRad, ElevationM, TemperatureC + kCelsiusToKelvin,
                            PressureHpa, RelativeHumidity, WavelengthUm, GeocentricLatitude,
                            LapseRate, kRefractionPrecisionRad);
}

RaDec TRADECtranfos::ObservedToMeanJ2000(double utDate, double raRad, double decRad) const {
  const double jd = JulianDateOf(utDate);
  // Used only through sines, cosines and reduced sums, so its range does not matter.
  const double lst = LocalSiderealTime(WestLongitude, utDate);
  RaDec place{raRad, decRad};
  if (DoRefraction) {
    place = RemoveRefraction(place.raRad, place.decRad, lst);
  }
  if (DoDiurnalAberration) {
    DiurnalAberration(Direction::Remove, place.raRad, place.decRad, lst);
  }
  if (DoNutation) {
    const NutationAnglesRad nutation = NutationAngles(jd);
    ApplyNutation(Direction::Remove, place.raRad, place.decRad, nutation.dPsiRad, nutation.dEpsRad);
  }
  if (DoPrecession) {
    Precess(PrecessionDirection::ToJ2000, place.raRad, place.decRad, jd);
  }
  return place;
}

}  // namespace tramox::astro
