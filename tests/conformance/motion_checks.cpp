// CanMoveAxis, AbortSlew, AxisRates, FindHome, MoveAxis and PulseGuide.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

const char* const kAxisNames[] = {"Primary", "Secondary", "Tertiary"};
constexpr auto kMoveTime = std::chrono::seconds(2);

std::string axisQuery(int axis) {
  return "Axis=" + std::to_string(axis);
}

// The axis's rates as (minimum, maximum) pairs; false after reporting why there are none.
bool axisRates(Mount& mount, const std::string& test, int axis,
               std::vector<std::pair<double, double>>& rates) {
  const Answer answer = mount.get("axisrates", axisQuery(axis));
  if (!answer.ok() || !answer.value.is_array()) {
    mount.report.issue(test, "Unable to get an AxisRates list: " + answer.failure());
    return false;
  }
  for (const nlohmann::json& rate : answer.value) {
    if (!rate.contains("Minimum") || !rate.contains("Maximum")) {
      mount.report.issue(test, "a rate without Minimum and Maximum: " + rate.dump());
      return false;
    }
    rates.emplace_back(rate["Minimum"].get<double>(), rate["Maximum"].get<double>());
  }
  return true;
}

void checkAxisRates(Mount& mount, int axis) {
  const std::string test = std::string("AxisRate:") + kAxisNames[axis];
  std::vector<std::pair<double, double>> rates;
  if (!axisRates(mount, test, axis, rates)) {
    return;
  }
  if (rates.empty()) {
    mount.report.ok(test, "Empty axis rate returned");
    return;
  }
  for (const auto& [low, high] : rates) {
    if (low < 0 || high < 0) {
      mount.report.issue(test,
                         "Minimum or maximum rate is negative: " + text(low) + ", " + text(high));
    } else if (low > high) {
      mount.report.issue(
          test, "Maximum rate is less than minimum rate: " + text(low) + ", " + text(high));
    } else {
      mount.report.ok(test,
                      "Axis rate minimum: " + text(low) + " Axis rate maximum: " + text(high));
    }
  }
  bool overlap = false;
  bool duplicate = false;
  for (std::size_t i = 0; i < rates.size(); ++i) {
    for (std::size_t j = 0; j < rates.size(); ++j) {
      if (i == j) {
        continue;
      }
      overlap |= rates[i].first >= rates[j].first && rates[i].first <= rates[j].second;
      duplicate |= rates[i] == rates[j];
    }
  }
  if (overlap) {
    mount.report.issue(test, "Overlapping axis rates found");
  } else {
    mount.report.ok(test, "No overlapping axis rates found");
  }
  if (duplicate) {
    mount.report.issue(test, "Duplicate axis rates found");
  } else {
    mount.report.ok(test, "No duplicate axis rates found");
  }
}

Answer moveAxis(Mount& mount, int axis, double rate) {
  return mount.put("moveaxis", axisQuery(axis) + "&Rate=" + text(rate));
}

// Moves at this rate, each way, for the checker's two seconds; Slewing must follow the motion.
bool moveBothWays(Mount& mount, const std::string& test, int axis, double rate, bool watchSlewing) {
  for (const double signedRate : {rate, -rate}) {
    const std::string way = signedRate > 0 ? "positive" : "negative";
    const Answer started = moveAxis(mount, axis, signedRate);
    if (!started.ok()) {
      mount.failed(test, started, Required::MustBeImplemented, "when setting rate " + text(rate));
      return false;
    }
    if (watchSlewing && !mount.flag("slewing")) {
      mount.report.issue(test, "Slewing is not true immediately after axis starts moving in " +
                                   way + " direction");
    }
    std::this_thread::sleep_for(kMoveTime);
    if (watchSlewing && !mount.flag("slewing")) {
      mount.report.issue(test,
                         "Slewing is not true after 2 seconds moving in " + way + " direction");
    }
    moveAxis(mount, axis, 0);
    if (watchSlewing && mount.flag("slewing")) {
      mount.report.issue(
          test, "Slewing incorrectly remains true after stopping " + way + " axis movement");
      return false;
    }
  }
  return true;
}

// Tracking is left as it was by a move, whichever it was.
void checkTrackingKept(Mount& mount, const std::string& test, int axis, double rate) {
  const bool start = mount.flag("tracking");
  moveAxis(mount, axis, rate);
  std::this_thread::sleep_for(kMoveTime);
  moveAxis(mount, axis, 0);
  if (mount.flag("tracking") != start) {
    mount.put("tracking", std::string("Tracking=") + (start ? "True" : "False"));
    mount.report.issue(test, "Tracking state not correctly restored after MoveAxis");
    return;
  }
  if (!mount.facts.canSetTracking) {
    mount.report.ok(test, "Tracking state correctly restored after MoveAxis");
    return;
  }
  mount.put("tracking", std::string("Tracking=") + (start ? "False" : "True"));
  moveAxis(mount, axis, -rate);
  std::this_thread::sleep_for(kMoveTime);
  moveAxis(mount, axis, 0);
  if (mount.flag("tracking") == !start) {
    mount.report.ok(test, "Tracking state correctly retained for both tracking states");
  } else {
    mount.report.issue(test, "Tracking state not retained when tracking is " +
                                 std::string(start ? "false" : "true"));
  }
  mount.put("tracking", std::string("Tracking=") + (start ? "True" : "False"));
}

