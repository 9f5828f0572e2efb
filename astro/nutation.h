#pragma once
// Nutation: the IAU 1980 angles and their first-order effect on a place.
#include <span>

#include "astro/directions.h"

namespace tramox::astro {

struct NutationAnglesRad {
  double dPsiRad = 0;  // nutation in longitude
  double dEpsRad = 0;  // nutation in obliquity
};

// SinCosMultiples: sines and cosines of the first n multiples of an angle.
//   Given: n     highest multiple (n >= 1)
//          xRad  angle, radians
//   Returned: sinKx[k - 1] = sin(k x), cosKx[k - 1] = cos(k x) for k = 1 .. n
// Notes:
//   1. One sine and one cosine; the double angle, then the addition formulas.
//   2. Both spans must hold at least n values; nothing is written beyond n.
void SinCosMultiples(int n, double xRad, std::span<double> sinKx, std::span<double> cosKx);

// NutationAngles: nutation in longitude and obliquity, IAU 1980 theory.
//   Given: julianDate  Julian date (UT used as TT)
//   Returns: delta psi and delta epsilon, radians
// Notes:
//   1. Fundamental arguments as polynomials in degrees (Moon's and Sun's mean anomalies, the
//      Moon's argument of latitude, the mean elongation, the node), reduced to one turn.
//   2. The 106 terms: the leading Omega term, then the 105 rows of kNutationTerms; the sine
//      and cosine of each argument are combined from multiple-angle tables, not evaluated.
// Reference: Seidelmann (1982), Celest. Mech. 27, 79 (IAU 1980 theory of nutation).
NutationAnglesRad NutationAngles(double julianDate);

// ApplyNutation: first-order nutation correction of a place.
//   Given: direction     Apply (mean -> true) or Remove (true -> mean)
//          dPsiRad, dEpsRad  nutation angles, radians
//   Given and returned:
//          raRad, decRad  right ascension [0, 2pi] and declination, radians
// Notes:
//   1. Uses a fixed obliquity of 23.45 degrees, not the obliquity of date; the error is far
//      below the driver's display resolution.
//   2. The right-ascension term grows as tan(dec): no limit is applied near the poles, and
//      a declination pushed past a pole is reflected by AddDeclination.
// Reference: Meeus, Astronomical Algorithms, first-order nutation in right ascension and
//   declination.
void ApplyNutation(Direction direction, double& raRad, double& decRad, double dPsiRad,
                   double dEpsRad);

}  // namespace tramox::astro
