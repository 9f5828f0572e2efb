#include "lx200/lx200_session.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/automation_date.h"

namespace tramox::lx200 {

namespace {

using client::DriverObject;
using client::DriverResult;
using client::Value;

// 60 Hz times the ratio of the sidereal day to the solar one, as the hand controller counts.
constexpr double kSiderealFrequency = 60.1643;
constexpr double kFrequencyTolerance = 0.5;
// An answer of 60 Hz at most clients' precision (they print one decimal).
constexpr const char* kSiderealAnswer = "60.2#";
constexpr const char* kNotTrackingAnswer = "00.0#";
// Meade's answer to a sync, and the two texts it sends after a date.
constexpr const char* kSyncAnswer = "Coordinates     matched.        #";
constexpr const char* kDateAnswer =
    "1Updating        planetary data.#                              #";
// Any bar before '#' means "still slewing" to the clients reading :D#.
constexpr const char* kSlewingAnswer = "|#";

enum Axis { kPrimary = 0, kSecondary = 1 };

int axisOf(char direction) {
  return direction == 'n' || direction == 's' ? kSecondary : kPrimary;
}

bool isDirection(std::string_view text) {
  return text.size() == 1 && std::string_view("nsew").find(text.front()) != std::string_view::npos;
}

// North and east turn an axis the positive way, as the paddle's buttons do.
double signOf(char direction) {
  return direction == 'n' || direction == 'e' ? 1.0 : -1.0;
}

// GuideDirections: guideNorth 0, guideSouth 1, guideEast 2, guideWest 3.
std::int32_t guideDirection(char direction) {
  return static_cast<std::int32_t>(std::string_view("nsew").find(direction));
}

std::string noHash(std::string text) {
  std::replace(text.begin(), text.end(), '#', ' ');
  return text;
}

// Some clients put a blank after the command's letters.
std::string_view withoutBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  return text;
}

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The magnitudes of the axis's rates, slowest first; empty when they cannot be read.
std::vector<double> axisRates(int axis, const DriverObject& driver) {
  std::vector<double> rates;
  const DriverResult collection = driver.call("AxisRates", {Value::ofInt32(axis)});
  if (!collection.ok) {
    return rates;
  }
  for (const Value& item :
       driver.child(collection.value.object).elements().value_or(std::vector<Value>{})) {
    if (!item.object) {
      continue;
    }
    const DriverResult maximum = driver.child(item.object).get("Maximum");
    if (maximum.ok && maximum.number() > 0.0) {
      rates.push_back(maximum.number());
    }
  }
  std::sort(rates.begin(), rates.end());
  return rates;
}

}  // namespace

struct Session::Rule {
  std::string_view name;
  bool exact;  // the whole command; else a prefix followed by arguments
  bool stop;
  std::string (Session::*handler)(std::string_view, const DriverObject&);
};

Session::Session(platform::IClock& clock, Identity identity, Console console)
    : clock_(clock), identity_(std::move(identity)), console_(std::move(console)) {}

const Session::Rule* Session::ruleFor(std::string_view text) {
  // Commands are case-sensitive (:GT# is not :Gt#); an exact rule goes before a prefix rule
  // of the same name.
  static const Rule rules[] = {
      {"GR", true, false, &Session::rightAscension},
      {"GD", true, false, &Session::declination},
      {"GA", true, false, &Session::altitude},
      {"GZ", true, false, &Session::azimuth},
      {"U", true, false, &Session::togglePrecision},
      {"Gc", true, false, &Session::timeFormat},
      {"GM", true, false, &Session::siteName},
      {"GT", true, false, &Session::trackingFrequency},
      {"Gt", true, false, &Session::latitude},
      {"Gg", true, false, &Session::longitude},
      {"GG", true, false, &Session::utcOffset},
      {"GL", true, false, &Session::localTime},
      {"GC", true, false, &Session::localDate},
      {"GVP", true, false, &Session::product},
      {"GVN", true, false, &Session::version},
      {"GVD", true, false, &Session::firmwareDate},
      {"GVT", true, false, &Session::firmwareTime},
      {"Sr", false, false, &Session::setTargetRightAscension},
      {"Sd", false, false, &Session::setTargetDeclination},
      {"Sg", false, false, &Session::setLongitude},
      {"St", false, false, &Session::setLatitude},
      {"SG", false, false, &Session::setUtcOffset},
      {"SL", false, false, &Session::setLocalTime},
      {"SC", false, false, &Session::setLocalDate},
      {"ST", false, false, &Session::setTrackingFrequency},
      {"MS", true, false, &Session::slewToTarget},
      {"Mg", false, false, &Session::pulseGuide},
      {"M", false, false, &Session::move},
      {"CM", true, false, &Session::syncToTarget},
      {"D", true, false, &Session::distanceBars},
      {"Q", true, true, &Session::abort},
      {"Q", false, true, &Session::halt},
      {"R", false, false, &Session::chooseRate},
      {"hP", true, false, &Session::park},
      {"AP", true, false, &Session::trackingOn},
      {"AA", true, false, &Session::trackingOn},
      {"AL", true, false, &Session::trackingOff},
      {"TQ", true, false, &Session::keepTrackingMode},
      {"TL", true, false, &Session::keepTrackingMode},
      {"TS", true, false, &Session::keepTrackingMode},
  };
  for (const Rule& rule : rules) {
    if (rule.exact ? text == rule.name : text.starts_with(rule.name)) {
      return &rule;
    }
  }
  return nullptr;
}

