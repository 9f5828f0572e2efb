#pragma once
// The hand paddle's position texts: hours or degrees broken into two-digit units, two-digit
// minutes and a tens-of-seconds digit, rounded half to even with the carries upwards.
#include <string>

namespace tramox::driver {

// " 05h07m30s" for 5 h 7 m 30 s; 23 h 59 m 57 s carries round to " 00h00m00s".
std::string rightAscensionLabel(double raHours);
// "+45°30'20\"" for 45° 30' 20"; no wrap of the degrees (UTF-8 degree sign).
std::string declinationLabel(double decDegrees);

}  // namespace tramox::driver
