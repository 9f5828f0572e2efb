// Construction and destruction of the driver object.
#include "driver/telescope.h"

namespace tramox::driver {

namespace {

// GetTimeZoneInformation's answer in whole hours (truncated toward zero, so UTC+05:30 gives
// -5); nullopt when the zone query failed.
std::optional<std::int32_t> wholeHourOffset(const platform::TimeZoneInfo& zone) {
  std::int32_t minutes = 0;
  switch (zone.result) {
    case 0:
      minutes = zone.bias;
      break;
    case 1:
      minutes = zone.bias + zone.standardBias;
      break;
    case 2:
      minutes = zone.bias + zone.daylightBias;
      break;
    default:
      return std::nullopt;
  }
  return minutes / 60;
}

}  // namespace

TTelescope::TTelescope(DriverRuntime& runtime) : rt_(runtime) {
  ProcessState& state = rt_.state;
  ++state.liveObjects;
  if (!state.ConstructionGuard) {
    return;
  }
  FConnected = false;
  state.TargetRightAscensionSet = false;
  state.TargetDeclinationSet = false;
  rt_.controller.LoadControllerLibrary();
  state.ConstructionGuard = false;
  if (auto hours = wholeHourOffset(rt_.services.clock->timeZone())) {
    state.UtcOffsetHours = *hours;
  }
  // The log lock belongs to the log and lives as long as the module: nothing to create here.
}

TTelescope::~TTelescope() {
  ProcessState& state = rt_.state;
  // The paddle window stays open, but a paddle still bound to a destroyed object would call
  // it from its next event: cut it loose, so that its buttons do nothing from now on.
  if (state.paddle && state.paddleOwner == this) {
    state.paddle->Unbind();
    state.paddleOwner = nullptr;
  }
  if (--state.liveObjects == 0) {
    state.ConstructionGuard = true;
  }
}

}  // namespace tramox::driver
