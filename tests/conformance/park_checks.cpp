// Park and Unpark, and every motion refused while parked.
#include <chrono>
#include <string>
#include <vector>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

struct ParkedCall {
  const char* name;
  bool Facts::*can;  // nullptr: tried whatever the mount can
  const char* member;
  std::string parameters;
  int axis = -1;  // MoveAxis: tried only on an axis that can move
};

void checkRefusedWhileParked(Mount& mount) {
  const std::string ra = text(mount.raFromSiderealTime(1.0));
  const std::string targets = "TargetRightAscension=" + ra;
  const std::vector<ParkedCall> calls = {
      {"AbortSlew", nullptr, "abortslew", ""},
      {"FindHome", &Facts::canFindHome, "findhome", ""},
      {"MoveAxis Primary", nullptr, "moveaxis", "Axis=0&Rate=0", 0},
      {"MoveAxis Secondary", nullptr, "moveaxis", "Axis=1&Rate=0", 1},
      {"MoveAxis Tertiary", nullptr, "moveaxis", "Axis=2&Rate=0", 2},
      {"PulseGuide", &Facts::canPulseGuide, "pulseguide", "Direction=2&Duration=0"},
      {"SlewToCoordinates", &Facts::canSlew, "slewtocoordinates",
       "RightAscension=" + ra + "&Declination=0"},
      {"SlewToCoordinatesAsync", &Facts::canSlewAsync, "slewtocoordinatesasync",
       "RightAscension=" + ra + "&Declination=0"},
      {"SlewToTarget", &Facts::canSlew, "slewtotarget", ""},
      {"SlewToTargetAsync", &Facts::canSlewAsync, "slewtotargetasync", ""},
      {"SyncToCoordinates", &Facts::canSync, "synctocoordinates",
       "RightAscension=" + ra + "&Declination=0"},
      {"SyncToTarget", &Facts::canSync, "synctotarget", ""},
      {"Tracking", &Facts::canSetTracking, "tracking", "Tracking=True"},
  };
  const Facts& f = mount.facts;
  for (const ParkedCall& call : calls) {
    const std::string member = call.member;
    if (call.can && !(f.*call.can)) {
      continue;
    }
    if (call.axis >= 0 && !f.canMoveAxis[call.axis]) {
      continue;
    }
    if (member == "abortslew" && !(f.canSlew || f.canSlewAsync || f.canSlewAltAz)) {
      continue;
    }
    const std::string test = std::string("Parked:") + call.name;
    if (!mount.flag("atpark")) {
      mount.report.issue(
          test, std::string("Not parked after Park, ") + call.name + " when parked test skipped");
      continue;
    }
    if (member.find("target") != std::string::npos) {
      mount.put("targetrightascension", targets);
      mount.put("targetdeclination", "TargetDeclination=0");
    }
    const Answer answer = mount.put(member, call.parameters);
    if (answer.ok()) {
      mount.report.issue(test, std::string(call.name) + " didn't raise an error when Parked");
    } else {
      mount.report.ok(test, std::string(call.name) +
                                " did raise an exception when Parked: " + answer.failure());
    }
    if (member.find("async") != std::string::npos) {
      mount.waitForSlew();
    }
    if (!mount.flag("atpark")) {
      mount.report.issue(test,
                         std::string("Telescope was unparked by the ") + call.name + " command");
    }
  }
}

// Parking takes the mount's own time: Park starts it, AtPark says when it is over, never
// while Slewing still reads true.
bool waitForPark(Mount& mount) {
  bool parkedWhileSlewing = false;
  const bool parked = Mount::waitUntil(
      [&] {
        const bool atPark = mount.flag("atpark");
        if (atPark && mount.flag("slewing")) {
          parkedWhileSlewing = true;
        }
        return atPark;
      },
      std::chrono::seconds(120));
  if (parkedWhileSlewing) {
    mount.report.issue("Park", "AtPark read true while Slewing was still true");
  }
  return parked;
}

void checkUnpark(Mount& mount) {
  if (!mount.facts.canUnpark) {
    const Answer answer = mount.put("unpark");
    if (answer.ok()) {
      mount.report.issue("UnPark", "No exception thrown by UnPark when CanUnPark is false");
    } else {
      mount.failed("UnPark", answer, Required::MustNotBeImplemented, "CanUnpark is false");
    }
    return;
  }
  const Answer answer = mount.put("unpark");
  if (!answer.ok()) {
    mount.failed("UnPark", answer, Required::MustBeImplemented, "CanUnpark is true");
    return;
  }
  if (!Mount::waitUntil([&] { return !mount.flag("atpark"); }, std::chrono::seconds(120))) {
    mount.report.issue("UnPark", "AtPark still true after Unpark");
  }
  mount.put("tracking", "Tracking=True");
  mount.report.ok("UnPark", "Success");
  const Answer again = mount.put("unpark");
  if (again.ok()) {
    mount.report.ok("UnPark", "Success when already unparked");
  } else {
    mount.report.issue("UnPark",
                       "Exception when calling UnPark two times in succession: " + again.failure());
  }
}

}  // namespace

void checkParkWithoutPosition(Mount& mount) {
  const std::string test = "Park (no park position)";
  if (!mount.facts.canPark) {
    return;
  }
  if (alpaca::testing::AlpacaServer::external()) {
    mount.report.info(test, "not checked: the server's settings are not the suite's own");
    return;
  }
  const Answer answer = mount.put("park");
  if (answer.failedWith(kInvalidOperation)) {
    mount.report.ok(test, "refused as an invalid operation: " + answer.message);
  } else if (answer.ok()) {
    mount.report.issue(test, "Park answered success with no park position stored");
  } else {
    mount.report.issue(test, "expected 0x40B, answered " + answer.failure());
  }
  if (mount.flag("atpark") || mount.flag("slewing")) {
    mount.put("abortslew");
    mount.put("unpark");
  }
}

void checkParkAndUnpark(Mount& mount) {
  if (!mount.facts.canPark) {
    const Answer answer = mount.put("park");
    if (answer.ok()) {
      mount.report.issue("Park", "CanPark is false but no exception was generated on use");
    } else {
      mount.failed("Park", answer, Required::MustNotBeImplemented, "CanPark is False");
    }
    return;
  }
  if (mount.flag("atpark")) {
    mount.report.issue("Park", "AtPark still true despite an earlier successful unpark");
    return;
  }
  const Answer parked = mount.put("park");
  if (!parked.ok()) {
    mount.failed("Park", parked, Required::MustBeImplemented, "CanPark is true");
    return;
  }
  if (!waitForPark(mount)) {
    mount.report.issue("Park", "AtPark did not become true within 120 s of Park");
    return;
  }
  mount.report.ok("Park", "Success");
  const Answer again = mount.put("park");
  if (again.ok()) {
    mount.report.ok("Park", "Success if already parked");
  } else {
    mount.report.issue("Park",
                       "Exception when calling Park two times in succession: " + again.failure());
  }
  checkRefusedWhileParked(mount);
  checkUnpark(mount);
}

}  // namespace tramox::conformance
