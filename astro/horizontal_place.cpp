#include "astro/horizontal_place.h"

#include <cmath>

#include "astro/angle_utilities.h"

namespace tramox::astro {

HorizontalPlace HorizontalPlaceOf(double raRad, double decRad, double lstRad, double latRad) {
  const double hourAngle = lstRad - raRad;
  const double sinPhi = std::sin(latRad);
  const double cosPhi = std::cos(latRad);
  const double sinDec = std::sin(decRad);
  const double cosDec = std::cos(decRad);
  const double cosH = std::cos(hourAngle);
  return {FullCircleArcTan(-cosDec * std::sin(hourAngle), sinDec * cosPhi - cosDec * cosH * sinPhi),
          ArcSinClamped(sinDec * sinPhi + cosDec * cosH * cosPhi)};
}

}  // namespace tramox::astro
