// The controller library's 29 entry points, with the maker's calling contract, over the
// simulated controller. Every call advances the mount to the present, is refused when the
// settings say so, and leaves one journal line; calls that change the mount save its state.
// A variant built with TRAMOX_SIM_OMIT_<name> leaves that entry point out (loader tests).
#include <cmath>
#include <memory>
#include <mutex>
#include <type_traits>

#include "controller/entry_points.h"
#include "simulator/simulated_controller.h"

#if defined(_WIN32)
#define TRAMOX_SIM_EXPORT  // exported by name through Tramox_Telescope.def
#else
#define TRAMOX_SIM_EXPORT __attribute__((visibility("default")))
#endif

using tramox::controller::Byte;
using tramox::sim::OpenArray;
using tramox::sim::SimulatedController;

namespace {

// Declared in this order so that the controller, which saves the state when the library is
// unloaded, goes before the lock.
std::mutex controllerLock;
std::unique_ptr<SimulatedController> controller;

class Call {
 public:
  explicit Call(const char* entryPoint) : lock_(controllerLock), entryPoint_(entryPoint) {
    if (!controller) {
      controller = SimulatedController::fromEnvironment();
    }
  }

  bool refused() const { return controller->refuses(entryPoint_); }
  SimulatedController& sim() { return *controller; }
  tramox::sim::Mount& mount() { return controller->mount(); }

  // Writes the journal line, if there is a journal (addresses show what they point to on
  // return), and gives back the entry point's result.
  template <typename... Args>
  Byte finish(bool result, const Args&... args) {
    if (controller->journaling()) {
      tramox::sim::JournalLine line(entryPoint_);
      (addTo(line, args), ...);
      controller->journal(line);
    }
    return result ? 1 : 0;
  }

  // The same, for a call that may have changed the mount: its state is saved first.
  template <typename... Args>
  Byte finishSaving(bool result, const Args&... args) {
    if (result) {
      controller->saveState();
    }
    return finish(result, args...);
  }

 private:
  template <typename T>
  static void addTo(tramox::sim::JournalLine& line, const T& value) {
    if constexpr (std::is_integral_v<T>) {
      line.add(static_cast<std::int64_t>(value));
    } else {
      line.add(value);
    }
  }

  std::lock_guard<std::mutex> lock_;
  const char* entryPoint_;
};

}  // namespace

