#include "lx200/sexagesimal.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tramox::lx200 {

namespace {

bool isSeparator(char c) {
  return c == ':' || c == '*' || c == '\'' || c == ' ' || c == '\xDF';
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Unsigned digits with an optional fraction; consumes what it reads.
std::optional<double> takeNumber(std::string_view& text, bool fraction) {
  std::size_t end = 0;
  while (end < text.size() && isDigit(text[end])) {
    ++end;
  }
  if (end == 0) {
    return std::nullopt;
  }
  if (fraction && end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && isDigit(text[end])) {
      ++end;
    }
  }
  double value = 0.0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value);
  if (error != std::errc() || stop != text.data() + end) {
    return std::nullopt;
  }
  text.remove_prefix(end);
  return value;
}

void skipBlanks(std::string_view& text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
}

// -1 or 1 from an optional sign.
double takeSign(std::string_view& text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    const double sign = text.front() == '-' ? -1.0 : 1.0;
    text.remove_prefix(1);
    return sign;
  }
  return 1.0;
}

struct Fields {
  bool negative;
  long whole;
  long minutes;
  long seconds;
};

// value in units of 1/perUnit (whole seconds, or tenths of a minute), split into fields.
Fields split(double value, double steps, double stepsPerMinute) {
  const long total = std::lround(std::fabs(value) * steps);
  const long perWhole = static_cast<long>(steps);
  const long perMinute = static_cast<long>(stepsPerMinute);
  return {value < 0 && total != 0, total / perWhole, (total % perWhole) / perMinute,
          total % perMinute};
}

std::string print(const char* format, long a, long b, long c = 0) {
  char text[32];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::string signedAngle(double degrees, Precision precision, const char* high, const char* low) {
  const Fields f =
      precision == Precision::High ? split(degrees, 3600.0, 60.0) : split(degrees, 60.0, 1.0);
  const std::string sign = f.negative ? "-" : "+";
  return sign + (precision == Precision::High ? print(high, f.whole, f.minutes, f.seconds)
                                              : print(low, f.whole, f.minutes));
}

}  // namespace

std::optional<double> parseSexagesimal(std::string_view text) {
  skipBlanks(text);
  const double sign = takeSign(text);
  std::optional<double> value = takeNumber(text, false);
  if (!value) {
    return std::nullopt;
  }
  double minutes = 0.0;
  double seconds = 0.0;
  if (!text.empty() && isSeparator(text.front())) {
    text.remove_prefix(1);
    const std::optional<double> m = takeNumber(text, true);
    if (!m || *m >= 60.0) {
      return std::nullopt;
    }
    minutes = *m;
    if (!text.empty() && isSeparator(text.front()) && std::floor(minutes) == minutes) {
      text.remove_prefix(1);
      const std::optional<double> s = takeNumber(text, true);
      if (!s || *s >= 60.0) {
        return std::nullopt;
      }
      seconds = *s;
    }
  }
  if (!text.empty()) {
    return std::nullopt;
  }
  return sign * (*value + minutes / 60.0 + seconds / 3600.0);
}

std::optional<double> parseDecimal(std::string_view text) {
  const double sign = takeSign(text);
  const std::optional<double> value = takeNumber(text, true);
  if (!value || !text.empty()) {
    return std::nullopt;
  }
  return sign * *value;
}

std::string formatRightAscension(double hours, Precision precision) {
  const double wrapped = std::fmod(std::fmod(hours, 24.0) + 24.0, 24.0);
  if (precision == Precision::High) {
    Fields f = split(wrapped, 3600.0, 60.0);
    return print("%02ld:%02ld:%02ld", f.whole % 24, f.minutes, f.seconds);
  }
  Fields f = split(wrapped, 600.0, 10.0);
  return print("%02ld:%02ld.%01ld", f.whole % 24, f.minutes, f.seconds);
}

std::string formatDeclination(double degrees, Precision precision) {
  return signedAngle(degrees, precision, "%02ld*%02ld:%02ld", "%02ld*%02ld");
}

std::string formatAltitude(double degrees, Precision precision) {
  return formatDeclination(degrees, precision);
}

std::string formatAzimuth(double degrees, Precision precision) {
  const double wrapped = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
  const Fields f =
      precision == Precision::High ? split(wrapped, 3600.0, 60.0) : split(wrapped, 60.0, 1.0);
  return precision == Precision::High
             ? print("%03ld*%02ld:%02ld", f.whole % 360, f.minutes, f.seconds)
             : print("%03ld*%02ld", f.whole % 360, f.minutes);
}

std::string formatLatitude(double degrees) {
  return signedAngle(degrees, Precision::Low, "", "%02ld*%02ld");
}

std::string formatLongitude(double westDegrees) {
  return signedAngle(westDegrees, Precision::Low, "", "%03ld*%02ld");
}

std::string formatUtcOffset(double hours) {
  char text[16];
  std::snprintf(text, sizeof text, "%+05.1f", hours == 0.0 ? 0.0 : hours);
  return text;
}

double lx200LongitudeFromEast(double eastDegrees) {
  return eastDegrees == 0.0 ? 0.0 : -eastDegrees;
}

double eastLongitudeFromLx200(double westDegrees) {
  double east = -std::fmod(westDegrees, 360.0);
  if (east <= -180.0) {
    east += 360.0;
  } else if (east > 180.0) {
    east -= 360.0;
  }
  return east == 0.0 ? 0.0 : east;
}

}  // namespace tramox::lx200
