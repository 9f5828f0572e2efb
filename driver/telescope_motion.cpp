// Manual axis motion, guide pulses, tracking and the axis rates behind MoveAxis.
#include <cmath>
#include <limits>

#include "common/driver_error.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"
#include "rates/axis_rates.h"

namespace tramox::driver {

namespace {

// The controller's speed classes with the table values they run at on each axis.
struct SpeedClass {
  controller::Byte code;
  const char* logText;
  int primaryValue;
  int secondaryValue;
};

// In the order a requested rate is matched against them.
constexpr SpeedClass kSpeedClasses[] = {
    {0, "MoveEngine Speed=SMax", 9, 10},
    {1, "MoveEngine Speed=SMedium", 7, 8},
    {2, "MoveEngine Speed=SSideral", 3, 4},
};

constexpr double kRateToleranceDegPerSec = 0.00001;

// The controller takes durations as unsigned 16-bit milliseconds.
constexpr std::int32_t kMaxPulseMs = std::numeric_limits<std::uint16_t>::max();

}  // namespace

void TTelescope::MoveAxis(std::int32_t axe, double rateDegPerSec) {
  if (rateDegPerSec == 0.0) {
    stopFirst([&] { moveAxisAt(axe, rateDegPerSec); });
  } else {
    moveAxisAt(axe, rateDegPerSec);
  }
}

void TTelescope::moveAxisAt(std::int32_t axe, double rateDegPerSec) {
  // During the park motion only a stop goes through: it stops the park as well.
  if (FParked || (FParking && rateDegPerSec != 0.0)) {
    log("ASK for MoveAxis but Parked");
    throw DriverError(codes::kInvalidState, FailureReason::Parked, messages::kParked);
  }
  if (axe == axisTertiary) {
    log("ASK for MoveAxis tertiary rate=" + number(rateDegPerSec));
    throw DriverError(codes::kInvalidValue, "Value to low");
  }
  // An axis outside the enumeration has no speeds and no direction codes: refuse it as a
  // value not accepted, before anything reaches the controller.
  if (axe != axisPrimary && axe != axisSecondary) {
    throw DriverError(codes::kInvalidValue, rates::kInvalidAxisMessage);
  }
  const bool primary = axe == axisPrimary;
  log(std::string(primary ? "ASK for MoveAxis primary rate=" : "ASK for MoveAxis secondary rate=") +
      number(rateDegPerSec));
  const SpeedClass* chosen = nullptr;
  for (const SpeedClass& speed : kSpeedClasses) {
    const double v =
        rt_.state.AxisSpeedTable.value(primary ? speed.primaryValue : speed.secondaryValue);
    if (std::fabs(std::fabs(rateDegPerSec) - v) < kRateToleranceDegPerSec) {
      chosen = &speed;
      break;
    }
  }
  if (!chosen && rateDegPerSec != 0.0) {
    log("Rate impossible");
    throw DriverError(codes::kInvalidValue, "Invalid rate");
  }
  if (rateDegPerSec == 0.0) {
    log(primary ? "ASK for Stop Alpha" : "ASK for Stop Delta");
    if (FParking) {
      static_cast<void>(stopParkMotion());
    }
    if (!rt_.controller.StopTelescopeEngineDevice_DLL(primary ? 1 : 0, primary ? 0 : 1)) {
      throw DriverError(codes::kInvalidState, messages::kStopAxisImpossible);
    }
    return;
  }
  // North, south, east, west: the numbering of GuideDirections.
  const controller::Byte direction =
      primary ? (rateDegPerSec >= 0.0 ? 2 : 3) : (rateDegPerSec >= 0.0 ? 0 : 1);
  log(chosen->logText);
  if (!rt_.controller.MoveEngineDevice_DLL(direction, chosen->code)) {
    throw DriverError(codes::kInvalidState, messages::kMoveAxisImpossible);
  }
}

std::optional<bool> TTelescope::CanMoveAxis(std::int32_t axe) {
  switch (axe) {
    case axisPrimary:
    case axisSecondary:
      return true;
    case axisTertiary:
      return false;
    default:
      return std::nullopt;
  }
}

void TTelescope::PulseGuide(std::int32_t direction, std::int32_t durationMs) {
  requireNotParked();
  if (durationMs <= 0) {
    return;
  }
  struct Pulse {
    const char* name;
    controller::Byte west, south;
    bool primaryAxis;
  };
  static constexpr Pulse kPulses[] = {
      {"North", 0, 0, false}, {"South", 0, 1, false}, {"East", 0, 0, true}, {"West", 1, 0, true}};
  if (direction < guideNorth || direction > guideWest) {
    return;
  }
  const Pulse& pulse = kPulses[direction];
  log(std::string("ASK for PulseGuide ") + pulse.name + " of " + std::to_string(durationMs) + "ms");
  // Longer pulses cannot be handed on: the controller would run the low 16 bits only.
  if (durationMs > kMaxPulseMs) {
    throw DriverError(codes::kInvalidValue, "Duration out of [0,65535]");
  }
  const auto ms = static_cast<std::uint16_t>(durationMs);
  rt_.controller.PulseGuideAscomDevice_DLL(pulse.west, pulse.south, pulse.primaryAxis ? ms : 0,
                                           pulse.primaryAxis ? 0 : ms);
}

// Refused while parked or parking: the controller would not track, and a write that changed
// nothing must not report success.
void TTelescope::Set_Tracking(bool value) {
  requireNotParked();
  bool accepted = false;
  if (value) {
    accepted = rt_.controller.ReturnToSideralSpeedEngineDevice_DLL();
    if (accepted) {
      FTracking = true;
      setPaddleText("ButtonTracking", "UnTrack");
    }
    log("SET for Tracking=true");
  } else {
    accepted = rt_.controller.Stop_ALL_TelescopeEngineDevice_DLL();
    if (accepted) {
      FTracking = false;
      setPaddleText("ButtonTracking", "Track");
    }
    log("SET for Tracking=false");
  }
  // The profile records the state the mount is really in, refused or not.
  if (profileAvailable()) {
    writeTrackingProfile(FTracking ? "Yes" : "No");
  }
  if (!accepted) {
    throw DriverError(codes::kInvalidState, value ? messages::kTrackingStartImpossible
                                                  : messages::kTrackingStopImpossible);
  }
}

std::shared_ptr<rates::TRates> TTelescope::AxisRates(std::int32_t axis) {
  return rates::MakeAxisRates(rt_.controller, rt_.state.AxisSpeedTable, rt_.log,
                              *rt_.services.locale, axis);
}

}  // namespace tramox::driver
