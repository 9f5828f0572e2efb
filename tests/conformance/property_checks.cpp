// The properties, in the checker's order, with its ranges and the values it writes.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

struct Range {
  const char* test;
  const char* member;
  double low;   // values below are an issue
  double high;  // values above (or at, with highExcluded) are an issue
  bool highExcluded;
  Required required;
};

// The value read, or NAN after reporting why it is not usable.
double rangedRead(Mount& mount, const Range& range) {
  const nlohmann::json value = mount.read(range.test, range.member, range.required);
  if (value.is_null()) {
    return NAN;
  }
  const double x = value.get<double>();
  const bool tooHigh = range.highExcluded ? x >= range.high : x > range.high;
  if (x < range.low || tooHigh) {
    mount.report.issue(range.test, "out of range: " + text(x));
    return NAN;
  }
  mount.report.ok(range.test, text(x));
  return x;
}

// Sizes of the optics: negative is wrong, zero only means "not given".
void sizeRead(Mount& mount, const char* test, const char* member) {
  const nlohmann::json value = mount.read(test, member, Required::Optional);
  if (value.is_null()) {
    return;
  }
  const double x = value.get<double>();
  if (x < 0) {
    mount.report.issue(test, std::string(test) + " is < 0.0 : " + text(x));
  } else if (x == 0) {
    mount.report.info(test, std::string(test) + " is 0.0");
  } else {
    mount.report.ok(test, text(x));
  }
}

void checkBoolean(Mount& mount, const char* test, const char* member, Required required) {
  const nlohmann::json value = mount.read(test, member, required);
  if (value.is_boolean()) {
    mount.report.ok(test, value.get<bool>() ? "True" : "False");
  } else if (!value.is_null()) {
    mount.report.issue(test, "not a boolean: " + value.dump());
  }
}

void checkEnumeration(Mount& mount, const char* test, const char* member, int count) {
  const nlohmann::json value = mount.read(test, member, Required::Mandatory);
  if (value.is_number_integer() && value.get<int>() >= 0 && value.get<int>() < count) {
    mount.report.ok(test, value.dump());
  } else if (!value.is_null()) {
    mount.report.issue(test, "not a valid value: " + value.dump());
  }
}

// RightAscensionRate and DeclinationRate: read 0 unless settable, written only when settable.
void checkOffsetRate(Mount& mount, const std::string& name, const char* member,
                     const char* parameter, bool canSet) {
  const std::string readTest = name + " Read";
  const nlohmann::json value = mount.read(readTest, member, Required::Mandatory);
  if (value.is_number()) {
    if (!canSet && value.get<double>() != 0.0) {
      mount.report.issue(readTest, name + " is non zero when CanSet" + name + " is False");
    } else {
      mount.report.ok(readTest, text(value.get<double>()));
    }
  }
  const std::string writeTest = name + " Write";
  const Answer written = mount.put(member, std::string(parameter) + "=0");
  if (!canSet) {
    if (written.ok()) {
      mount.report.issue(writeTest, "CanSet" + name + " is False but setting it did not fail");
    } else {
      mount.failed(writeTest, written, Required::MustNotBeImplemented,
                   "CanSet" + name + " is False");
    }
  } else if (written.ok()) {
    mount.report.ok(writeTest, "rate 0.0 written");
  } else {
    mount.failed(writeTest, written, Required::MustBeImplemented, "CanSet" + name + " is True");
  }
}

void checkGuideRate(Mount& mount, const std::string& name, const char* member, double& rate) {
  const bool canSet = mount.facts.canSetGuideRates;
  const std::string readTest = name + " Read";
  const nlohmann::json value =
      mount.read(readTest, member, canSet ? Required::MustBeImplemented : Required::Optional);
  if (value.is_number()) {
    rate = value.get<double>();
    if (rate < 0) {
      mount.report.issue(readTest, name + " is < 0.0: " + text(rate));
    } else if (rate == 0 && mount.facts.canPulseGuide) {
      mount.report.issue(readTest,
                         "reads 0 while the mount pulse guides: guiding programs "
                         "reject a zero guide speed");
    } else {
      mount.report.ok(readTest, text(rate));
    }
  }
  const std::string writeTest = name + " Write";
  const Answer written = mount.put(member, name + "=" + text(rate));
  if (canSet && !written.ok()) {
    mount.failed(writeTest, written, Required::MustBeImplemented, "CanSetGuideRates is True");
  } else if (canSet) {
    mount.report.ok(writeTest, "current value written");
  } else if (written.ok()) {
    mount.report.issue(writeTest, "CanSetGuideRates is false but no error was generated");
  } else {
    mount.failed(writeTest, written, Required::MustNotBeImplemented, "CanSetGuideRates is False");
  }
}

