#pragma once
// The telescope under test, reached over HTTP, and the rules by which ASCOM's checker judges a
// member's failure.
#include <chrono>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "alpaca/error_numbers.h"
#include "tests/alpaca/alpaca_server.h"
#include "tests/conformance/report.h"

namespace tramox::conformance {

// The protocol's error numbers the checks tell apart.
using alpaca::errors::kActionNotImplemented;
using alpaca::errors::kInvalidOperation;
using alpaca::errors::kInvalidValue;
using alpaca::errors::kInvalidWhileParked;
using alpaca::errors::kNotImplemented;
using alpaca::errors::kValueNotSet;

struct Answer {
  int status = 200;
  int error = 0;
  std::string message;
  nlohmann::json value;

  bool ok() const { return status == 200 && error == 0; }
  bool failedWith(int number) const { return status == 200 && error == number; }
  // "0x401 message", or the HTTP status and body when the request itself was refused.
  std::string failure() const;
};

// How far a member must work, as the checker classes them.
enum class Required { Mandatory, MustBeImplemented, Optional, MustNotBeImplemented };

// What the checks learnt of the mount and use later on.
struct Facts {
  bool canFindHome = false, canPark = false, canPulseGuide = false, canSetDeclinationRate = false;
  bool canSetGuideRates = false, canSetPark = false, canSetPierSide = false;
  bool canSetRightAscensionRate = false, canSetTracking = false, canSlew = false;
  bool canSlewAltAz = false, canSlewAltAzAsync = false, canSlewAsync = false, canSync = false;
  bool canSyncAltAz = false, canUnpark = false;
  bool canMoveAxis[3] = {false, false, false};
  bool german = false;
  bool canReadAltitude = false, canReadAzimuth = false, canReadSiderealTime = false;
  double siteLatitude = 0, siteLongitude = 0;
  double guideRateRightAscension = 0, guideRateDeclination = 0;
};

class Mount {
 public:
  Mount(const alpaca::testing::AlpacaServer& server, Report& report)
      : server_(server), report(report) {}

  Answer get(const std::string& member, const std::string& query = "") const;
  Answer put(const std::string& member, const std::string& form = "") const;

  // A read that must work: its value, or null after reporting the failure as required.
  nlohmann::json read(const std::string& test, const std::string& member, Required required);

  // The checker's verdict on a failed member.
  void failed(const std::string& test, const Answer& answer, Required required,
              const std::string& context = "");
  // A call that had to be refused as an invalid value.
  void expectInvalidValue(const std::string& test, const Answer& answer, Required required,
                          const std::string& okText, const std::string& acceptedText);

  // Right ascension at this many hours from the local sidereal time (the mount's own when it
  // gives one), and the right ascension at an hour angle.
  double raFromSiderealTime(double offsetHours) const;
  double raFromHourAngle(double hourAngle) const { return raFromSiderealTime(-hourAngle); }

  // Polls until done() holds or the limit passes; false on timeout.
  static bool waitUntil(const std::function<bool()>& done, std::chrono::seconds limit);
  // Waits for Slewing to read false (an asynchronous slew's end); false on timeout.
  bool waitForSlew();
  bool flag(const std::string& member) const;
  double number(const std::string& member) const;

  const alpaca::testing::AlpacaServer& server() const { return server_; }

 private:
  const alpaca::testing::AlpacaServer& server_;

 public:
  Report& report;
  Facts facts;
};

// Invariant text of a number for a form or a query, and a percent-encoded value.
std::string text(double value);
std::string encoded(const std::string& value);
// Hours or degrees as sexagesimal text, for the report.
std::string hms(double hours);
std::string dms(double degrees);
// Right ascension difference in arc seconds, across 0 h.
double raDifferenceArcSeconds(double a, double b);

// The horizontal place, in degrees (azimuth north 0, east 90), of an hour angle in hours and a
// declination at a latitude, refraction left out.
struct Horizontal {
  double altitude;
  double azimuth;
};
Horizontal horizontalPlace(double hourAngle, double declination, double latitude);

}  // namespace tramox::conformance
