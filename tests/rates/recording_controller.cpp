#include "tests/rates/recording_controller.h"

#include <cstdint>
#include <string>

#include "controller/entry_point_table.h"
#include "controller/entry_points.h"

namespace tramox::testing {

namespace {

using controller::Byte;

ControllerScript script;

Byte answer(const char* name) {
  return script.refused.count(name) != 0 ? 0 : 1;
}

Byte record(const char* name, const std::string& arguments = "") {
  script.calls.push_back(arguments.empty() ? std::string(name) : name + (" " + arguments));
  return answer(name);
}

Byte TRAMOX_STDCALL accept() {
  return 1;
}
Byte TRAMOX_STDCALL initPanel(std::int32_t, std::int32_t, std::int32_t) {
  return 1;
}
Byte TRAMOX_STDCALL initCodeurs(std::int32_t*, std::int32_t, double, double) {
  return answer("InitCodeursDevice_DLL");
}
Byte TRAMOX_STDCALL calibrate(double, double) {
  return 1;
}
Byte TRAMOX_STDCALL alpha(double* raRad) {
  *raRad = script.raRad;
  return 1;
}
Byte TRAMOX_STDCALL delta(double* decRad) {
  *decRad = script.decRad;
  return 1;
}
Byte TRAMOX_STDCALL moveEngine(Byte direction, Byte speedClass) {
  return record("MoveEngineDevice_DLL",
                std::to_string(direction) + " " + std::to_string(speedClass));
}
Byte TRAMOX_STDCALL stopEngine(Byte primary, Byte secondary) {
  return record("StopTelescopeEngineDevice_DLL",
                std::to_string(primary) + " " + std::to_string(secondary));
}
Byte TRAMOX_STDCALL stopAll() {
  return record("Stop_ALL_TelescopeEngineDevice_DLL");
}
Byte TRAMOX_STDCALL sidereal() {
  return record("ReturnToSideralSpeedEngineDevice_DLL");
}
Byte TRAMOX_STDCALL speeds(double* v1, double* v2, double* v3, double* v4, double* v5, double* v6,
                           double* v7, double* v8, double* v9, double* v10) {
  ++script.getSpeedCalls;
  double* out[] = {v1, v2, v3, v4, v5, v6, v7, v8, v9, v10};
  for (std::size_t i = 0; i < 10; ++i) {
    *out[i] = script.speedsRadPerSec[i];
  }
  return 1;
}
Byte TRAMOX_STDCALL kingPec(Byte* king, double*, std::int32_t, double*, std::int32_t, double*,
                            std::int32_t, Byte* pec) {
  *king = 0;
  *pec = 0;
  return 1;
}
Byte TRAMOX_STDCALL slewing(std::int32_t) {
  return 0;
}
Byte TRAMOX_STDCALL seek(double*, double*, double*, double*, double*) {
  return 1;
}
Byte TRAMOX_STDCALL pulse(Byte, Byte, std::uint16_t, std::uint16_t) {
  return 1;
}
Byte TRAMOX_STDCALL notGuiding() {
  return 0;
}
Byte TRAMOX_STDCALL isParked(Byte* parked) {
  *parked = script.parked ? 1 : 0;
  return 1;
}
Byte TRAMOX_STDCALL park(double, double) {
  const Byte ok = record("ParkTel_DLL");
  if (ok != 0) {
    script.parked = true;
  }
  return ok;
}
Byte TRAMOX_STDCALL unpark() {
  const Byte ok = record("UnParkTel_DLL");
  if (ok != 0) {
    script.parked = false;
  }
  return ok;
}
Byte TRAMOX_STDCALL startKing(double, double, double, double) {
  return 1;
}
Byte TRAMOX_STDCALL startPec(double*, std::int32_t, double*, std::int32_t, double*, std::int32_t) {
  return 1;
}
Byte TRAMOX_STDCALL west() {
  return 0;
}
Byte TRAMOX_STDCALL german() {
  return script.german ? 1 : 0;
}

void* functionFor(controller::EntryPoint id) {
  using E = controller::EntryPoint;
  using fakes::exportOf;
  switch (id) {
    case E::Init_telescope_Panel_DLL:
      return exportOf(&initPanel);
    case E::InitCodeursDevice_DLL:
      return exportOf(&initCodeurs);
    case E::CalibrateCodeursDevice_DLL:
      return exportOf(&calibrate);
    case E::GetAlphaCodeursDevice_DLL:
      return exportOf(&alpha);
    case E::GetDeltaCodeursDevice_DLL:
      return exportOf(&delta);
    case E::MoveEngineDevice_DLL:
      return exportOf(&moveEngine);
    case E::StopTelescopeEngineDevice_DLL:
      return exportOf(&stopEngine);
    case E::Stop_ALL_TelescopeEngineDevice_DLL:
      return exportOf(&stopAll);
    case E::ReturnToSideralSpeedEngineDevice_DLL:
      return exportOf(&sidereal);
    case E::GetSpeed_DLL:
      return exportOf(&speeds);
    case E::GetKingPEC_DLL:
      return exportOf(&kingPec);
    case E::IsAxisSlewing_DLL:
      return exportOf(&slewing);
    case E::InitTelescopeSeekerDevice_DLL:
      return exportOf(&seek);
    case E::PulseGuideAscomDevice_DLL:
      return exportOf(&pulse);
    case E::IsPulseGuidingDevice_DLL:
      return exportOf(&notGuiding);
    case E::IsParkedDevice_DLL:
      return exportOf(&isParked);
    case E::ParkTel_DLL:
      return exportOf(&park);
    case E::UnParkTel_DLL:
      return exportOf(&unpark);
    case E::StartKingDevice_DLL:
      return exportOf(&startKing);
    case E::StartPecSpeedEngineDevice_DLL:
      return exportOf(&startPec);
    case E::TelescopeOuest_DLL:
      return exportOf(&west);
    case E::GermanMount_DLL:
      return exportOf(&german);
    default:
      return exportOf(&accept);
  }
}

}  // namespace

ControllerScript& controllerScript() {
  return script;
}
void resetControllerScript() {
  script = ControllerScript{};
}

fakes::FakeLibraryLoader::Exports recordingControllerExports() {
  fakes::FakeLibraryLoader::Exports exports;
  for (const auto& row : controller::kEntryPoints) {
    exports[row.exportedName] = functionFor(row.id);
  }
  return exports;
}

}  // namespace tramox::testing
