// Slews, syncs and target writes at the checker's positions (hour angles of 1 to 4 hours,
// declinations of a few degrees, which the site set before the run keeps above the horizon).
#include <cmath>
#include <string>
#include <tuple>
#include <utility>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

constexpr double kToleranceArcSeconds = 10.0;
constexpr double kSyncErrorHours = 60.0 / (15.0 * 60.0);  // one degree of right ascension
constexpr double kSyncErrorDegrees = 1.0;

enum class Kind { Coordinates, Target };

std::string coordinates(double ra, double dec) {
  return "RightAscension=" + text(ra) + "&Declination=" + text(dec);
}

void setTargets(Mount& mount, double ra, double dec) {
  mount.put("targetrightascension", "TargetRightAscension=" + text(ra));
  mount.put("targetdeclination", "TargetDeclination=" + text(dec));
}

void startTracking(Mount& mount) {
  if (mount.facts.canSetTracking && !mount.flag("tracking")) {
    mount.put("tracking", "Tracking=True");
  }
}

void checkPosition(Mount& mount, const std::string& test, const std::string& what, double ra,
                   double dec) {
  const double raError = raDifferenceArcSeconds(mount.number("rightascension"), ra);
  const double decError = std::fabs(mount.number("declination") - dec) * 3600.0;
  const std::string where = " (target " + hms(ra) + " " + dms(dec) + ")";
  if (raError <= kToleranceArcSeconds) {
    mount.report.ok(test, what + " OK within tolerance on RightAscension" + where);
  } else {
    mount.report.issue(test,
                       what + " " + text(raError) + " arc seconds away on RightAscension" + where);
  }
  if (decError <= kToleranceArcSeconds) {
    mount.report.ok(test, what + " OK within tolerance on Declination" + where);
  } else {
    mount.report.issue(test,
                       what + " " + text(decError) + " arc seconds away on Declination" + where);
  }
}

// Slews and syncs must leave the target properties at the position given.
void checkTargetsSet(Mount& mount, const std::string& test, double ra, double dec) {
  const Answer targetRa = mount.get("targetrightascension");
  if (!targetRa.ok()) {
    mount.report.issue(
        test, "The driver did not set the TargetRightAscension property: " + targetRa.failure());
  } else if (raDifferenceArcSeconds(targetRa.value.get<double>(), ra) <= kToleranceArcSeconds) {
    mount.report.ok(test, "The TargetRightAscension property matches the expected RA");
  } else {
    mount.report.issue(test, "The TargetRightAscension property " +
                                 hms(targetRa.value.get<double>()) +
                                 " does not match the expected RA " + hms(ra));
  }
  const Answer targetDec = mount.get("targetdeclination");
  if (!targetDec.ok()) {
    mount.report.issue(
        test, "The driver did not set the TargetDeclination property: " + targetDec.failure());
  } else if (std::fabs(targetDec.value.get<double>() - dec) * 3600.0 <= kToleranceArcSeconds) {
    mount.report.ok(test, "The TargetDeclination property matches the expected Declination");
  } else {
    mount.report.issue(test, "The TargetDeclination property " +
                                 dms(targetDec.value.get<double>()) +
                                 " does not match the expected Declination " + dms(dec));
  }
}

// Altitude and Azimuth must tell where the mount points; this high above the horizon refraction
// stays well within the tolerance.
void checkHorizontalPlace(Mount& mount, const std::string& test) {
  const Answer altitude = mount.get("altitude");
  const Answer azimuth = mount.get("azimuth");
  if (altitude.failedWith(kNotImplemented) || azimuth.failedWith(kNotImplemented)) {
    return;
  }
  if (!altitude.ok() || !azimuth.ok()) {
    mount.report.issue(
        test, "Altitude or Azimuth failed: " + (altitude.ok() ? azimuth : altitude).failure());
    return;
  }
  const Horizontal expected =
      horizontalPlace(mount.number("siderealtime") - mount.number("rightascension"),
                      mount.number("declination"), mount.facts.siteLatitude);
  const double altitudeError = std::fabs(altitude.value.get<double>() - expected.altitude);
  double azimuthError = std::fabs(azimuth.value.get<double>() - expected.azimuth);
  if (azimuthError > 180.0) {
    azimuthError = 360.0 - azimuthError;
  }
  const std::string values = "Altitude " + text(altitude.value.get<double>()) + ", Azimuth " +
                             text(azimuth.value.get<double>()) + ", expected about " +
                             text(expected.altitude) + ", " + text(expected.azimuth);
  if (altitudeError <= 0.1 && azimuthError <= 0.1) {
    mount.report.ok(test, "Altitude and Azimuth agree with the position: " + values);
  } else {
    mount.report.issue(test, "Altitude and Azimuth do not agree with the position: " + values);
  }
}

