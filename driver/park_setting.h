#pragma once
// Where SetPark keeps the park position: two settings values, in radians.
namespace tramox::driver {

inline constexpr const char* kParkHourAngleValue = "Park_AH";
inline constexpr const char* kParkDeclinationValue = "Park_Dec";

}  // namespace tramox::driver
