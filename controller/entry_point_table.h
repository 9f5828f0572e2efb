#pragma once
// The controller library's exported names, in the order the loader tests them, each with the
// message shown when the library does not export it.
#include <array>
#include <cstddef>

namespace tramox::controller {

enum class EntryPoint : std::size_t {
  GetDLLVer,  // looked up and tested on its own, before the others
  Init_telescope_Panel_DLL,
  InitCodeursDevice_DLL,
  CloseCodeursDevice_DLL,
  CalibrateCodeursDevice_DLL,
  CheckCodeursCodeursDevice_DLL,
  GetAlphaCodeursDevice_DLL,
  GetDeltaCodeursDevice_DLL,
  MoveEngineDevice_DLL,
  StopTelescopeEngineDevice_DLL,
  Stop_ALL_TelescopeEngineDevice_DLL,
  ReturnToSideralSpeedEngineDevice_DLL,
  GetSpeedAlphaEngineDevice_DLL,
  GetSpeedDeltaEngineDevice_DLL,
  GetSpeed_DLL,
  GetKingPEC_DLL,
  IsAxisSlewing_DLL,
  InitTelescopeSeekerDevice_DLL,
  StopSlewing_TelescopeSeekerDevice_DLL,
  PulseGuideAscomDevice_DLL,
  IsPulseGuidingDevice_DLL,
  IsParkedDevice_DLL,
  ParkTel_DLL,
  UnParkTel_DLL,
  StartKingDevice_DLL,
  StopKingDevice_DLL,
  StartPecSpeedEngineDevice_DLL,
  TelescopeOuest_DLL,
  GermanMount_DLL,
};

inline constexpr std::size_t kEntryPointCount = 29;

struct EntryPointName {
  EntryPoint id;
  const char* exportedName;
  const char* missingMessage;
};

// Indexed by EntryPoint. Most messages name the entry point in a short form of their own; the
// one for InitCodeursDevice_DLL follows the same short form as its neighbours.
inline constexpr std::array<EntryPointName, kEntryPointCount> kEntryPoints{{
    {EntryPoint::GetDLLVer, "GetDLLVer", "Init GetDLLVer rate"},
    {EntryPoint::Init_telescope_Panel_DLL, "Init_telescope_Panel_DLL",
     "Init Init_telescope_Panel_DLL failed"},
    {EntryPoint::InitCodeursDevice_DLL, "InitCodeursDevice_DLL", "Init InitCodeurs_DLL failed"},
    {EntryPoint::CloseCodeursDevice_DLL, "CloseCodeursDevice_DLL", "Init CloseCodeurs_DLL failed"},
    {EntryPoint::CalibrateCodeursDevice_DLL, "CalibrateCodeursDevice_DLL",
     "Init CalibrateCodeurs_DLL failed"},
    {EntryPoint::CheckCodeursCodeursDevice_DLL, "CheckCodeursCodeursDevice_DLL",
     "Init CheckCodeurs_DLL failed"},
    {EntryPoint::GetAlphaCodeursDevice_DLL, "GetAlphaCodeursDevice_DLL",
     "Init GetAlphaCodeurs_DLL failed"},
    {EntryPoint::GetDeltaCodeursDevice_DLL, "GetDeltaCodeursDevice_DLL",
     "Init GetDeltaCodeurs_DLL failed"},
    {EntryPoint::MoveEngineDevice_DLL, "MoveEngineDevice_DLL", "Init MoveEngine_DLL failed"},
    {EntryPoint::StopTelescopeEngineDevice_DLL, "StopTelescopeEngineDevice_DLL",
     "Init StopTelescopeEngine_DLL failed"},
    {EntryPoint::Stop_ALL_TelescopeEngineDevice_DLL, "Stop_ALL_TelescopeEngineDevice_DLL",
     "Init Stop_ALL_TelescopeEngineDevice_DLL failed"},
    {EntryPoint::ReturnToSideralSpeedEngineDevice_DLL, "ReturnToSideralSpeedEngineDevice_DLL",
     "Init ReturnToSideralSpeedEngineDevice_DLL failed"},
    {EntryPoint::GetSpeedAlphaEngineDevice_DLL, "GetSpeedAlphaEngineDevice_DLL",
     "Init GetSpeedAlphaEngine_DLL failed"},
    {EntryPoint::GetSpeedDeltaEngineDevice_DLL, "GetSpeedDeltaEngineDevice_DLL",
     "Init GetSpeedDeltaEngine_DLL failed"},
    {EntryPoint::GetSpeed_DLL, "GetSpeed_DLL", "Init GetSpeed_DLL failed"},
    {EntryPoint::GetKingPEC_DLL, "GetKingPEC_DLL", "Init GetKingPEC_DLL failed"},
    {EntryPoint::IsAxisSlewing_DLL, "IsAxisSlewing_DLL", "Init IsAxisSlewing_DLL failed"},
    {EntryPoint::InitTelescopeSeekerDevice_DLL, "InitTelescopeSeekerDevice_DLL",
     "Init InitTelescopeSeeker_DLL failed"},
    {EntryPoint::StopSlewing_TelescopeSeekerDevice_DLL, "StopSlewing_TelescopeSeekerDevice_DLL",
     "Init StopSlewing_TelescopeSeeker_DLL failed"},
    {EntryPoint::PulseGuideAscomDevice_DLL, "PulseGuideAscomDevice_DLL",
     "Init PulseGuideAscom_DLL failed"},
    {EntryPoint::IsPulseGuidingDevice_DLL, "IsPulseGuidingDevice_DLL",
     "Init IsPulseGuiding_DLL failed"},
    {EntryPoint::IsParkedDevice_DLL, "IsParkedDevice_DLL", "Init IsParked_DLL failed"},
    {EntryPoint::ParkTel_DLL, "ParkTel_DLL", "Init ParkTel_DLL failed"},
    {EntryPoint::UnParkTel_DLL, "UnParkTel_DLL", "Init UnParkTel_DLL failed"},
    {EntryPoint::StartKingDevice_DLL, "StartKingDevice_DLL", "Init StartKingDevice_DLL failed"},
    {EntryPoint::StopKingDevice_DLL, "StopKingDevice_DLL", "Init StopKingDevice_DLL failed"},
    {EntryPoint::StartPecSpeedEngineDevice_DLL, "StartPecSpeedEngineDevice_DLL",
     "Init StartPecSpeedEngineDevice_DLL failed"},
    {EntryPoint::TelescopeOuest_DLL, "TelescopeOuest_DLL", "Init TelescopeOuest_DLL failed"},
    {EntryPoint::GermanMount_DLL, "GermanMount_DLL", "Init GermanMount_DLL failed"},
}};

constexpr std::size_t indexOf(EntryPoint id) {
  return static_cast<std::size_t>(id);
}

constexpr bool tableFollowsEnum() {
  for (std::size_t i = 0; i < kEntryPoints.size(); ++i) {
    if (indexOf(kEntryPoints[i].id) != i) {
      return false;
    }
  }
  return true;
}
static_assert(tableFollowsEnum(), "kEntryPoints rows must follow the EntryPoint order");

}  // namespace tramox::controller