// The slew the sync checks use to move about: asynchronous when the mount can.
void slewScope(Mount& mount, const std::string& test, double ra, double dec) {
  startTracking(mount);
  const bool async = mount.facts.canSlewAsync;
  const Answer answer =
      mount.put(async ? "slewtocoordinatesasync" : "slewtocoordinates", coordinates(ra, dec));
  if (!answer.ok()) {
    mount.report.issue(test,
                       "Unable to slew to " + hms(ra) + " " + dms(dec) + ": " + answer.failure());
  } else if (async && !mount.waitForSlew()) {
    mount.report.issue(test, "Slewing still true 120 s after the slew started");
  }
}

Answer slewCall(Mount& mount, Kind kind, bool async, double ra, double dec) {
  if (kind == Kind::Coordinates) {
    return mount.put(async ? "slewtocoordinatesasync" : "slewtocoordinates", coordinates(ra, dec));
  }
  return mount.put(async ? "slewtotargetasync" : "slewtotarget");
}

void checkSlew(Mount& mount, const std::string& test, bool can, const std::string& canName,
               Kind kind, bool async, double offsetHours, double dec) {
  startTracking(mount);
  const double ra = mount.raFromSiderealTime(offsetHours);
  if (kind == Kind::Target) {
    for (const auto& [member, parameter, value] :
         {std::tuple{"targetrightascension", "TargetRightAscension", ra},
          std::tuple{"targetdeclination", "TargetDeclination", dec}}) {
      const Answer set = mount.put(member, std::string(parameter) + "=" + text(value));
      if (!set.ok() && can) {
        mount.failed(test, set, Required::MustBeImplemented,
                     canName + " is True but can't set " + parameter);
      }
    }
  }
  const Answer answer = slewCall(mount, kind, async, ra, dec);
  if (!answer.ok()) {
    mount.failed(test, answer, can ? Required::MustBeImplemented : Required::MustNotBeImplemented,
                 canName + (can ? " is True" : " is False"));
    return;
  }
  if (async && !mount.waitForSlew()) {
    mount.report.issue(test, "Slewing still true 120 s after the slew started");
  }
  if (!can) {
    mount.report.issue(test, canName + " is false but no exception was generated on use");
    return;
  }
  checkPosition(mount, test, "Slewed", ra, dec);
  checkTargetsSet(mount, test, ra, dec);
  if (kind == Kind::Coordinates && !async) {
    checkHorizontalPlace(mount, test);
  }
}

// A bad coordinate is refused, by the target property or by the slew or sync itself.
void checkBadCoordinates(Mount& mount, const std::string& test, Kind kind, const char* call,
                         double badRa, double badDec, double goodRaOffset) {
  startTracking(mount);
  const double goodRa = mount.raFromSiderealTime(goodRaOffset);
  for (const bool raIsBad : {true, false}) {
    const double ra = raIsBad ? badRa : goodRa;
    const double dec = raIsBad ? 0.0 : badDec;
    const std::string what =
        raIsBad ? "RA coordinate: " + text(ra) : "Dec coordinate: " + text(dec);
    Answer answer;
    if (kind == Kind::Target) {
      const char* member = raIsBad ? "targetrightascension" : "targetdeclination";
      const std::string parameter = raIsBad ? "TargetRightAscension" : "TargetDeclination";
      const Answer set = mount.put(member, parameter + "=" + text(raIsBad ? ra : dec));
      if (!set.ok()) {
        mount.expectInvalidValue(test, set, Required::MustBeImplemented,
                                 "Telescope." + parameter + " correctly rejected bad " + what, "");
        continue;
      }
      if (raIsBad) {
        mount.put("targetdeclination", "TargetDeclination=" + text(dec));
      } else {
        mount.put("targetrightascension", "TargetRightAscension=" + text(ra));
      }
      answer = mount.put(call);
    } else {
      answer = mount.put(call, coordinates(ra, dec));
    }
    if (answer.ok()) {
      mount.put("abortslew");
    }
    mount.expectInvalidValue(test, answer, Required::Mandatory, "Correctly rejected bad " + what,
                             "Failed to reject bad " + what);
  }
}