struct SiteValue {
  const char* name;
  const char* member;
  double low, high;  // the valid range
  double fallback;   // written when the value read is unusable
  const char* unit;
  double (*testValue)(double current);  // the value the round trip writes
};

double elevationTestValue(double) {
  return 2385.0;
}

// Ten degrees from the current value, towards the inside of the range.
double latitudeTestValue(double current) {
  return current <= -70 || (current > 0 && current <= 70) ? current + 10 : current - 10;
}

double longitudeTestValue(double current) {
  return current <= -150 || (current > 0 && current <= 150) ? current + 10 : current - 10;
}

// A valid value other than the current one is kept exactly, and the current one comes back.
void checkSiteRoundTrip(Mount& mount, const SiteValue& site, double current) {
  const std::string name = site.name;
  const std::string test = name + " Write";
  const double value = site.testValue(current);
  const Answer set = mount.put(site.member, name + "=" + text(value));
  if (!set.ok()) {
    mount.failed(test, set, Required::MustBeImplemented, "A valid value could not be set");
  } else {
    const double read = mount.number(site.member);
    if (read == value) {
      mount.report.ok(test, "Test value " + text(value) + " set and read correctly");
    } else {
      mount.report.issue(
          test, "Test value " + text(value) + " did not round trip correctly: " + text(read));
    }
  }
  const Answer restored = mount.put(site.member, name + "=" + text(current));
  if (restored.ok()) {
    mount.report.ok(test, "Successfully restored original value " + text(current));
  } else {
    mount.failed(test, restored, Required::MustBeImplemented,
                 "The original value could not be restored");
  }
}

double checkSiteValue(Mount& mount, const SiteValue& site) {
  const std::string name = site.name;
  double value = rangedRead(mount, {(name + " Read").c_str(), site.member, site.low, site.high,
                                    false, Required::Optional});
  for (const double bad : {site.low - 1, site.high + 1}) {
    mount.expectInvalidValue(
        name + " Write", mount.put(site.member, name + "=" + text(bad)), Required::Optional,
        "Invalid Value exception generated as expected on set " + name + " " + text(bad),
        "No error generated on set " + name + " " + text(bad) + site.unit);
  }
  const bool readable = !std::isnan(value);
  if (!readable) {
    value = site.fallback;
  }
  const Answer restored = mount.put(site.member, name + "=" + text(value));
  if (!restored.ok()) {
    mount.failed(name + " Write", restored, Required::Optional);
    return value;
  }
  mount.report.ok(name + " Write", "Current value " + text(value) + " written successfully");
  if (readable) {
    checkSiteRoundTrip(mount, site, value);
  }
  return value;
}

void checkSiderealTime(Mount& mount) {
  const double scope =
      rangedRead(mount, {"SiderealTime", "siderealtime", 0, 24, true, Required::Mandatory});
  if (std::isnan(scope)) {
    return;
  }
  mount.facts.canReadSiderealTime = true;
  const double days =
      std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() /
          86400.0 -
      10957.5;
  double expected =
      std::fmod(18.697374558 + 24.065709824419081 * days + mount.facts.siteLongitude / 15.0, 24);
  if (expected < 0) {
    expected += 24;
  }
  const double difference = raDifferenceArcSeconds(scope, expected) / 15.0 / 3600.0;
  const std::string both = "Scope: " + hms(scope) + ", ASCOM: " + hms(expected);
  if (difference <= 5.0 / 60.0) {
    mount.report.ok("SiderealTime", "Scope and ASCOM sidereal times agree, " + both);
  } else if (difference <= 1.0) {
    mount.report.info("SiderealTime", "Sidereal times are up to 1 hour different, " + both);
  } else {
    mount.report.issue("SiderealTime", "Sidereal times are more than 1 hour apart, " + both);
  }
}

// The targets are read before anything writes them: that read has to fail.
void reportTargetRead(Mount& mount, const std::string& test, const Answer& first) {
  if (first.failedWith(kValueNotSet)) {
    mount.report.ok(test, "Not Set exception generated on read before write");
  } else if (first.failedWith(kInvalidOperation)) {
    mount.report.ok(test, "InvalidOperationException generated as expected on read before write");
  } else if (first.ok()) {
    mount.report.issue(test, "Read before write should generate an error and didn't");
  } else {
    mount.failed(test, first, Required::Optional);
  }
}

