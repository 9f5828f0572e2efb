#pragma once
// The ranges of the site and park values, shared by the members that take them from a client
// and by connect and Park, which take them from the settings key (edited by hand, perhaps).
#include <limits>
#include <string>

namespace tramox::driver {

struct ValueRange {
  double low;  // bounds inclusive
  double high;
  const char* message;
};

inline constexpr ValueRange kElevationRange{-300.0, 10000.0,
                                            "Elevation must be in the range [-300m,10000m]"};
inline constexpr ValueRange kLatitudeRange{-90.0, 90.0, "Latitude must be in the range [-90°,90°]"};
inline constexpr ValueRange kLongitudeRange{-180.0, 180.0,
                                            "Longitude must be in the range [-180°,180°]"};
// SetPark stores sidereal time minus right ascension, unreduced.
inline constexpr ValueRange kParkHourAngleRange{-24.0, 24.0,
                                                "Park hour angle must be in the range [-24h,24h]"};
inline constexpr ValueRange kParkDeclinationRange{
    -90.0, 90.0, "Park declination must be in the range [-90°,90°]"};
// A multiple of the sidereal rate, above 0: the smallest positive double is the bound.
inline constexpr ValueRange kGuideRateRange{
    std::numeric_limits<double>::denorm_min(), 2.0,
    "Guide rate must be in the range ]0,2] (a multiple of the sidereal rate)"};

// DriverError 0x80040405 with the range's message when value is outside it or not a number.
void requireInRange(double value, const ValueRange& range);
// The same for a value converted from the settings key's `stored` value `name`; the message
// names what is stored: Stored "Latitude"=1e+300: Latitude must be in the range [-90°,90°].
void requireStoredInRange(const std::string& name, double stored, double value,
                          const ValueRange& range);

}  // namespace tramox::driver
