// The checker's extended pulse-guide checks: at four hour angles, a five-second pulse in each
// direction moves its own axis by the guide rate's worth, within an arc second, and not the
// other one.
#include <chrono>
#include <cmath>
#include <string>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

constexpr int kPulseSeconds = 5;
constexpr double kToleranceDegrees = 1.0 / 3600.0;
constexpr double kSiderealToSi = 0.99726956631945;

// The declination giving the highest altitude under 65 degrees at this hour angle.
double testDeclination(double hourAngle, double latitude) {
  double best = 0.0;
  double bestAltitude = -1e9;
  for (double dec = -85.0; dec < 90.0; dec += 10.0) {
    const double altitude = horizontalPlace(hourAngle, dec, latitude).altitude;
    if (altitude < 65.0 && altitude > bestAltitude) {
      best = dec;
      bestAltitude = altitude;
    }
  }
  return best;
}

struct Direction {
  const char* name;
  int number;
  bool movesDeclination;
  double sense;
  const char* opposite;
};

const Direction kDirections[] = {
    {"North", 0, true, 1.0, "south"},
    {"South", 1, true, -1.0, "north"},
    {"East", 2, false, 1.0, "west"},
    {"West", 3, false, -1.0, "east"},
};

void checkDirection(Mount& mount, double hourAngle, const Direction& direction) {
  char label[64];
  std::snprintf(label, sizeof label, "PulseGuide %+.1f %s", hourAngle, direction.name);
  const std::string test = label;
  const Facts& f = mount.facts;
  // Both in degrees of their own axis (right ascension in degrees of sidereal hours).
  const double expected = direction.sense * kPulseSeconds *
                          (direction.movesDeclination ? f.guideRateDeclination
                                                      : f.guideRateRightAscension / kSiderealToSi);
  const double ra = mount.number("rightascension");
  const double dec = mount.number("declination");
  const Answer pulse =
      mount.put("pulseguide", "Direction=" + std::to_string(direction.number) +
                                  "&Duration=" + std::to_string(kPulseSeconds * 1000));
  if (!pulse.ok()) {
    mount.failed(test, pulse, Required::MustBeImplemented, "CanPulseGuide is True");
    return;
  }
  Mount::waitUntil([&] { return !mount.flag("ispulseguiding"); },
                   std::chrono::seconds(2 * kPulseSeconds));
  double raChange = std::remainder(mount.number("rightascension") - ra, 24.0) * 15.0;
  const double decChange = mount.number("declination") - dec;
  const double moved = direction.movesDeclination ? decChange : raChange;
  const double other = direction.movesDeclination ? raChange : decChange;
  const std::string detail =
      "change " + text(moved * 3600.0) + "\", expected " + text(expected * 3600.0) + "\"";
  const std::string way = direction.name;
  if (moved * direction.sense < 0) {
    mount.report.issue(
        test, "Moved " + std::string(direction.opposite) + " instead of " + way + ": " + detail);
  } else if (moved == 0) {
    mount.report.issue(test, "The axis did not move");
  } else if (std::fabs(moved - expected) <= kToleranceDegrees) {
    mount.report.ok(test, "Moved " + way + ": " + detail);
  } else {
    mount.report.issue(test, "Moved " + way + " but outside test tolerance: " + detail);
  }
  if (std::fabs(other) <= kToleranceDegrees) {
    mount.report.ok(test, "No significant movement of the other axis");
  } else {
    mount.report.issue(test, "The other axis moved " + text(other * 3600.0) + "\"");
  }
}

}  // namespace

void checkExtendedPulseGuide(Mount& mount) {
  const Facts& f = mount.facts;
  if (!f.canPulseGuide) {
    return;
  }
  if (!(f.guideRateRightAscension > 0 && f.guideRateDeclination > 0)) {
    mount.report.info("PulseGuide",
                      "Extended pulse guide tests skipped: the guide rates are "
                      "not available");
    return;
  }
  for (const double hourAngle : {-9.0, 9.0, -3.0, 3.0}) {
    if (f.canSetTracking) {
      mount.put("tracking", "Tracking=True");
    }
    const double ra = mount.raFromHourAngle(hourAngle);
    const Answer slew =
        mount.put("slewtocoordinatesasync", "RightAscension=" + text(ra) + "&Declination=" +
                                                text(testDeclination(hourAngle, f.siteLatitude)));
    if (!slew.ok() || !mount.waitForSlew()) {
      mount.report.issue("PulseGuide",
                         "Unable to slew to hour angle " + text(hourAngle) + ": " + slew.failure());
      continue;
    }
    for (const Direction& direction : kDirections) {
      checkDirection(mount, hourAngle, direction);
    }
  }
}

}  // namespace tramox::conformance
