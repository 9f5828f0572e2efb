#pragma once
// The LX200 forms of angles and times. Right ascension "HH:MM:SS" (high precision) or
// "HH:MM.T" (low); declination "sDD*MM:SS" or "sDD*MM"; the site "sDD*MM" and "sDDD*MM". Read
// leniently: clients separate the fields with ':', '*', '\'', a degree sign or a space, and
// may send degrees and minutes only, or minutes with a decimal fraction.
#include <optional>
#include <string>
#include <string_view>

namespace tramox::lx200 {

enum class Precision { Low, High };

// Signed degrees (or hours) from "[s]D[sep M[.m][sep S[.s]]]" with minutes and seconds below
// 60; nullopt for anything else. Leading blanks are skipped.
std::optional<double> parseSexagesimal(std::string_view text);
// A plain signed decimal number ("-2.0", "+05", "060.2"); nullopt for anything else.
std::optional<double> parseDecimal(std::string_view text);

std::string formatRightAscension(double hours, Precision precision);
std::string formatDeclination(double degrees, Precision precision);
// Altitude as the declination; azimuth "DDD*MM:SS" or "DDD*MM", 0 to 360.
std::string formatAltitude(double degrees, Precision precision);
std::string formatAzimuth(double degrees, Precision precision);
std::string formatLatitude(double degrees);
// The LX200 longitude (west positive), "sDDD*MM".
std::string formatLongitude(double westDegrees);
// Hours to add to local time for UTC, "sHH.H".
std::string formatUtcOffset(double hours);

// The LX200 counts longitude positive west (0 to 360, or signed); the driver east, -180 to 180.
double lx200LongitudeFromEast(double eastDegrees);
double eastLongitudeFromLx200(double westDegrees);

}  // namespace tramox::lx200