void syncScope(Mount& mount, const std::string& test, Kind kind, double ra, double dec) {
  Answer answer;
  if (kind == Kind::Coordinates) {
    answer = mount.put("synctocoordinates", coordinates(ra, dec));
  } else {
    setTargets(mount, ra, dec);
    answer = mount.put("synctotarget");
  }
  if (!answer.ok()) {
    mount.failed(test, answer, Required::MustBeImplemented, "CanSync is True");
  }
}

void checkSync(Mount& mount, const std::string& test, Kind kind) {
  const char* call = kind == Kind::Coordinates ? "synctocoordinates" : "synctotarget";
  if (!mount.facts.canSync) {
    const double ra = mount.number("rightascension");
    const double dec = mount.number("declination");
    startTracking(mount);
    Answer answer;
    if (kind == Kind::Coordinates) {
      answer = mount.put(call, coordinates(ra, dec));
    } else {
      setTargets(mount, ra, dec);
      answer = mount.put(call);
    }
    if (answer.ok()) {
      mount.report.issue(test, "CanSync is False but " + test + " did not fail");
    } else {
      mount.failed(test, answer, Required::MustNotBeImplemented, "CanSync is False");
    }
    return;
  }
  const double lat = mount.facts.siteLatitude;
  const double startRa = mount.raFromHourAngle(3.0);
  const double startDec = lat > 0 ? 90.0 - (180.0 - lat) * 0.5 : -90.0 + (180.0 + lat) * 0.5;
  slewScope(mount, test, startRa, startDec);
  checkPosition(mount, test, "Slewed to start position", startRa, startDec);
  for (const double sense : {-1.0, 1.0}) {
    double syncRa = std::fmod(startRa + sense * kSyncErrorHours + 24.0, 24.0);
    const double syncDec = startDec + sense * kSyncErrorDegrees;
    syncScope(mount, test, kind, syncRa, syncDec);
    checkPosition(mount, test,
                  sense < 0 ? "Synced to sync position" : "Synced to reversed sync position",
                  syncRa, syncDec);
    if (sense < 0 && kind == Kind::Coordinates) {
      checkTargetsSet(mount, test, syncRa, syncDec);
    }
    slewScope(mount, test, startRa, startDec);
    checkPosition(mount, test, "Slewed back to start position", startRa, startDec);
  }
  checkBadCoordinates(mount, test + " (Bad L)", kind, call, -1.0, -100.0, -3.0);
  checkBadCoordinates(mount, test + " (Bad H)", kind, call, 25.0, 100.0, -3.0);
}

void checkTargetWrites(Mount& mount) {
  struct TargetWrite {
    const char* test;
    const char* member;
    const char* parameter;
    double badLow, badHigh;
    double good;
    bool hours;
  };
  const TargetWrite writes[] = {
      {"TargetRightAscension Write", "targetrightascension", "TargetRightAscension", -1, 25,
       mount.raFromSiderealTime(-4.0), true},
      {"TargetDeclination Write", "targetdeclination", "TargetDeclination", -91, 91, 1.0, false},
  };
  for (const TargetWrite& w : writes) {
    for (const double bad : {w.badLow, w.badHigh}) {
      mount.expectInvalidValue(
          w.test, mount.put(w.member, std::string(w.parameter) + "=" + text(bad)),
          Required::Optional, "Invalid Value exception generated as expected for " + text(bad),
          "No error generated on set " + std::string(w.parameter) + " " + text(bad));
    }
    const Answer set = mount.put(w.member, std::string(w.parameter) + "=" + text(w.good));
    if (!set.ok()) {
      mount.failed(w.test, set, Required::Optional);
      continue;
    }
    const double read = mount.number(w.member);
    const double error = std::fabs(read - w.good) * 3600.0 * (w.hours ? 15.0 : 1.0);
    const std::string shown = w.hours ? hms(w.good) : dms(w.good);
    if (error <= 5.0 * (w.hours ? 15.0 : 1.0)) {
      mount.report.ok(w.test, "Legal value " + shown + " written and read back");
    } else {
      mount.report.info(w.test, "read back " + (w.hours ? hms(read) : dms(read)) + " for " + shown);
    }
  }
}