extern "C" {

#if !defined(TRAMOX_SIM_OMIT_GetDLLVer)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetDLLVer() {
  Call call("GetDLLVer");
  return call.finish(!call.refused());
}
static_assert(std::is_same_v<decltype(&GetDLLVer), tramox::controller::GetDLLVer_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_Init_telescope_Panel_DLL)
// The maker's set-up panel; the simulator has none and only answers.
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL Init_telescope_Panel_DLL(std::int32_t a, std::int32_t b,
                                                               std::int32_t c) {
  Call call("Init_telescope_Panel_DLL");
  return call.finish(!call.refused(), a, b, c);
}
static_assert(std::is_same_v<decltype(&Init_telescope_Panel_DLL),
                             tramox::controller::Init_telescope_Panel_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_InitCodeursDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL InitCodeursDevice_DLL(std::int32_t* port, std::int32_t zero,
                                                            double latRad, double lonWestRad) {
  Call call("InitCodeursDevice_DLL");
  bool connected = false;
  if (!call.refused() && std::isfinite(latRad) && std::isfinite(lonWestRad)) {
    call.mount().setSite(latRad, lonWestRad);
    connected = true;
  }
  return call.finish(connected, port, zero, latRad, lonWestRad);
}
static_assert(
    std::is_same_v<decltype(&InitCodeursDevice_DLL), tramox::controller::InitCodeursDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_CloseCodeursDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL CloseCodeursDevice_DLL() {
  Call call("CloseCodeursDevice_DLL");
  return call.finishSaving(!call.refused());
}
static_assert(
    std::is_same_v<decltype(&CloseCodeursDevice_DLL), tramox::controller::CloseCodeursDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_CalibrateCodeursDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL CalibrateCodeursDevice_DLL(double raRad, double decRad) {
  Call call("CalibrateCodeursDevice_DLL");
  return call.finishSaving(!call.refused() && call.mount().sync(raRad, decRad), raRad, decRad);
}
static_assert(std::is_same_v<decltype(&CalibrateCodeursDevice_DLL),
                             tramox::controller::CalibrateCodeursDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_CheckCodeursCodeursDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL CheckCodeursCodeursDevice_DLL() {
  Call call("CheckCodeursCodeursDevice_DLL");
  return call.finish(!call.refused() && !call.sim().config().unreadable);
}
static_assert(std::is_same_v<decltype(&CheckCodeursCodeursDevice_DLL),
                             tramox::controller::CheckCodeursCodeursDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GetAlphaCodeursDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetAlphaCodeursDevice_DLL(double* raRad) {
  Call call("GetAlphaCodeursDevice_DLL");
  const bool valid = !call.refused() && raRad != nullptr;
  if (valid) {
    *raRad = call.mount().rightAscensionRad();
  }
  return call.finish(valid, raRad);
}
static_assert(std::is_same_v<decltype(&GetAlphaCodeursDevice_DLL),
                             tramox::controller::GetAlphaCodeursDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GetDeltaCodeursDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetDeltaCodeursDevice_DLL(double* decRad) {
  Call call("GetDeltaCodeursDevice_DLL");
  const bool valid = !call.refused() && !call.sim().config().nodec && decRad != nullptr;
  if (valid) {
    *decRad = call.mount().declinationRad();
  }
  return call.finish(valid, decRad);
}
static_assert(std::is_same_v<decltype(&GetDeltaCodeursDevice_DLL),
                             tramox::controller::GetDeltaCodeursDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_MoveEngineDevice_DLL)
// Directions: 0 north, 1 south (secondary axis), 2 east, 3 west (primary axis). Speed classes:
// 0 SMax, 1 SMedium, 2 SSideral.
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL MoveEngineDevice_DLL(Byte direction, Byte speedClass) {
  Call call("MoveEngineDevice_DLL");
  return call.finish(!call.refused() && call.mount().move(direction, speedClass), direction,
                     speedClass);
}
static_assert(
    std::is_same_v<decltype(&MoveEngineDevice_DLL), tramox::controller::MoveEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_StopTelescopeEngineDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL StopTelescopeEngineDevice_DLL(Byte primary, Byte secondary) {
  Call call("StopTelescopeEngineDevice_DLL");
  const bool stopped = !call.refused();
  if (stopped) {
    call.mount().stopMotion(primary != 0, secondary != 0);
  }
  return call.finishSaving(stopped, primary, secondary);
}
static_assert(std::is_same_v<decltype(&StopTelescopeEngineDevice_DLL),
                             tramox::controller::StopTelescopeEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_Stop_ALL_TelescopeEngineDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL Stop_ALL_TelescopeEngineDevice_DLL() {
  Call call("Stop_ALL_TelescopeEngineDevice_DLL");
  const bool stopped = !call.refused();
  if (stopped) {
    call.mount().stopAll();
  }
  return call.finishSaving(stopped);
}
static_assert(std::is_same_v<decltype(&Stop_ALL_TelescopeEngineDevice_DLL),
                             tramox::controller::Stop_ALL_TelescopeEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_ReturnToSideralSpeedEngineDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL ReturnToSideralSpeedEngineDevice_DLL() {
  Call call("ReturnToSideralSpeedEngineDevice_DLL");
  return call.finishSaving(!call.refused() && call.mount().startTracking());
}
static_assert(std::is_same_v<decltype(&ReturnToSideralSpeedEngineDevice_DLL),
                             tramox::controller::ReturnToSideralSpeedEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GetSpeedAlphaEngineDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetSpeedAlphaEngineDevice_DLL() {
  Call call("GetSpeedAlphaEngineDevice_DLL");
  return call.finish(!call.refused());
}
static_assert(std::is_same_v<decltype(&GetSpeedAlphaEngineDevice_DLL),
                             tramox::controller::GetSpeedAlphaEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GetSpeedDeltaEngineDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetSpeedDeltaEngineDevice_DLL() {
  Call call("GetSpeedDeltaEngineDevice_DLL");
  return call.finish(!call.refused());
}
static_assert(std::is_same_v<decltype(&GetSpeedDeltaEngineDevice_DLL),
                             tramox::controller::GetSpeedDeltaEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GetSpeed_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetSpeed_DLL(double* s1, double* s2, double* s3, double* s4,
                                                   double* s5, double* s6, double* s7, double* s8,
                                                   double* s9, double* s10) {
  Call call("GetSpeed_DLL");
  double* const speeds[] = {s1, s2, s3, s4, s5, s6, s7, s8, s9, s10};
  if (!call.refused()) {
    for (std::size_t i = 0; i < 10; ++i) {
      if (speeds[i] != nullptr) {
        *speeds[i] = call.sim().config().speedsRadPerSec[i];
      }
    }
  }
  return call.finish(!call.refused(), s1, s2, s3, s4, s5, s6, s7, s8, s9, s10);
}
static_assert(std::is_same_v<decltype(&GetSpeed_DLL), tramox::controller::GetSpeed_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GetKingPEC_DLL)
namespace {
void fill(double* data, std::int32_t high, const std::array<double, 4>& values) {
  for (std::int32_t i = 0; data != nullptr && i <= high && i < 4; ++i) {
    data[i] = values[static_cast<std::size_t>(i)];
  }
}
}  // namespace

TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GetKingPEC_DLL(Byte* king, double* a, std::int32_t aHigh,
                                                     double* b, std::int32_t bHigh, double* c,
                                                     std::int32_t cHigh, Byte* pec) {
  Call call("GetKingPEC_DLL");
  if (!call.refused()) {
    const auto& config = call.sim().config();
    if (king != nullptr) {
      *king = config.king ? 1 : 0;
    }
    if (pec != nullptr) {
      *pec = config.pec ? 1 : 0;
    }
    fill(a, aHigh, config.kingPecA);
    fill(b, bHigh, config.kingPecB);
    fill(c, cHigh, config.kingPecC);
  }
  return call.finish(!call.refused(), king, OpenArray{a, aHigh}, OpenArray{b, bHigh},
                     OpenArray{c, cHigh}, pec);
}
static_assert(std::is_same_v<decltype(&GetKingPEC_DLL), tramox::controller::GetKingPEC_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_IsAxisSlewing_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL IsAxisSlewing_DLL(std::int32_t axis) {
  Call call("IsAxisSlewing_DLL");
  return call.finish(!call.refused() && call.mount().axisMoving(axis), axis);
}
static_assert(std::is_same_v<decltype(&IsAxisSlewing_DLL), tramox::controller::IsAxisSlewing_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_InitTelescopeSeekerDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL InitTelescopeSeekerDevice_DLL(double* raRad, double* decRad,
                                                                    double* lonWestRad,
                                                                    double* zero,
                                                                    double* rateRadPerSec) {
  Call call("InitTelescopeSeekerDevice_DLL");
  const bool started = !call.refused() && raRad != nullptr && decRad != nullptr &&
                       lonWestRad != nullptr && rateRadPerSec != nullptr &&
                       call.mount().slewTo(*raRad, *decRad, *lonWestRad, *rateRadPerSec);
  return call.finishSaving(started, raRad, decRad, lonWestRad, zero, rateRadPerSec);
}
static_assert(std::is_same_v<decltype(&InitTelescopeSeekerDevice_DLL),
                             tramox::controller::InitTelescopeSeekerDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_StopSlewing_TelescopeSeekerDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL StopSlewing_TelescopeSeekerDevice_DLL() {
  Call call("StopSlewing_TelescopeSeekerDevice_DLL");
  const bool stopped = !call.refused();
  if (stopped) {
    call.mount().stopSlew();
  }
  return call.finishSaving(stopped);
}
static_assert(std::is_same_v<decltype(&StopSlewing_TelescopeSeekerDevice_DLL),
                             tramox::controller::StopSlewing_TelescopeSeekerDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_PulseGuideAscomDevice_DLL)
// Returns at once; the pulse runs on the mount's own time.
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL PulseGuideAscomDevice_DLL(Byte west, Byte south,
                                                                std::uint16_t primaryMs,
                                                                std::uint16_t secondaryMs) {
  Call call("PulseGuideAscomDevice_DLL");
  return call.finish(
      !call.refused() && call.mount().pulseGuide(west != 0, south != 0, primaryMs, secondaryMs),
      west, south, primaryMs, secondaryMs);
}
static_assert(std::is_same_v<decltype(&PulseGuideAscomDevice_DLL),
                             tramox::controller::PulseGuideAscomDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_IsPulseGuidingDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL IsPulseGuidingDevice_DLL() {
  Call call("IsPulseGuidingDevice_DLL");
  return call.finish(!call.refused() && call.mount().pulseGuiding());
}
static_assert(std::is_same_v<decltype(&IsPulseGuidingDevice_DLL),
                             tramox::controller::IsPulseGuidingDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_IsParkedDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL IsParkedDevice_DLL(Byte* parked) {
  Call call("IsParkedDevice_DLL");
  const bool answered = !call.refused() && parked != nullptr;
  if (answered) {
    *parked = call.mount().parked() ? 1 : 0;
  }
  return call.finish(answered, parked);
}
static_assert(std::is_same_v<decltype(&IsParkedDevice_DLL), tramox::controller::IsParkedDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_ParkTel_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL ParkTel_DLL(double hourAngleRad, double decRad) {
  Call call("ParkTel_DLL");
  return call.finishSaving(!call.refused() && call.mount().park(hourAngleRad, decRad), hourAngleRad,
                           decRad);
}
static_assert(std::is_same_v<decltype(&ParkTel_DLL), tramox::controller::ParkTel_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_UnParkTel_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL UnParkTel_DLL() {
  Call call("UnParkTel_DLL");
  return call.finishSaving(!call.refused() && call.mount().unpark());
}
static_assert(std::is_same_v<decltype(&UnParkTel_DLL), tramox::controller::UnParkTel_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_StartKingDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL StartKingDevice_DLL(double latRad, double lonWestRad,
                                                          double elevationM, double pressureHpa) {
  Call call("StartKingDevice_DLL");
  const bool started = !call.refused();
  if (started) {
    call.sim().kingRunning = true;
  }
  return call.finish(started, latRad, lonWestRad, elevationM, pressureHpa);
}
static_assert(
    std::is_same_v<decltype(&StartKingDevice_DLL), tramox::controller::StartKingDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_StopKingDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL StopKingDevice_DLL() {
  Call call("StopKingDevice_DLL");
  const bool stopped = !call.refused();
  if (stopped) {
    call.sim().kingRunning = false;
  }
  return call.finish(stopped);
}
static_assert(std::is_same_v<decltype(&StopKingDevice_DLL), tramox::controller::StopKingDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_StartPecSpeedEngineDevice_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL StartPecSpeedEngineDevice_DLL(double* b, std::int32_t bHigh,
                                                                    double* c, std::int32_t cHigh,
                                                                    double* a, std::int32_t aHigh) {
  Call call("StartPecSpeedEngineDevice_DLL");
  const bool started = !call.refused();
  if (started) {
    call.sim().pecRunning = true;
  }
  return call.finish(started, OpenArray{b, bHigh}, OpenArray{c, cHigh}, OpenArray{a, aHigh});
}
static_assert(std::is_same_v<decltype(&StartPecSpeedEngineDevice_DLL),
                             tramox::controller::StartPecSpeedEngineDevice_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_TelescopeOuest_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL TelescopeOuest_DLL() {
  Call call("TelescopeOuest_DLL");
  return call.finish(!call.refused() && call.mount().westOfPier());
}
static_assert(std::is_same_v<decltype(&TelescopeOuest_DLL), tramox::controller::TelescopeOuest_t>);
#endif

#if !defined(TRAMOX_SIM_OMIT_GermanMount_DLL)
TRAMOX_SIM_EXPORT Byte TRAMOX_STDCALL GermanMount_DLL() {
  Call call("GermanMount_DLL");
  return call.finish(!call.refused() && call.sim().config().german);
}
static_assert(std::is_same_v<decltype(&GermanMount_DLL), tramox::controller::GermanMount_t>);
#endif

}  // extern "C"
