#pragma once
// The controller library's exported functions, with the calling contract of the maker's
// library: stdcall on 32-bit Windows (the callee removes its arguments), byte results with
// nonzero meaning true, angles in radians, longitudes positive west.
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define TRAMOX_STDCALL __stdcall
#else
#define TRAMOX_STDCALL
#endif

namespace tramox::controller {

using Byte = std::uint8_t;

// An array argument is passed as its address and its highest index (3 for four elements).
inline constexpr std::int32_t kKingPecArrayHigh = 3;

extern "C" {
// Must exist; never called.
using GetDLLVer_t = Byte(TRAMOX_STDCALL*)();
using GetSpeedAlphaEngineDevice_t = Byte(TRAMOX_STDCALL*)();
using GetSpeedDeltaEngineDevice_t = Byte(TRAMOX_STDCALL*)();
using StopKingDevice_t = Byte(TRAMOX_STDCALL*)();

using Init_telescope_Panel_t = Byte(TRAMOX_STDCALL*)(std::int32_t, std::int32_t, std::int32_t);
using InitCodeursDevice_t = Byte(TRAMOX_STDCALL*)(std::int32_t* port, std::int32_t zero,
                                                  double latRad, double lonWestRad);
using CloseCodeursDevice_t = Byte(TRAMOX_STDCALL*)();
using CalibrateCodeursDevice_t = Byte(TRAMOX_STDCALL*)(double raRad, double decRad);
using CheckCodeursCodeursDevice_t = Byte(TRAMOX_STDCALL*)();
using GetAlphaCodeursDevice_t = Byte(TRAMOX_STDCALL*)(double* raRad);
using GetDeltaCodeursDevice_t = Byte(TRAMOX_STDCALL*)(double* decRad);
using MoveEngineDevice_t = Byte(TRAMOX_STDCALL*)(Byte direction, Byte speedClass);
using StopTelescopeEngineDevice_t = Byte(TRAMOX_STDCALL*)(Byte primary, Byte secondary);
using Stop_ALL_TelescopeEngineDevice_t = Byte(TRAMOX_STDCALL*)();
using ReturnToSideralSpeedEngineDevice_t = Byte(TRAMOX_STDCALL*)();
using GetSpeed_t = Byte(TRAMOX_STDCALL*)(double*, double*, double*, double*, double*, double*,
                                         double*, double*, double*, double*);
using GetKingPEC_t = Byte(TRAMOX_STDCALL*)(Byte* king, double* a, std::int32_t aHigh, double* b,
                                           std::int32_t bHigh, double* c, std::int32_t cHigh,
                                           Byte* pec);
using IsAxisSlewing_t = Byte(TRAMOX_STDCALL*)(std::int32_t axis);
using InitTelescopeSeekerDevice_t = Byte(TRAMOX_STDCALL*)(double* raRad, double* decRad,
                                                          double* lonWestRad, double* zero,
                                                          double* rateRadPerSec);
using StopSlewing_TelescopeSeekerDevice_t = Byte(TRAMOX_STDCALL*)();
using PulseGuideAscomDevice_t = Byte(TRAMOX_STDCALL*)(Byte west, Byte south,
                                                      std::uint16_t primaryMs,
                                                      std::uint16_t secondaryMs);
using IsPulseGuidingDevice_t = Byte(TRAMOX_STDCALL*)();
using IsParkedDevice_t = Byte(TRAMOX_STDCALL*)(Byte* parked);
using ParkTel_t = Byte(TRAMOX_STDCALL*)(double hourAngleRad, double decRad);
using UnParkTel_t = Byte(TRAMOX_STDCALL*)();
using StartKingDevice_t = Byte(TRAMOX_STDCALL*)(double latRad, double lonWestRad, double elevationM,
                                                double pressureHpa);
using StartPecSpeedEngineDevice_t = Byte(TRAMOX_STDCALL*)(double* b, std::int32_t bHigh, double* c,
                                                          std::int32_t cHigh, double* a,
                                                          std::int32_t aHigh);
using TelescopeOuest_t = Byte(TRAMOX_STDCALL*)();
using GermanMount_t = Byte(TRAMOX_STDCALL*)();
}

}  // namespace tramox::controller
