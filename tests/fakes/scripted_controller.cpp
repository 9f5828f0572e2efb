#include "tests/fakes/scripted_controller.h"

#include <stdexcept>

namespace tramox::fakes {

namespace {

ScriptedController* current = nullptr;

using controller::Byte;

// Records the call and answers 1, or 0 when the entry point is refused.
Byte answer(const char* name, std::vector<double> args) {
  ScriptedController& c = currentController();
  c.calls.push_back({name, std::move(args)});
  return c.refuses(name) ? 0 : 1;
}

std::vector<double> values(const double* first, std::size_t count) {
  return std::vector<double>(first, first + count);
}

}  // namespace

extern "C" {

static Byte TRAMOX_STDCALL fakeGetDLLVer() {
  return answer("GetDLLVer", {});
}
static Byte TRAMOX_STDCALL fakeGetSpeedAlpha() {
  return answer("GetSpeedAlphaEngineDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeGetSpeedDelta() {
  return answer("GetSpeedDeltaEngineDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeStopKing() {
  return answer("StopKingDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeInitPanel(std::int32_t a, std::int32_t b, std::int32_t c) {
  return answer("Init_telescope_Panel_DLL", {double(a), double(b), double(c)});
}
static Byte TRAMOX_STDCALL fakeInitCodeurs(std::int32_t* port, std::int32_t zero, double lat,
                                           double lon) {
  return answer("InitCodeursDevice_DLL", {double(*port), double(zero), lat, lon});
}
static Byte TRAMOX_STDCALL fakeCloseCodeurs() {
  return answer("CloseCodeursDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeCalibrate(double ra, double dec) {
  return answer("CalibrateCodeursDevice_DLL", {ra, dec});
}
static Byte TRAMOX_STDCALL fakeCheckCodeurs() {
  return answer("CheckCodeursCodeursDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeGetAlpha(double* ra) {
  const Byte ok = answer("GetAlphaCodeursDevice_DLL", {});
  if (ok) {
    *ra = currentController().raRad;
  }
  return ok;
}
static Byte TRAMOX_STDCALL fakeGetDelta(double* dec) {
  const Byte ok = answer("GetDeltaCodeursDevice_DLL", {});
  if (ok) {
    *dec = currentController().decRad;
  }
  return ok;
}
static Byte TRAMOX_STDCALL fakeMoveEngine(Byte direction, Byte speedClass) {
  return answer("MoveEngineDevice_DLL", {double(direction), double(speedClass)});
}
static Byte TRAMOX_STDCALL fakeStopEngine(Byte primary, Byte secondary) {
  return answer("StopTelescopeEngineDevice_DLL", {double(primary), double(secondary)});
}
static Byte TRAMOX_STDCALL fakeStopAll() {
  return answer("Stop_ALL_TelescopeEngineDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeReturnToSideral() {
  return answer("ReturnToSideralSpeedEngineDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakeGetSpeed(double* s1, double* s2, double* s3, double* s4, double* s5,
                                        double* s6, double* s7, double* s8, double* s9,
                                        double* s10) {
  const auto& speeds = currentController().speedsRadPerSec;
  double* out[] = {s1, s2, s3, s4, s5, s6, s7, s8, s9, s10};
  for (std::size_t i = 0; i < 10; ++i) {
    *out[i] = speeds[i];
  }
  return answer("GetSpeed_DLL", {});
}
static Byte TRAMOX_STDCALL fakeGetKingPec(Byte* king, double* a, std::int32_t aHigh, double* b,
                                          std::int32_t bHigh, double* c, std::int32_t cHigh,
                                          Byte* pec) {
  ScriptedController& s = currentController();
  *king = s.king;
  *pec = s.pec;
  for (std::size_t i = 0; i < 4; ++i) {
    a[i] = s.kingPecA[i];
    b[i] = s.kingPecB[i];
    c[i] = s.kingPecC[i];
  }
  return answer("GetKingPEC_DLL", {double(aHigh), double(bHigh), double(cHigh)});
}
static Byte TRAMOX_STDCALL fakeIsAxisSlewing(std::int32_t axis) {
  answer("IsAxisSlewing_DLL", {double(axis)});
  return currentController().axisSlewing(axis);
}
static Byte TRAMOX_STDCALL fakeInitSeeker(double* ra, double* dec, double* lon, double* zero,
                                          double* rate) {
  return answer("InitTelescopeSeekerDevice_DLL", {*ra, *dec, *lon, *zero, *rate});
}
static Byte TRAMOX_STDCALL fakeStopSlewing() {
  return answer("StopSlewing_TelescopeSeekerDevice_DLL", {});
}
static Byte TRAMOX_STDCALL fakePulseGuide(Byte west, Byte south, std::uint16_t primaryMs,
                                          std::uint16_t secondaryMs) {
  return answer("PulseGuideAscomDevice_DLL",
                {double(west), double(south), double(primaryMs), double(secondaryMs)});
}
static Byte TRAMOX_STDCALL fakeIsPulseGuiding() {
  answer("IsPulseGuidingDevice_DLL", {});
  return currentController().pulseGuiding ? 1 : 0;
}
static Byte TRAMOX_STDCALL fakeIsParked(Byte* parked) {
  const Byte ok = answer("IsParkedDevice_DLL", {double(*parked)});
  *parked = currentController().parked;
  return ok;
}
static Byte TRAMOX_STDCALL fakePark(double hourAngle, double dec) {
  const Byte ok = answer("ParkTel_DLL", {hourAngle, dec});
  if (ok) {
    currentController().parked = 1;
  }
  return ok;
}
static Byte TRAMOX_STDCALL fakeUnpark() {
  const Byte ok = answer("UnParkTel_DLL", {});
  if (ok) {
    currentController().parked = 0;
  }
  return ok;
}
static Byte TRAMOX_STDCALL fakeStartKing(double lat, double lon, double elev, double pressure) {
  return answer("StartKingDevice_DLL", {lat, lon, elev, pressure});
}
static Byte TRAMOX_STDCALL fakeStartPec(double* b, std::int32_t bHigh, double* c,
                                        std::int32_t cHigh, double* a, std::int32_t aHigh) {
  std::vector<double> args = values(b, 4);
  args.push_back(bHigh);
  for (double v : values(c, 4)) {
    args.push_back(v);
  }
  args.push_back(cHigh);
  for (double v : values(a, 4)) {
    args.push_back(v);
  }
  args.push_back(aHigh);
  return answer("StartPecSpeedEngineDevice_DLL", std::move(args));
}
static Byte TRAMOX_STDCALL fakeTelescopeOuest() {
  answer("TelescopeOuest_DLL", {});
  return currentController().west ? 1 : 0;
}
static Byte TRAMOX_STDCALL fakeGermanMount() {
  answer("GermanMount_DLL", {});
  return currentController().german ? 1 : 0;
}

}  // extern "C"

ScriptedController::ScriptedController() {
  if (current != nullptr) {
    throw std::logic_error("one scripted controller at a time");
  }
  current = this;
}

ScriptedController::~ScriptedController() {
  current = nullptr;
}

ScriptedController& currentController() {
  if (current == nullptr) {
    throw std::logic_error("no scripted controller");
  }
  return *current;
}

FakeLibraryLoader::Exports ScriptedController::exports(
    const std::vector<std::string>& without) const {
  FakeLibraryLoader::Exports all{
      {"GetDLLVer", exportOf(&fakeGetDLLVer)},
      {"Init_telescope_Panel_DLL", exportOf(&fakeInitPanel)},
      {"InitCodeursDevice_DLL", exportOf(&fakeInitCodeurs)},
      {"CloseCodeursDevice_DLL", exportOf(&fakeCloseCodeurs)},
      {"CalibrateCodeursDevice_DLL", exportOf(&fakeCalibrate)},
      {"CheckCodeursCodeursDevice_DLL", exportOf(&fakeCheckCodeurs)},
      {"GetAlphaCodeursDevice_DLL", exportOf(&fakeGetAlpha)},
      {"GetDeltaCodeursDevice_DLL", exportOf(&fakeGetDelta)},
      {"MoveEngineDevice_DLL", exportOf(&fakeMoveEngine)},
      {"StopTelescopeEngineDevice_DLL", exportOf(&fakeStopEngine)},
      {"Stop_ALL_TelescopeEngineDevice_DLL", exportOf(&fakeStopAll)},
      {"ReturnToSideralSpeedEngineDevice_DLL", exportOf(&fakeReturnToSideral)},
      {"GetSpeedAlphaEngineDevice_DLL", exportOf(&fakeGetSpeedAlpha)},
      {"GetSpeedDeltaEngineDevice_DLL", exportOf(&fakeGetSpeedDelta)},
      {"GetSpeed_DLL", exportOf(&fakeGetSpeed)},
      {"GetKingPEC_DLL", exportOf(&fakeGetKingPec)},
      {"IsAxisSlewing_DLL", exportOf(&fakeIsAxisSlewing)},
      {"InitTelescopeSeekerDevice_DLL", exportOf(&fakeInitSeeker)},
      {"StopSlewing_TelescopeSeekerDevice_DLL", exportOf(&fakeStopSlewing)},
      {"PulseGuideAscomDevice_DLL", exportOf(&fakePulseGuide)},
      {"IsPulseGuidingDevice_DLL", exportOf(&fakeIsPulseGuiding)},
      {"IsParkedDevice_DLL", exportOf(&fakeIsParked)},
      {"ParkTel_DLL", exportOf(&fakePark)},
      {"UnParkTel_DLL", exportOf(&fakeUnpark)},
      {"StartKingDevice_DLL", exportOf(&fakeStartKing)},
      {"StopKingDevice_DLL", exportOf(&fakeStopKing)},
      {"StartPecSpeedEngineDevice_DLL", exportOf(&fakeStartPec)},
      {"TelescopeOuest_DLL", exportOf(&fakeTelescopeOuest)},
      {"GermanMount_DLL", exportOf(&fakeGermanMount)},
  };
  for (const auto& name : without) {
    all.erase(name);
  }
  return all;
}

std::vector<std::string> ScriptedController::names() const {
  std::vector<std::string> result;
  for (const auto& call : calls) {
    result.push_back(call.name);
  }
  return result;
}

std::vector<ControllerCall> ScriptedController::callsTo(const std::string& entryPoint) const {
  std::vector<ControllerCall> result;
  for (const auto& call : calls) {
    if (call.name == entryPoint) {
      result.push_back(call);
    }
  }
  return result;
}

}  // namespace tramox::fakes