bool Session::isStop(const Frame& frame) {
  if (frame.kind != Frame::Kind::Command) {
    return false;
  }
  const Rule* rule = ruleFor(frame.text);
  return rule && rule->stop;
}

std::string Session::handle(const Frame& frame, std::uint64_t sequence,
                            const DriverObject& driver) {
  if (closed_) {
    return {};
  }
  // Meade's alignment letter: polar, the mount being equatorial.
  if (frame.kind == Frame::Kind::Ack) {
    return "P";
  }
  const Rule* rule = ruleFor(frame.text);
  if (!rule) {
    return {};
  }
  // A direction received before the silence that stopped this client's motion stays stopped.
  if (rule->handler == &Session::move && sequence <= silencedThrough_) {
    return {};
  }
  return (this->*rule->handler)(std::string_view(frame.text).substr(rule->name.size()), driver);
}

void Session::silence(std::uint64_t sequence, const DriverObject& driver) {
  silencedThrough_ = std::max(silencedThrough_, sequence);
  stopDirections(driver);
}

void Session::close(const DriverObject& driver) {
  if (!closed_) {
    stopDirections(driver);
  }
  closed_ = true;
}

std::string Session::angleAnswer(const DriverResult& result,
                                 std::string (*format)(double, Precision)) const {
  // A value the driver cannot give is an empty answer: the client stays in step.
  return result.ok ? format(result.number(), precision_) + "#" : "#";
}

std::string Session::rightAscension(std::string_view, const DriverObject& driver) {
  return angleAnswer(driver.get("RightAscension"), formatRightAscension);
}

std::string Session::declination(std::string_view, const DriverObject& driver) {
  return angleAnswer(driver.get("Declination"), formatDeclination);
}

std::string Session::altitude(std::string_view, const DriverObject& driver) {
  return angleAnswer(driver.get("Altitude"), formatAltitude);
}

std::string Session::azimuth(std::string_view, const DriverObject& driver) {
  return angleAnswer(driver.get("Azimuth"), formatAzimuth);
}

std::string Session::togglePrecision(std::string_view, const DriverObject&) {
  precision_ = precision_ == Precision::High ? Precision::Low : Precision::High;
  return {};
}

std::string Session::timeFormat(std::string_view, const DriverObject&) {
  return "24#";
}

std::string Session::siteName(std::string_view, const DriverObject&) {
  return identity_.product + "#";
}

std::string Session::trackingFrequency(std::string_view, const DriverObject& driver) {
  const DriverResult tracking = driver.get("Tracking");
  return tracking.ok && tracking.truth() ? kSiderealAnswer : kNotTrackingAnswer;
}

std::string Session::latitude(std::string_view, const DriverObject& driver) {
  const DriverResult result = driver.get("SiteLatitude");
  return result.ok ? formatLatitude(result.number()) + "#" : "#";
}

std::string Session::longitude(std::string_view, const DriverObject& driver) {
  const DriverResult result = driver.get("SiteLongitude");
  return result.ok ? formatLongitude(lx200LongitudeFromEast(result.number())) + "#" : "#";
}

double Session::universalTime() const {
  return clock_.nowLocal() - platform::CurrentUtBias(clock_.timeZone());
}

double Session::localNow() const {
  const double offset =
      utcOffset_ ? *utcOffset_ : -platform::CurrentUtBias(clock_.timeZone()) * 24.0;
  return universalTime() - offset / 24.0;
}

std::string Session::utcOffset(std::string_view, const DriverObject&) {
  const double offset =
      utcOffset_ ? *utcOffset_ : -platform::CurrentUtBias(clock_.timeZone()) * 24.0;
  return formatUtcOffset(offset) + "#";
}