void checkDestinationSideOfPier(Mount& mount) {
  const std::string test = "DestinationSideOfPier";
  if (!mount.facts.german) {
    mount.report.info(test, "Test skipped as AlignmentMode is not German Polar");
    return;
  }
  const double dec = mount.facts.siteLatitude > 0 ? 45.0 : -45.0;
  int sides[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    const double ra = mount.raFromSiderealTime(i == 0 ? -3.0 : 3.0);
    const Answer answer = mount.get("destinationsideofpier", coordinates(ra, dec));
    if (!answer.ok()) {
      mount.failed(test, answer, Required::Optional);
      return;
    }
    sides[i] = answer.value.get<int>();
  }
  if (sides[0] == -1 || sides[1] == -1) {
    mount.report.issue(test, "Invalid SideOfPier value received");
  } else if (sides[0] == sides[1]) {
    mount.report.issue(test, "Same value for DestinationSideOfPier on both sides of the meridian");
  } else {
    mount.report.ok(test, "DestinationSideOfPier is different on either side of the meridian");
  }
}

void stopTracking(Mount& mount) {
  if (mount.facts.canSetTracking && mount.flag("tracking")) {
    mount.put("tracking", "Tracking=False");
  }
}

void checkAltAzSlew(Mount& mount, const std::string& test, bool can, bool async, double altitude,
                    double azimuth) {
  const std::string canName = async ? "CanSlewAltAzAsync" : "CanSlewAltAz";
  stopTracking(mount);
  const std::string call = async ? "slewtoaltazasync" : "slewtoaltaz";
  const Answer answer = mount.put(call, "Azimuth=" + text(azimuth) + "&Altitude=" + text(altitude));
  if (!answer.ok()) {
    mount.failed(test, answer, can ? Required::MustBeImplemented : Required::MustNotBeImplemented,
                 canName + (can ? " is True" : " is False"));
    return;
  }
  if (async) {
    mount.waitForSlew();
  }
  if (!can) {
    mount.report.issue(test, canName + " is false but no exception was generated on use");
    return;
  }
  double azimuthError = std::fabs(mount.number("azimuth") - azimuth);
  if (azimuthError > 350.0) {
    azimuthError = 360.0 - azimuthError;
  }
  const double altitudeError = std::fabs(mount.number("altitude") - altitude);
  for (const auto& [name, error] :
       {std::pair{"Azimuth", azimuthError}, std::pair{"Altitude", altitudeError}}) {
    if (error * 3600.0 <= kToleranceArcSeconds) {
      mount.report.ok(test, std::string("Slewed to target ") + name + " OK within tolerance");
    } else {
      mount.report.issue(
          test, std::string("Slewed ") + text(error) + " degrees away from " + name + " target");
    }
  }
  for (const auto& [badAltitude, badAzimuth, label] :
       {std::tuple{-100.0, -10.0, " (Bad L)"}, std::tuple{100.0, 370.0, " (Bad H)"}}) {
    for (const bool altitudeIsBad : {true, false}) {
      const double alt = altitudeIsBad ? badAltitude : 45.0;
      const double az = altitudeIsBad ? 45.0 : badAzimuth;
      const Answer bad = mount.put(call, "Azimuth=" + text(az) + "&Altitude=" + text(alt));
      if (bad.ok()) {
        mount.put("abortslew");
      }
      const std::string what =
          altitudeIsBad ? "Altitude coordinate: " + text(alt) : "Azimuth coordinate: " + text(az);
      mount.expectInvalidValue(test + label, bad, Required::Mandatory,
                               "Correctly rejected bad " + what, "Failed to reject bad " + what);
    }
  }
}

