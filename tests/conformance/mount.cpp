#include "tests/conformance/mount.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

namespace tramox::conformance {

namespace {

Answer parse(const alpaca::testing::HttpReply& reply) {
  Answer answer;
  answer.status = reply.status;
  if (reply.status != 200) {
    answer.message = reply.body;
    return answer;
  }
  try {
    const nlohmann::json body = reply.json();
    answer.error = body.value("ErrorNumber", 0);
    answer.message = body.value("ErrorMessage", std::string());
    if (body.contains("Value")) {
      answer.value = body["Value"];
    }
  } catch (const std::exception& e) {
    answer.status = 0;
    answer.message = std::string("unreadable answer: ") + e.what();
  }
  return answer;
}

std::string sexagesimal(double value, const char* format) {
  const char sign = value < 0 ? '-' : '+';
  double rest = std::fabs(value);
  const int whole = static_cast<int>(rest);
  rest = (rest - whole) * 60;
  const int minutes = static_cast<int>(rest);
  const double seconds = (rest - minutes) * 60;
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, format, sign, whole, minutes, seconds);
  return buffer;
}

}  // namespace

std::string Answer::failure() const {
  char number[16];
  if (status != 200) {
    return "HTTP " + std::to_string(status) + " " + message;
  }
  std::snprintf(number, sizeof number, "0x%X", static_cast<unsigned>(error));
  return std::string(number) + " " + message;
}

Answer Mount::get(const std::string& member, const std::string& query) const {
  return parse(
      server_.get(alpaca::testing::devicePath(member) + (query.empty() ? "" : "?" + query)));
}

Answer Mount::put(const std::string& member, const std::string& form) const {
  return parse(server_.put(alpaca::testing::devicePath(member), form));
}

nlohmann::json Mount::read(const std::string& test, const std::string& member, Required required) {
  const Answer answer = get(member);
  if (answer.ok() && !answer.value.is_null()) {
    return answer.value;
  }
  failed(test, answer, required);
  return nullptr;
}

void Mount::failed(const std::string& test, const Answer& answer, Required required,
                   const std::string& context) {
  const std::string why = context.empty() ? "" : context + ": ";
  const bool notImplemented = answer.failedWith(kNotImplemented);
  switch (required) {
    case Required::Mandatory:
      report.issue(test, "a mandatory member failed: " + answer.failure());
      break;
    case Required::MustBeImplemented:
      report.issue(test,
                   why + (notImplemented ? "not implemented: " : "failed: ") + answer.failure());
      break;
    case Required::Optional:
      if (notImplemented) {
        report.ok(test, "optional member not implemented: " + answer.message);
      } else {
        report.issue(test, "unexpected error: " + answer.failure());
      }
      break;
    case Required::MustNotBeImplemented:
      if (notImplemented) {
        report.ok(test, why + "not implemented, as expected");
      } else {
        report.issue(test, why + "should answer not implemented, answered " + answer.failure());
      }
      break;
  }
}

void Mount::expectInvalidValue(const std::string& test, const Answer& answer, Required required,
                               const std::string& okText, const std::string& acceptedText) {
  if (answer.ok()) {
    report.issue(test, acceptedText);
  } else if (answer.failedWith(kInvalidValue)) {
    report.ok(test, okText);
  } else {
    failed(test, answer, required);
  }
}

double Mount::raFromSiderealTime(double offsetHours) const {
  double siderealTime = 0;
  const Answer answer = get("siderealtime");
  if (answer.ok() && answer.value.is_number()) {
    siderealTime = answer.value.get<double>();
  } else {
    const double days =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() /
            86400.0 -
        10957.5;
    siderealTime = 18.697374558 + 24.065709824419081 * days + facts.siteLongitude / 15.0;
  }
  double ra = std::fmod(siderealTime + offsetHours, 24.0);
  return ra < 0 ? ra + 24.0 : ra;
}

bool Mount::waitUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return true;
}

bool Mount::waitForSlew() {
  return waitUntil([this] { return !flag("slewing"); }, std::chrono::seconds(120));
}

bool Mount::flag(const std::string& member) const {
  const Answer answer = get(member);
  return answer.ok() && answer.value.is_boolean() && answer.value.get<bool>();
}

double Mount::number(const std::string& member) const {
  const Answer answer = get(member);
  return answer.ok() && answer.value.is_number() ? answer.value.get<double>() : NAN;
}

std::string text(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.10f", value);
  return buffer;
}

std::string encoded(const std::string& value) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : value) {
    if (std::isalnum(c) || c == '.' || c == '-' || c == '_') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string hms(double hours) {
  return sexagesimal(hours, "%c%02d:%02d:%05.2f").substr(1);
}

std::string dms(double degrees) {
  return sexagesimal(degrees, "%c%02d:%02d:%04.1f");
}

double raDifferenceArcSeconds(double a, double b) {
  double difference = std::fabs(a - b);
  if (difference > 12.0) {
    difference = 24.0 - difference;
  }
  return difference * 15.0 * 3600.0;
}

Horizontal horizontalPlace(double hourAngle, double declination, double latitude) {
  constexpr double kRadians = M_PI / 180.0;
  const double h = hourAngle * 15.0 * kRadians;
  const double dec = declination * kRadians;
  const double lat = latitude * kRadians;
  const double altitude =
      std::asin(std::sin(lat) * std::sin(dec) + std::cos(lat) * std::cos(dec) * std::cos(h));
  double azimuth =
      std::atan2(-std::cos(dec) * std::sin(h),
                 std::sin(dec) * std::cos(lat) - std::cos(dec) * std::sin(lat) * std::cos(h)) /
      kRadians;
  if (azimuth < 0) {
    azimuth += 360.0;
  }
  return {altitude / kRadians, azimuth};
}

}  // namespace tramox::conformance
