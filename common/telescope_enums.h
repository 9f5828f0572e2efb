#pragma once
// The enumerations of the telescope interface, written once: the driver, the rate
// collections, the paddle and the member tables (which check their values against these
// at compile time) all take them from here.
#include <cstdint>

namespace tramox {

enum AlignmentModes : std::int32_t { algAltAz = 0, algPolar = 1, algGermanPolar = 2 };
enum EquatorialCoordinateType : std::int32_t {
  equOther = 0,
  equLocalTopocentric = 1,
  equJ2000 = 2,
  equJ2050 = 3,
  equB1950 = 4
};
enum TelescopeAxes : std::int32_t { axisPrimary = 0, axisSecondary = 1, axisTertiary = 2 };
enum PierSide : std::int32_t { pierEast = 0, pierWest = 1 };
enum GuideDirections : std::int32_t {
  guideNorth = 0,
  guideSouth = 1,
  guideEast = 2,
  guideWest = 3
};
enum DriveRates : std::int32_t { driveSidereal = 0, driveLunar = 1, driveSolar = 2, driveKing = 3 };

}  // namespace tramox
