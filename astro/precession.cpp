#include "astro/precession.h"

#include <cmath>
#include <span>

#include "astro/angle_utilities.h"
#include "astro/julian_centuries.h"
#include "astro/obliquity.h"

namespace tramox::astro {

namespace {

struct Vector3 {
  double x, y, z;
};

// Coefficients of a polynomial, highest power first, evaluated by Horner's rule.
double Horner(std::span<const double> coefficients, double t) {
  double p = 0.0;
  for (double c : coefficients) {
    p = p * t + c;
  }
  return p;
}

// General precession in longitude divided by t, arcseconds (t in Julian millennia).
constexpr double kPrecessionInLongitude[] = {-8.66e-10,  -4.759e-8, 2.424e-7, 1.3095e-5, 1.7451e-4,
                                             -1.8055e-3, -0.235316, 0.07732,  111.1971,  50290.966};
// Node of the moving ecliptic on the J2000 ecliptic, radians.
constexpr double kEclipticNode[] = {
    6.6402e-16,      -2.69151e-15,  -1.547021e-12,   7.521313e-12,    6.3190131e-10, -3.48388152e-9,
    -1.813065896e-7, 2.75036225e-8, 7.4394531426e-5, -0.042078604317, 3.052112654975};
// Inclination of the moving ecliptic on the J2000 ecliptic, radians.
constexpr double kEclipticInclination[] = {1.2147e-16,
                                           7.3759e-17,
                                           -8.26287e-14,
                                           2.50341e-13,
                                           2.4650839e-11,
                                           -5.4000441e-11,
                                           1.32115526e-9,
                                           -5.998737027e-7,
                                           -1.6242797091e-5,
                                           0.002278495537,
                                           0.0};

// Rotation of the frame about its third axis by angle a.
void RotateAboutThirdAxis(double a, double& x, double& y) {
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double xr = c * x + s * y;
  y = -s * x + c * y;
  x = xr;
}

Vector3 PrecessIau1976(PrecessionDirection direction, const Vector3& v, double t) {
  const double zeta = t * (2306.2181 + t * (0.30188 + 0.017998 * t)) * kArcsecondsToRadians;
  const double z = t * (2306.2181 + t * (1.09468 + 0.018203 * t)) * kArcsecondsToRadians;
  const double theta = t * (2004.3109 + t * (-0.42665 - 0.041833 * t)) * kArcsecondsToRadians;
  const double cZeta = std::cos(zeta), sZeta = std::sin(zeta);
  const double cZ = std::cos(z), sZ = std::sin(z);
  const double cTheta = std::cos(theta), sTheta = std::sin(theta);
  const double a = cZeta * cTheta;
  const double b = sZeta * cTheta;
  // P = R3(-z) R2(theta) R3(-zeta), row by row.
  const double p[3][3] = {
      {a * cZ - sZeta * sZ, -b * cZ - cZeta * sZ, -sTheta * cZ},
      {a * sZ + sZeta * cZ, -b * sZ + cZeta * cZ, -sTheta * sZ},
      {cZeta * sTheta, -sZeta * sTheta, cTheta},
  };
  if (direction == PrecessionDirection::FromJ2000) {
    return {p[0][0] * v.x + p[0][1] * v.y + p[0][2] * v.z,
            p[1][0] * v.x + p[1][1] * v.y + p[1][2] * v.z,
            p[2][0] * v.x + p[2][1] * v.y + p[2][2] * v.z};
  }
  return {p[0][0] * v.x + p[1][0] * v.y + p[2][0] * v.z,
          p[0][1] * v.x + p[1][1] * v.y + p[2][1] * v.z,
          p[0][2] * v.x + p[1][2] * v.y + p[2][2] * v.z};
}

Vector3 PrecessThroughEcliptic(PrecessionDirection direction, const Vector3& v, double julianDate,
                               double t) {
  const bool toJ2000 = direction == PrecessionDirection::ToJ2000;
  const double millennia = t / 10.0;

  const Obliquity from = MeanObliquity(toJ2000 ? julianDate : kJulianDateJ2000);
  double x = v.x;
  double y = from.cosEpsilon * v.y + from.sinEpsilon * v.z;
  double w = -from.sinEpsilon * v.y + from.cosEpsilon * v.z;

  const double pA = millennia * Horner(kPrecessionInLongitude, millennia) * kArcsecondsToRadians;
  const double node = Horner(kEclipticNode, millennia);
  RotateAboutThirdAxis(toJ2000 ? node + pA : node, x, y);

  double inclination = Horner(kEclipticInclination, millennia);
  if (toJ2000) {
    inclination = -inclination;
  }
  const double ci = std::cos(inclination), si = std::sin(inclination);
  const double yr = ci * y + si * w;
  w = -si * y + ci * w;
  y = yr;

  RotateAboutThirdAxis(toJ2000 ? -node : -node - pA, x, y);

  const Obliquity to = MeanObliquity(toJ2000 ? kJulianDateJ2000 : julianDate);
  return {x, to.cosEpsilon * y - to.sinEpsilon * w, to.sinEpsilon * y + to.cosEpsilon * w};
}

}  // namespace

void Precess(PrecessionDirection direction, double& raRad, double& decRad, double julianDate) {
  if (julianDate == kJulianDateJ2000) {
    return;
  }
  const double t = JulianCenturiesSinceJ2000(julianDate);
  const double cosDec = std::cos(decRad);
  const Vector3 v{cosDec * std::cos(raRad), cosDec * std::sin(raRad), std::sin(decRad)};
  const Vector3 p = std::fabs(t) <= 2.0 ? PrecessIau1976(direction, v, t)
                                        : PrecessThroughEcliptic(direction, v, julianDate, t);

  decRad = ArcSinClamped(p.z);
  const double cosDecOut = std::cos(decRad);
  double ra = 0.0;
  if (cosDecOut != 0.0) {
    ra = ArcCosClamped(p.x / cosDecOut);
    if (p.y / cosDecOut < 0.0) {
      ra = -ra;
    }
  }
  raRad = AddRightAscension(ra, 0.0);
}

}  // namespace tramox::astro
