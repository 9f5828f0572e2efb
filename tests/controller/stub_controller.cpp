#include "tests/controller/stub_controller.h"

#include <algorithm>

#include "controller/entry_point_table.h"
#include "controller/entry_points.h"

namespace tramox::controller::testing {
namespace {

int calls = 0;

Byte TRAMOX_STDCALL noArguments() {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL threeInts(std::int32_t, std::int32_t, std::int32_t) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL initCodeurs(std::int32_t*, std::int32_t, double, double) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL twoDoubles(double, double) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL oneDoublePointer(double*) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL twoBytes(Byte, Byte) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL tenDoubles(double*, double*, double*, double*, double*, double*, double*,
                               double*, double*, double*) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL kingPec(Byte*, double*, std::int32_t, double*, std::int32_t, double*,
                            std::int32_t, Byte*) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL oneInt(std::int32_t) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL fiveDoublePointers(double*, double*, double*, double*, double*) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL pulse(Byte, Byte, std::uint16_t, std::uint16_t) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL oneBytePointer(Byte*) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL fourDoubles(double, double, double, double) {
  ++calls;
  return 1;
}
Byte TRAMOX_STDCALL threeArrays(double*, std::int32_t, double*, std::int32_t, double*,
                                std::int32_t) {
  ++calls;
  return 1;
}

void* stubFor(EntryPoint id) {
  using E = EntryPoint;
  switch (id) {
    case E::Init_telescope_Panel_DLL:
      return fakes::exportOf(&threeInts);
    case E::InitCodeursDevice_DLL:
      return fakes::exportOf(&initCodeurs);
    case E::CalibrateCodeursDevice_DLL:
    case E::ParkTel_DLL:
      return fakes::exportOf(&twoDoubles);
    case E::GetAlphaCodeursDevice_DLL:
    case E::GetDeltaCodeursDevice_DLL:
      return fakes::exportOf(&oneDoublePointer);
    case E::MoveEngineDevice_DLL:
    case E::StopTelescopeEngineDevice_DLL:
      return fakes::exportOf(&twoBytes);
    case E::GetSpeed_DLL:
      return fakes::exportOf(&tenDoubles);
    case E::GetKingPEC_DLL:
      return fakes::exportOf(&kingPec);
    case E::IsAxisSlewing_DLL:
      return fakes::exportOf(&oneInt);
    case E::InitTelescopeSeekerDevice_DLL:
      return fakes::exportOf(&fiveDoublePointers);
    case E::PulseGuideAscomDevice_DLL:
      return fakes::exportOf(&pulse);
    case E::IsParkedDevice_DLL:
      return fakes::exportOf(&oneBytePointer);
    case E::StartKingDevice_DLL:
      return fakes::exportOf(&fourDoubles);
    case E::StartPecSpeedEngineDevice_DLL:
      return fakes::exportOf(&threeArrays);
    default:
      return fakes::exportOf(&noArguments);
  }
}

}  // namespace

fakes::FakeLibraryLoader::Exports stubExports(const std::vector<std::string>& without) {
  fakes::FakeLibraryLoader::Exports exports;
  for (const auto& row : kEntryPoints) {
    if (std::find(without.begin(), without.end(), row.exportedName) == without.end()) {
      exports[row.exportedName] = stubFor(row.id);
    }
  }
  return exports;
}

int stubCalls() {
  return calls;
}
void resetStubCalls() {
  calls = 0;
}

}  // namespace tramox::controller::testing