std::string Session::localTime(std::string_view, const DriverObject&) {
  const platform::CivilDateTime t = platform::fromAutomationDate(localNow());
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d#", t.hour, t.minute, t.second);
  return text;
}

std::string Session::localDate(std::string_view, const DriverObject&) {
  const platform::CivilDateTime t = platform::fromAutomationDate(localNow());
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d#", t.month, t.day, t.year % 100);
  return text;
}

std::string Session::product(std::string_view, const DriverObject&) {
  return identity_.product + "#";
}

std::string Session::version(std::string_view, const DriverObject&) {
  return identity_.version + "#";
}

std::string Session::firmwareDate(std::string_view, const DriverObject&) {
  return identity_.date + "#";
}

std::string Session::firmwareTime(std::string_view, const DriverObject&) {
  return identity_.time + "#";
}

std::string Session::setTargetRightAscension(std::string_view args, const DriverObject&) {
  const std::optional<double> hours = parseSexagesimal(args);
  if (!hours || *hours < 0.0 || *hours >= 24.0) {
    return "0";
  }
  targetRightAscension_ = hours;
  return "1";
}

std::string Session::setTargetDeclination(std::string_view args, const DriverObject&) {
  const std::optional<double> degrees = parseSexagesimal(args);
  if (!degrees || std::fabs(*degrees) > 90.0) {
    return "0";
  }
  targetDeclination_ = degrees;
  return "1";
}

std::string Session::setLongitude(std::string_view args, const DriverObject& driver) {
  const std::optional<double> west = parseSexagesimal(args);
  if (!west || std::fabs(*west) > 360.0) {
    return "0";
  }
  return driver.put("SiteLongitude", Value::ofDouble(eastLongitudeFromLx200(*west))).ok ? "1" : "0";
}

std::string Session::setLatitude(std::string_view args, const DriverObject& driver) {
  const std::optional<double> degrees = parseSexagesimal(args);
  if (!degrees) {
    return "0";
  }
  return driver.put("SiteLatitude", Value::ofDouble(*degrees)).ok ? "1" : "0";
}

std::string Session::setUtcOffset(std::string_view args, const DriverObject&) {
  const std::optional<double> hours = parseDecimal(withoutBlanks(args));
  if (!hours || std::fabs(*hours) > 14.0) {
    return "0";
  }
  utcOffset_ = hours;
  return "1";
}

// The driver takes its time from the computer's clock: a client's clock is checked, not kept.
std::string Session::setLocalTime(std::string_view args, const DriverObject&) {
  const std::optional<double> hours = parseSexagesimal(args);
  return hours && *hours >= 0.0 && *hours < 24.0 ? "1" : "0";
}

std::string Session::setLocalDate(std::string_view args, const DriverObject&) {
  args = withoutBlanks(args);
  const auto first = args.find('/');
  const auto second = args.find('/', first == std::string_view::npos ? first : first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) {
    return "0";
  }
  const std::string_view month = args.substr(0, first);
  const std::string_view day = args.substr(first + 1, second - first - 1);
  const std::string_view year = args.substr(second + 1);
  if (!allDigits(month) || !allDigits(day) || !allDigits(year) || month.size() > 2 ||
      day.size() > 2 || year.size() > 2) {
    return "0";
  }
  const int m = std::stoi(std::string(month));
  const int d = std::stoi(std::string(day));
  return m >= 1 && m <= 12 && d >= 1 && d <= 31 ? kDateAnswer : "0";
}

std::string Session::setTrackingFrequency(std::string_view args, const DriverObject&) {
  const std::optional<double> hertz = parseDecimal(withoutBlanks(args));
  return hertz && std::fabs(*hertz - kSiderealFrequency) <= kFrequencyTolerance ? "1" : "0";
}

// An LX200 tracks unless in land mode, and INDI's generic driver has no tracking switch: a
// goto from a mount that is not tracking starts tracking first. A refusal is the one byte
// '1' with nothing after it, which is all the clients read.
std::string Session::slewToTarget(std::string_view, const DriverObject& driver) {
  if (!targetRightAscension_ || !targetDeclination_) {
    console_("LX200 goto refused: no target (:Sr and :Sd) was set");
    return "1";
  }
  const DriverResult tracking = driver.get("Tracking");
  if (tracking.ok && !tracking.truth()) {
    const DriverResult on = driver.put("Tracking", Value::ofBool(true));
    console_(on.ok ? "LX200 goto: tracking turned on"
                   : "LX200 goto: tracking not turned on: " + on.message);
  }
  const DriverResult slew =
      driver.call("SlewToCoordinatesAsync",
                  {Value::ofDouble(*targetRightAscension_), Value::ofDouble(*targetDeclination_)});
  if (slew.ok) {
    return "0";
  }
  console_("LX200 goto refused: " + slew.message);
  return "1";
}