void checkMoveAxis(Mount& mount, int axis) {
  const std::string test = std::string("MoveAxis ") + kAxisNames[axis];
  if (!mount.facts.canMoveAxis[axis]) {
    const Answer answer = moveAxis(mount, axis, 0);
    if (answer.ok()) {
      mount.report.issue(test, "CanMoveAxis is False but MoveAxis did not fail");
    } else {
      mount.failed(test, answer, Required::MustNotBeImplemented, "CanMoveAxis is False");
    }
    return;
  }
  std::vector<std::pair<double, double>> rates;
  if (!axisRates(mount, test, axis, rates) || rates.empty()) {
    return;
  }
  double lowest = rates.front().first;
  double highest = rates.front().second;
  for (const auto& [low, high] : rates) {
    lowest = std::min(lowest, low);
    highest = std::max(highest, high);
  }
  const Answer zero = moveAxis(mount, axis, 0);
  if (!zero.ok()) {
    mount.report.issue(test, "Unable to set a movement rate of zero: " + zero.failure());
    return;
  }
  mount.report.ok(test, "Can successfully set a movement rate of zero");
  const double below = lowest > 0 ? lowest / 2 : -highest - 1;
  mount.expectInvalidValue(
      test, moveAxis(mount, axis, below), Required::MustBeImplemented,
      "Exception correctly generated below lowest rate (" + text(below) + ")",
      "No exception raised when move axis value < minimum rate: " + text(below));
  mount.expectInvalidValue(
      test, moveAxis(mount, axis, highest + 1), Required::MustBeImplemented,
      "Exception correctly generated above highest rate (" + text(highest + 1) + ")",
      "No exception raised when move axis value > maximum rate: " + text(highest + 1));
  if (moveBothWays(mount, test, axis, lowest, false)) {
    mount.report.ok(test, "Successfully moved axis at minimum rate: " + text(lowest));
  }
  if (mount.flag("slewing")) {
    mount.report.issue(test, "Slewing was true before start of MoveAxis but should be false");
    return;
  }
  if (!moveBothWays(mount, test, axis, highest, true)) {
    return;
  }
  mount.report.ok(test, "Successfully moved axis at maximum rate: " + text(highest));
  checkTrackingKept(mount, test, axis, highest);
}

void checkPulseGuide(Mount& mount) {
  const std::string test = "PulseGuide";
  if (!mount.facts.canPulseGuide) {
    const Answer answer = mount.put("pulseguide", "Direction=2&Duration=0");
    if (answer.ok()) {
      mount.report.issue(test, "CanPulseGuide is False but PulseGuide did not fail");
    } else {
      mount.failed(test, answer, Required::MustNotBeImplemented, "CanPulseGuide is False");
    }
    return;
  }
  if (mount.flag("ispulseguiding")) {
    mount.report.issue(test, "IsPulseGuiding is True when not pulse guiding");
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  const Answer answer = mount.put("pulseguide", "Direction=2&Duration=2000");
  if (!answer.ok()) {
    mount.failed(test, answer, Required::MustBeImplemented, "CanPulseGuide is True");
    return;
  }
  if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(1500)) {
    if (mount.flag("ispulseguiding")) {
      mount.report.issue(test, "Synchronous pulse guide expected but IsPulseGuiding is TRUE");
    } else {
      mount.report.ok(test, "Synchronous pulse guide found OK");
    }
    return;
  }
  if (!mount.flag("ispulseguiding")) {
    mount.report.issue(test, "Asynchronous pulse guide expected but IsPulseGuiding is FALSE");
    return;
  }
  if (Mount::waitUntil([&] { return !mount.flag("ispulseguiding"); }, std::chrono::seconds(6))) {
    mount.report.ok(test, "Asynchronous pulse guide found OK");
  } else {
    mount.report.issue(test, "IsPulseGuiding is still TRUE 6 seconds beyond expected time");
  }
}

}  // namespace

void checkCanMoveAxis(Mount& mount) {
  for (int axis = 0; axis < 3; ++axis) {
    const std::string test = std::string("CanMoveAxis:") + kAxisNames[axis];
    const Answer answer = mount.get("canmoveaxis", axisQuery(axis));
    if (answer.ok() && answer.value.is_boolean()) {
      mount.facts.canMoveAxis[axis] = answer.value.get<bool>();
      mount.report.ok(test, answer.value.get<bool>() ? "True" : "False");
    } else {
      mount.failed(test, answer, Required::Mandatory);
    }
  }
}

void checkMotionMethods(Mount& mount) {
  const Answer abort = mount.put("abortslew");
  if (abort.ok()) {
    mount.report.ok("AbortSlew", "AbortSlew OK when not slewing");
  } else {
    mount.failed("AbortSlew", abort, Required::Optional);
  }
  for (int axis = 0; axis < 3; ++axis) {
    checkAxisRates(mount, axis);
  }
  if (mount.facts.canFindHome) {
    const Answer home = mount.put("findhome");
    if (!home.ok()) {
      mount.failed("FindHome", home, Required::MustBeImplemented, "CanFindHome is True");
    } else if (Mount::waitUntil([&] { return mount.flag("athome"); }, std::chrono::seconds(60))) {
      mount.report.ok("FindHome", "Found home OK.");
    } else {
      mount.report.info("FindHome", "Failed to Find home within 1 minute");
    }
  } else {
    const Answer home = mount.put("findhome");
    if (home.ok()) {
      mount.report.issue("FindHome", "CanFindHome is False but FindHome did not fail");
    } else {
      mount.failed("FindHome", home, Required::MustNotBeImplemented, "CanFindHome is False");
    }
  }
  for (int axis = 0; axis < 3; ++axis) {
    checkMoveAxis(mount, axis);
  }
  checkPulseGuide(mount);
  checkExtendedPulseGuide(mount);
}

}  // namespace tramox::conformance
