#pragma once
// Precession between the mean equator and equinox of date and those of J2000.0.
#include "astro/directions.h"

namespace tramox::astro {

// Precess: refer a mean place to another equinox.
//   Given: direction   ToJ2000 (date -> J2000.0) or FromJ2000 (J2000.0 -> date)
//          julianDate  Julian date of the equinox of date (UT used as TT)
//   Given and returned:
//          raRad, decRad  right ascension and declination, radians; right ascension returned
//                         in [0, 2pi], declination in [-pi/2, pi/2]
// Notes:
//   1. At JD 2451545.0 exactly the place is left untouched.
//   2. Within two Julian centuries (|T| <= 2) the IAU 1976 angles zeta, z, theta (Lieske et
//      al. 1977): FromJ2000 applies P = R3(-z) R2(theta) R3(-zeta), ToJ2000 its transpose.
//   3. Beyond, the place goes through the ecliptic: mean obliquity, general precession in
//      longitude, and the node and inclination of the moving ecliptic on the J2000 ecliptic
//      as long-term polynomials in Julian millennia; FromJ2000 is the exact inverse of
//      ToJ2000.
//   4. The right ascension is recovered as arccos(x / cos dec) with the sign of y. The
//      quotient is clamped to [-1, 1] (rounding pushes it past -1 near 12 h), so the result is
//      continuous; only a place exactly at a pole (cos dec = 0) gets right ascension 0. The
//      arccos loses precision within about 1e-8 rad of 0 and pi.
// References: Lieske et al. (1977), Astron. Astrophys. 58, 1; Laskar (1986), Astron.
//   Astrophys. 157, 59.
void Precess(PrecessionDirection direction, double& raRad, double& decRad, double julianDate);

}  // namespace tramox::astro