void checkTracking(Mount& mount) {
  const nlohmann::json value = mount.read("Tracking Read", "tracking", Required::Mandatory);
  if (!value.is_boolean()) {
    return;
  }
  const bool original = value.get<bool>();
  mount.report.ok("Tracking Read", original ? "True" : "False");
  const std::string flipped = original ? "False" : "True";
  const Answer written = mount.put("tracking", "Tracking=" + flipped);
  if (!mount.facts.canSetTracking) {
    if (written.ok()) {
      mount.report.issue("Tracking Write", "CanSetTracking is false but no error generated");
    } else {
      mount.failed("Tracking Write", written, Required::MustNotBeImplemented,
                   "CanSetTracking is False");
    }
    return;
  }
  if (!written.ok()) {
    mount.failed("Tracking Write", written, Required::MustBeImplemented, "CanSetTracking is True");
    return;
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));
  if (mount.flag("tracking") != original) {
    mount.report.ok("Tracking Write", flipped);
  } else {
    mount.report.issue("Tracking Write", "Tracking didn't change state on write");
  }
  mount.put("tracking", std::string("Tracking=") + (original ? "True" : "False"));
  std::this_thread::sleep_for(std::chrono::seconds(1));
}

void checkTrackingRates(Mount& mount) {
  const nlohmann::json rates = mount.read("TrackingRates", "trackingrates", Required::Mandatory);
  if (!rates.is_array()) {
    return;
  }
  if (rates.empty()) {
    mount.report.issue("TrackingRates", "No drive rates returned");
    return;
  }
  mount.report.ok("TrackingRates", "Drive rates read OK: " + rates.dump());
  const nlohmann::json original =
      mount.read("TrackingRate Read", "trackingrate", Required::Mandatory);
  if (original.is_null()) {
    return;
  }
  mount.report.ok("TrackingRate Read", original.dump());
  for (const nlohmann::json& rate : rates) {
    const Answer written = mount.put("trackingrate", "TrackingRate=" + rate.dump());
    if (!written.ok()) {
      mount.failed("TrackingRate Write", written, Required::Optional);
    } else if (mount.get("trackingrate").value == rate) {
      mount.report.ok("TrackingRate Write", "Successfully set drive rate: " + rate.dump());
    } else {
      mount.report.issue("TrackingRate Write", "Unable to set drive rate: " + rate.dump());
    }
  }
  for (const char* bad : {"5", "-1"}) {
    mount.expectInvalidValue(
        "TrackingRate Write", mount.put("trackingrate", std::string("TrackingRate=") + bad),
        Required::Optional, std::string("Invalid Value exception generated as expected for ") + bad,
        std::string("No error generated when TrackingRate is set to an invalid value (") + bad +
            ")");
  }
  const Answer restored = mount.put("trackingrate", "TrackingRate=" + original.dump());
  if (!restored.ok()) {
    mount.failed("TrackingRate Write", restored, Required::Optional,
                 "Unable to restore original tracking rate");
  }
}

// "yyyy-MM-ddTHH:mm:ss.fffffffZ" moved by whole seconds.
std::string shiftedUtc(const std::string& iso, long seconds) {
  std::tm t{};
  double second = 0;
  if (std::sscanf(iso.c_str(), "%d-%d-%dT%d:%d:%lfZ", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour,
                  &t.tm_min, &second) != 6) {
    return iso;
  }
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  t.tm_sec = static_cast<int>(second);
  const std::time_t moved = ::timegm(&t) + seconds;
  std::tm out{};
  ::gmtime_r(&moved, &out);
  char buffer[40];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &out);
  char fraction[16];
  std::snprintf(fraction, sizeof fraction, "%.7f", second - static_cast<int>(second));
  return std::string(buffer) + (fraction + 1) + "Z";
}

void checkUtcDate(Mount& mount) {
  const nlohmann::json utc = mount.read("UTCDate Read", "utcdate", Required::Mandatory);
  if (!utc.is_string()) {
    return;
  }
  const std::string original = utc.get<std::string>();
  mount.report.ok("UTCDate Read", original);
  const Answer later = mount.put("utcdate", "UTCDate=" + encoded(shiftedUtc(original, 3600)));
  if (!later.ok()) {
    mount.failed("UTCDate Write", later, Required::Optional);
    return;
  }
  mount.report.ok("UTCDate Write", "New UTCDate written successfully");
  const Answer restored = mount.put("utcdate", "UTCDate=" + encoded(original));
  if (restored.ok()) {
    mount.report.ok("UTCDate Write", "Original UTCDate restored successfully");
  } else {
    mount.failed("UTCDate Write", restored, Required::Optional);
  }
}

}  // namespace

