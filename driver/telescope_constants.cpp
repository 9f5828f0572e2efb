// Capability flags and identity strings: fixed answers, each with its log lines.
#include "driver/telescope.h"

namespace tramox::driver {

namespace {
constexpr const char* kDriverInfo = "Driver ASCOM for TRAMOX";
}  // namespace

#define TRAMOX_CONSTANT_FLAG(Member, value) \
  bool TTelescope::Get_##Member() {         \
    logAsk(#Member);                        \
    logResult(value);                       \
    return value;                           \
  }

TRAMOX_CONSTANT_FLAG(CanFindHome, false)
TRAMOX_CONSTANT_FLAG(CanPark, true)
TRAMOX_CONSTANT_FLAG(CanPulseGuide, true)
TRAMOX_CONSTANT_FLAG(CanSetPark, true)
TRAMOX_CONSTANT_FLAG(CanSetPierSide, false)
TRAMOX_CONSTANT_FLAG(CanSetTracking, true)
TRAMOX_CONSTANT_FLAG(CanSlew, true)
TRAMOX_CONSTANT_FLAG(CanSlewAltAz, false)
TRAMOX_CONSTANT_FLAG(CanSlewAltAzAsync, false)
TRAMOX_CONSTANT_FLAG(CanSlewAsync, true)
TRAMOX_CONSTANT_FLAG(CanSync, true)
TRAMOX_CONSTANT_FLAG(CanSyncAltAz, false)
TRAMOX_CONSTANT_FLAG(CanUnpark, true)
TRAMOX_CONSTANT_FLAG(DoesRefraction, false)

#undef TRAMOX_CONSTANT_FLAG

std::int32_t TTelescope::Get_EquatorialSystem() {
  logAsk("EquatorialSystem");
  logResult("equLocalTopocentric");
  return equLocalTopocentric;
}

std::int32_t TTelescope::Get_InterfaceVersion() {
  logAsk("InterfaceVersion");
  logResult("2");
  return 2;
}

std::string TTelescope::Get_Name() {
  logAsk("Name");
  logResult("TRAMOX");
  return "TRAMOX";
}

std::string TTelescope::Get_DriverInfo() {
  logAsk("DriverInfo");
  logResult(kDriverInfo);
  return kDriverInfo;
}

std::string TTelescope::Get_DriverVersion() {
  logAsk("DriverVersion");
  logResult("1.0");
  return "1.0";
}

std::string TTelescope::Get_Description() {
  return "";
}

}  // namespace tramox::driver