std::string Session::syncToTarget(std::string_view, const DriverObject& driver) {
  if (!targetRightAscension_ || !targetDeclination_) {
    return "No target set#";
  }
  const DriverResult sync =
      driver.call("SyncToCoordinates",
                  {Value::ofDouble(*targetRightAscension_), Value::ofDouble(*targetDeclination_)});
  if (sync.ok) {
    return kSyncAnswer;
  }
  console_("LX200 sync refused: " + sync.message);
  return noHash(sync.message) + "#";
}

std::string Session::distanceBars(std::string_view, const DriverObject& driver) {
  const DriverResult slewing = driver.get("Slewing");
  return slewing.ok && slewing.truth() ? kSlewingAnswer : "#";
}

std::string Session::abort(std::string_view, const DriverObject& driver) {
  driver.call("AbortSlew");
  stopDirections(driver);
  return {};
}

std::string Session::move(std::string_view direction, const DriverObject& driver) {
  if (!isDirection(direction)) {
    return {};
  }
  const char which = direction.front();
  const int axis = axisOf(which);
  const std::vector<double> rates = axisRates(axis, driver);
  if (rates.empty()) {
    console_("LX200 motion refused: the axis rates cannot be read");
    return {};
  }
  const double rate =
      rates[std::min<std::size_t>(static_cast<std::size_t>(rate_), rates.size() - 1)];
  const DriverResult moved =
      driver.call("MoveAxis", {Value::ofInt32(axis), Value::ofDouble(signOf(which) * rate)});
  if (moved.ok) {
    moving_[axis] = which;
  } else {
    console_("LX200 motion refused: " + moved.message);
  }
  return {};
}

std::string Session::halt(std::string_view direction, const DriverObject& driver) {
  if (isDirection(direction)) {
    stopAxis(axisOf(direction.front()), driver);
  }
  return {};
}

std::string Session::pulseGuide(std::string_view args, const DriverObject& driver) {
  if (args.size() < 2 || !isDirection(args.substr(0, 1)) || !allDigits(args.substr(1)) ||
      args.size() > 6) {
    return {};
  }
  const std::int32_t duration = std::stoi(std::string(args.substr(1)));
  const DriverResult pulse = driver.call(
      "PulseGuide", {Value::ofInt32(guideDirection(args.front())), Value::ofInt32(duration)});
  if (!pulse.ok) {
    console_("LX200 guide pulse refused: " + pulse.message);
  }
  return {};
}

// Guide and centring take the axis's slowest rate, find the middle one, slew the fastest.
std::string Session::chooseRate(std::string_view rate, const DriverObject&) {
  if (rate == "G" || rate == "C") {
    rate_ = 0;
  } else if (rate == "M") {
    rate_ = 1;
  } else if (rate == "S") {
    rate_ = 2;
  }
  return {};
}

std::string Session::park(std::string_view, const DriverObject& driver) {
  const DriverResult parked = driver.call("Park");
  if (!parked.ok) {
    console_("LX200 park failed: " + parked.message);
  }
  return {};
}

std::string Session::trackingOn(std::string_view, const DriverObject& driver) {
  driver.put("Tracking", Value::ofBool(true));
  return {};
}

std::string Session::trackingOff(std::string_view, const DriverObject& driver) {
  driver.put("Tracking", Value::ofBool(false));
  return {};
}

// The driver tracks at the sidereal rate only: lunar and solar change nothing, and :GT#
// goes on answering the sidereal frequency.
std::string Session::keepTrackingMode(std::string_view, const DriverObject&) {
  return {};
}

void Session::stopAxis(int axis, const DriverObject& driver) {
  const DriverResult stopped = driver.call("MoveAxis", {Value::ofInt32(axis), Value::ofDouble(0)});
  if (!stopped.ok) {
    console_("LX200 stop refused: " + stopped.message);
  }
  moving_[static_cast<std::size_t>(axis)] = 0;
}

void Session::stopDirections(const DriverObject& driver) {
  for (int axis : {kPrimary, kSecondary}) {
    if (moving_[static_cast<std::size_t>(axis)] != 0) {
      stopAxis(axis, driver);
    }
  }
}

}  // namespace tramox::lx200
