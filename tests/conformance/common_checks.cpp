// The members every device has, the mount's preparation and its Can properties.
#include <cctype>
#include <string>
#include <vector>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

void setConnected(Mount& mount, bool wanted) {
  const std::string value = wanted ? "True" : "False";
  const Answer written = mount.put("connected", "Connected=" + value);
  if (!written.ok()) {
    mount.failed("Connected", written, Required::Mandatory);
    return;
  }
  const Answer read = mount.get("connected");
  if (read.ok() && read.value == wanted) {
    mount.report.ok("Connected", "set " + value + " and read back");
  } else {
    mount.report.issue("Connected", "set " + value + " but read " + read.value.dump());
  }
}

void checkText(Mount& mount, const std::string& test, const std::string& member) {
  const nlohmann::json value = mount.read(test, member, Required::Mandatory);
  if (value.is_null()) {
    return;
  }
  if (!value.is_string()) {
    mount.report.issue(test, "not a string: " + value.dump());
  } else if (value.get<std::string>().empty()) {
    mount.report.info(test, "empty string");
  } else {
    mount.report.ok(test, value.get<std::string>());
  }
}

}  // namespace

void checkCommonMembers(Mount& mount) {
  setConnected(mount, true);
  setConnected(mount, false);
  setConnected(mount, true);
  checkText(mount, "Description", "description");
  checkText(mount, "DriverInfo", "driverinfo");
  checkText(mount, "DriverVersion", "driverversion");
  const nlohmann::json version =
      mount.read("InterfaceVersion", "interfaceversion", Required::Mandatory);
  if (version.is_number_integer() && version.get<int>() == 2) {
    mount.report.ok("InterfaceVersion", "2");
  } else if (!version.is_null()) {
    mount.report.issue("InterfaceVersion", "expected 2, read " + version.dump());
  }
  checkText(mount, "Name", "name");
  const nlohmann::json actions =
      mount.read("SupportedActions", "supportedactions", Required::Mandatory);
  if (actions.is_array()) {
    mount.report.ok("SupportedActions", std::to_string(actions.size()) + " actions");
  } else if (!actions.is_null()) {
    mount.report.issue("SupportedActions", "not a list: " + actions.dump());
  }
  const Answer action = mount.put("action", "Action=NoSuchAction&Parameters=");
  if (action.failedWith(kActionNotImplemented) || action.failedWith(kNotImplemented)) {
    mount.report.ok("Action", "an unknown action is refused as not implemented");
  } else {
    mount.report.issue("Action", "an unknown action answered " + action.failure());
  }
}

void checkBeforeRun(Mount& mount) {
  const std::string test = "Mount Safety";
  const nlohmann::json atPark = mount.read(test, "atpark", Required::Mandatory);
  if (atPark == true) {
    const Answer unparked = mount.put("unpark");
    if (unparked.ok()) {
      mount.report.info(test, "Scope is parked, so it has been unparked for testing");
    } else {
      mount.failed(test, unparked, Required::MustBeImplemented, "CanUnpark is true");
    }
  } else if (atPark == false) {
    mount.report.info(test, "Scope is not parked, continuing testing");
  }
  const Answer tracking = mount.put("tracking", "Tracking=True");
  if (tracking.ok()) {
    mount.report.info(test, "Scope tracking has been enabled");
  } else {
    mount.report.info(test, "Tracking could not be set true: " + tracking.failure());
  }
  const nlohmann::json utc = mount.read("TimeCheck", "utcdate", Required::Mandatory);
  if (utc.is_string()) {
    mount.report.info("TimeCheck", "Mount UTCDate: " + utc.get<std::string>());
  }
}

void checkCanProperties(Mount& mount) {
  Facts& f = mount.facts;
  const std::vector<std::pair<const char*, bool*>> flags = {
      {"CanFindHome", &f.canFindHome},
      {"CanPark", &f.canPark},
      {"CanPulseGuide", &f.canPulseGuide},
      {"CanSetDeclinationRate", &f.canSetDeclinationRate},
      {"CanSetGuideRates", &f.canSetGuideRates},
      {"CanSetPark", &f.canSetPark},
      {"CanSetPierSide", &f.canSetPierSide},
      {"CanSetRightAscensionRate", &f.canSetRightAscensionRate},
      {"CanSetTracking", &f.canSetTracking},
      {"CanSlew", &f.canSlew},
      {"CanSlewAltAz", &f.canSlewAltAz},
      {"CanSlewAltAzAsync", &f.canSlewAltAzAsync},
      {"CanSlewAsync", &f.canSlewAsync},
      {"CanSync", &f.canSync},
      {"CanSyncAltAz", &f.canSyncAltAz},
      {"CanUnPark", &f.canUnpark},
  };
  for (const auto& [name, target] : flags) {
    std::string member = name;
    for (char& c : member) {
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    const nlohmann::json value = mount.read(name, member, Required::Mandatory);
    if (value.is_boolean()) {
      *target = value.get<bool>();
      mount.report.ok(name, *target ? "True" : "False");
    } else if (!value.is_null()) {
      mount.report.issue(name, "not a boolean: " + value.dump());
    }
  }
  f.german = mount.get("alignmentmode").value == 2;
  if (f.canSetPierSide && !f.german) {
    mount.report.issue("CanSetPierSide",
                       "AlignmentMode is not GermanPolar but CanSetPierSide is true");
  }
  if (f.canUnpark && !f.canPark) {
    mount.report.issue("CanUnPark", "CanUnPark is true but CanPark is false");
  }
}

void checkAfterRun(Mount& mount) {
  const Answer stopped = mount.put("tracking", "Tracking=False");
  if (!mount.facts.canSetTracking) {
    mount.report.info("Mount Safety", "Tracking can't be turned off for this mount");
  } else if (stopped.ok()) {
    mount.report.ok("Mount Safety", "Tracking stopped to protect your mount.");
  } else {
    mount.report.issue("Mount Safety", "Tracking could not be stopped: " + stopped.failure());
  }
}

}  // namespace tramox::conformance