void checkProperties(Mount& mount) {
  Facts& f = mount.facts;
  const Answer targetDeclination = mount.get("targetdeclination");
  const Answer targetRightAscension = mount.get("targetrightascension");
  checkEnumeration(mount, "AlignmentMode", "alignmentmode", 3);
  f.canReadAltitude = !std::isnan(
      rangedRead(mount, {"Altitude", "altitude", 0, 90.0000001, false, Required::Optional}));
  sizeRead(mount, "ApertureArea", "aperturearea");
  sizeRead(mount, "ApertureDiameter", "aperturediameter");
  checkBoolean(mount, "AtHome", "athome", Required::Mandatory);
  checkBoolean(mount, "AtPark", "atpark", Required::Mandatory);
  f.canReadAzimuth = !std::isnan(
      rangedRead(mount, {"Azimuth", "azimuth", 0, 360.0000000001, false, Required::Optional}));
  rangedRead(mount, {"Declination", "declination", -90, 90, false, Required::Mandatory});
  checkOffsetRate(mount, "DeclinationRate", "declinationrate", "DeclinationRate",
                  f.canSetDeclinationRate);
  const nlohmann::json refraction =
      mount.read("DoesRefraction Read", "doesrefraction", Required::Optional);
  if (refraction.is_boolean()) {
    mount.report.ok("DoesRefraction Read", refraction.get<bool>() ? "True" : "False");
    const std::string opposite = refraction.get<bool>() ? "False" : "True";
    const Answer written = mount.put("doesrefraction", "DoesRefraction=" + opposite);
    if (written.ok()) {
      mount.report.ok("DoesRefraction Write", "Can set DoesRefraction to " + opposite);
    } else {
      mount.failed("DoesRefraction Write", written, Required::Optional);
    }
  }
  checkEnumeration(mount, "EquatorialSystem", "equatorialsystem", 5);
  sizeRead(mount, "FocalLength", "focallength");
  checkGuideRate(mount, "GuideRateDeclination", "guideratedeclination", f.guideRateDeclination);
  checkGuideRate(mount, "GuideRateRightAscension", "guideraterightascension",
                 f.guideRateRightAscension);
  checkBoolean(mount, "IsPulseGuiding", "ispulseguiding",
               f.canPulseGuide ? Required::MustBeImplemented : Required::MustNotBeImplemented);
  rangedRead(mount, {"RightAscension", "rightascension", 0, 24, true, Required::Mandatory});
  checkOffsetRate(mount, "RightAscensionRate", "rightascensionrate", "RightAscensionRate",
                  f.canSetRightAscensionRate);
  checkSiteValue(mount,
                 {"SiteElevation", "siteelevation", -300, 10000, 1000, "m", elevationTestValue});
  f.siteLatitude =
      checkSiteValue(mount, {"SiteLatitude", "sitelatitude", -90, 90, 45, "°", latitudeTestValue});
  f.siteLongitude = checkSiteValue(
      mount, {"SiteLongitude", "sitelongitude", -180, 180, 60, "°", longitudeTestValue});
  const nlohmann::json slewing = mount.read("Slewing", "slewing", Required::Optional);
  if (slewing == false) {
    mount.report.ok("Slewing", "False");
  } else if (slewing == true) {
    mount.report.issue("Slewing", "Slewing should be false and it reads as True");
  }
  const nlohmann::json settle =
      mount.read("SlewSettleTime Read", "slewsettletime", Required::Optional);
  if (settle.is_number()) {
    mount.report.ok("SlewSettleTime Read", settle.dump());
  }
  mount.expectInvalidValue("SlewSettleTime Write", mount.put("slewsettletime", "SlewSettleTime=-1"),
                           Required::Optional,
                           "Invalid Value exception generated as expected on set < 0",
                           "No error generated on set SlewSettleTime < 0 seconds");
  const int settleTime = settle.is_number() && settle.get<int>() >= 0 ? settle.get<int>() : 0;
  const Answer settleWritten =
      mount.put("slewsettletime", "SlewSettleTime=" + std::to_string(settleTime));
  if (settleWritten.ok()) {
    mount.report.ok("SlewSettleTime Write",
                    "Legal value " + std::to_string(settleTime) + " seconds written successfully");
  } else {
    mount.failed("SlewSettleTime Write", settleWritten, Required::Optional);
  }
  const nlohmann::json side = mount.read("SideOfPier Read", "sideofpier", Required::Optional);
  if (!side.is_null()) {
    mount.report.ok("SideOfPier Read", side.dump());
  }
  checkSiderealTime(mount);
  reportTargetRead(mount, "TargetDeclination Read", targetDeclination);
  reportTargetRead(mount, "TargetRightAscension Read", targetRightAscension);
  checkTracking(mount);
  checkTrackingRates(mount);
  checkUtcDate(mount);
}

}  // namespace tramox::conformance