void checkAltAzSync(Mount& mount) {
  const std::string test = "SyncToAltAz";
  const bool can = mount.facts.canSyncAltAz;
  double altitude = mount.facts.canReadAltitude ? mount.number("altitude") : 0.0;
  double azimuth = mount.facts.canReadAzimuth ? mount.number("azimuth") : 0.0;
  if (can) {
    altitude = altitude - 1.0 < 0 ? 1.0 : altitude - 1.0;
    azimuth = azimuth + 1.0 > 359.0 ? 358.0 : azimuth + 1.0;
  }
  stopTracking(mount);
  const Answer answer =
      mount.put("synctoaltaz", "Azimuth=" + text(azimuth) + "&Altitude=" + text(altitude));
  if (!answer.ok()) {
    mount.failed(test, answer, can ? Required::MustBeImplemented : Required::MustNotBeImplemented,
                 can ? "CanSyncAltAz is True" : "CanSyncAltAz is False");
    return;
  }
  if (!can) {
    mount.report.issue(test, "CanSyncAltAz is False but SyncToAltAz did not fail");
  } else {
    mount.report.ok(test, "SyncToAltAz accepted");
  }
}

}  // namespace

void checkSlewsAndSyncs(Mount& mount) {
  const Facts& f = mount.facts;
  checkSlew(mount, "SlewToCoordinates", f.canSlew, "CanSlew", Kind::Coordinates, false, -1.0, 1.0);
  if (f.canSlew) {
    checkBadCoordinates(mount, "SlewToCoordinates (Bad L)", Kind::Coordinates, "slewtocoordinates",
                        -1.0, -100.0, -2.0);
    checkBadCoordinates(mount, "SlewToCoordinates (Bad H)", Kind::Coordinates, "slewtocoordinates",
                        25.0, 100.0, -2.0);
  }
  checkSlew(mount, "SlewToCoordinatesAsync", f.canSlewAsync, "CanSlewAsync", Kind::Coordinates,
            true, -2.0, 2.0);
  if (f.canSlewAsync) {
    checkBadCoordinates(mount, "SlewToCoordinatesAsync (Bad L)", Kind::Coordinates,
                        "slewtocoordinatesasync", -1.0, -100.0, -2.0);
    checkBadCoordinates(mount, "SlewToCoordinatesAsync (Bad H)", Kind::Coordinates,
                        "slewtocoordinatesasync", 25.0, 100.0, -2.0);
  }
  checkSync(mount, "SyncToCoordinates", Kind::Coordinates);
  checkTargetWrites(mount);
  checkSlew(mount, "SlewToTarget", f.canSlew, "CanSlew", Kind::Target, false, -3.0, 3.0);
  if (f.canSlew) {
    checkBadCoordinates(mount, "SlewToTarget (Bad L)", Kind::Target, "slewtotarget", -1.0, -100.0,
                        -2.0);
    checkBadCoordinates(mount, "SlewToTarget (Bad H)", Kind::Target, "slewtotarget", 25.0, 100.0,
                        -2.0);
  }
  checkSlew(mount, "SlewToTargetAsync", f.canSlewAsync, "CanSlewAsync", Kind::Target, true, -4.0,
            4.0);
  if (f.canSlewAsync) {
    checkBadCoordinates(mount, "SlewToTargetAsync (Bad L)", Kind::Target, "slewtotargetasync", -1.0,
                        -100.0, -2.0);
    checkBadCoordinates(mount, "SlewToTargetAsync (Bad H)", Kind::Target, "slewtotargetasync", 25.0,
                        100.0, -2.0);
  }
  checkDestinationSideOfPier(mount);
  checkAltAzSlew(mount, "SlewToAltAz", f.canSlewAltAz, false, 50.0, 150.0);
  checkAltAzSlew(mount, "SlewToAltAzAsync", f.canSlewAltAzAsync, true, 55.0, 155.0);
  checkSync(mount, "SyncToTarget", Kind::Target);
  checkAltAzSync(mount);
}

}  // namespace tramox::conformance
