#pragma once
// Mean obliquity of the ecliptic.

namespace tramox::astro {

struct Obliquity {
  double epsilonRad = 0;
  double cosEpsilon = 1;
  double sinEpsilon = 0;
};

// MeanObliquity: mean obliquity of the ecliptic of date.
//   Given: julianDate  Julian date (UT used as TT)
//   Returns: the obliquity, radians, with its cosine and sine
// Notes:
//   1. Within two Julian centuries of J2000.0 (|T| < 2) the IAU 1976 polynomial; otherwise
//      Laskar's long-term polynomial in Julian millennia, valid over +-10000 years.
//   2. The two branches differ by about 0.015" at |T| = 2.
// References: Lieske et al. (1977), Astron. Astrophys. 58, 1;
//   Laskar (1986), Astron. Astrophys. 157, 59.
Obliquity MeanObliquity(double julianDate);

}  // namespace tramox::astro
