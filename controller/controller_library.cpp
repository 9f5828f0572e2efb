#include "controller/controller_library.h"

#include <cstring>

#include "common/driver_error.h"
#include "controller/entry_point_table.h"

namespace tramox::controller {

// One address per entry point, indexed by EntryPoint; all empty while no library is loaded.
struct ControllerLibrary::Slots {
  std::array<void*, kEntryPointCount> addresses{};

  void clear() { addresses.fill(nullptr); }
};

namespace {

// The one guard every call goes through: the address of a resolved entry point, converted to
// its contract's function type, or a driver error when there is nothing safe to call.
template <typename Function>
Function resolved(platform::ILibraryLoader::Handle handle, void* address) {
  if (handle == nullptr || address == nullptr) {
    throw DriverError(codes::kInvalidState, FailureReason::NotConnected, kNotLoadedMessage);
  }
  Function function = nullptr;
  static_assert(sizeof(function) == sizeof(address));
  std::memcpy(&function, &address, sizeof(function));
  return function;
}

}  // namespace

ControllerLibrary::ControllerLibrary(platform::ILibraryLoader& loader,
                                     platform::IMessageWindows& messages, std::string path)
    : loader_(loader), messages_(messages), path_(std::move(path)), slots_(new Slots) {}

ControllerLibrary::~ControllerLibrary() {
  delete slots_;
}

void ControllerLibrary::LoadControllerLibrary() {
  if (handle_ != nullptr) {
    return;
  }
  handle_ = loader_.load(path_);
  if (handle_ == nullptr) {
    messages_.showMessage("Init DLL failed");
    return;
  }

  const auto& version = kEntryPoints[indexOf(EntryPoint::GetDLLVer)];
  slots_->addresses[indexOf(version.id)] = loader_.symbol(handle_, version.exportedName);
  if (slots_->addresses[indexOf(version.id)] == nullptr) {
    messages_.showMessage(version.missingMessage);
    loader_.release(handle_);
    handle_ = nullptr;
  }

  // With the library already released nothing can be found, so the lookups are skipped (a null
  // handle would make dlsym search the whole process) and every slot below stays empty.
  for (const auto& row : kEntryPoints) {
    if (row.id != EntryPoint::GetDLLVer && handle_ != nullptr) {
      slots_->addresses[indexOf(row.id)] = loader_.symbol(handle_, row.exportedName);
    }
  }
  for (const auto& row : kEntryPoints) {
    if (row.id == EntryPoint::GetDLLVer || slots_->addresses[indexOf(row.id)] != nullptr) {
      continue;
    }
    messages_.showMessage(row.missingMessage);
    if (handle_ != nullptr) {
      loader_.release(handle_);
      handle_ = nullptr;
    }
  }
  // Addresses found before a release point into a library that is gone.
  if (handle_ == nullptr) {
    slots_->clear();
  }
}

void ControllerLibrary::Release() {
  if (handle_ != nullptr) {
    loader_.release(handle_);
    handle_ = nullptr;
  }
  slots_->clear();
}

bool ControllerLibrary::loaded() const {
  return handle_ != nullptr;
}

const std::string& ControllerLibrary::path() const {
  return path_;
}

#define TRAMOX_GUARDED(name) \
  resolved<name##_t>(handle_, slots_->addresses[indexOf(EntryPoint::name##_DLL)])

bool ControllerLibrary::Init_telescope_Panel_DLL(std::int32_t a, std::int32_t b, std::int32_t c) {
  return TRAMOX_GUARDED(Init_telescope_Panel)(a, b, c) != 0;
}

bool ControllerLibrary::InitCodeursDevice_DLL(std::int32_t* port, std::int32_t zero, double latRad,
                                              double lonWestRad) {
  return TRAMOX_GUARDED(InitCodeursDevice)(port, zero, latRad, lonWestRad) != 0;
}

bool ControllerLibrary::CloseCodeursDevice_DLL() {
  return TRAMOX_GUARDED(CloseCodeursDevice)() != 0;
}

bool ControllerLibrary::CalibrateCodeursDevice_DLL(double raRad, double decRad) {
  return TRAMOX_GUARDED(CalibrateCodeursDevice)(raRad, decRad) != 0;
}

bool ControllerLibrary::CheckCodeursCodeursDevice_DLL() {
  return TRAMOX_GUARDED(CheckCodeursCodeursDevice)() != 0;
}

bool ControllerLibrary::GetAlphaCodeursDevice_DLL(double* raRad) {
  return TRAMOX_GUARDED(GetAlphaCodeursDevice)(raRad) != 0;
}

bool ControllerLibrary::GetDeltaCodeursDevice_DLL(double* decRad) {
  return TRAMOX_GUARDED(GetDeltaCodeursDevice)(decRad) != 0;
}

bool ControllerLibrary::MoveEngineDevice_DLL(Byte direction, Byte speedClass) {
  return TRAMOX_GUARDED(MoveEngineDevice)(direction, speedClass) != 0;
}

bool ControllerLibrary::StopTelescopeEngineDevice_DLL(Byte primary, Byte secondary) {
  return TRAMOX_GUARDED(StopTelescopeEngineDevice)(primary, secondary) != 0;
}

bool ControllerLibrary::Stop_ALL_TelescopeEngineDevice_DLL() {
  return TRAMOX_GUARDED(Stop_ALL_TelescopeEngineDevice)() != 0;
}

bool ControllerLibrary::ReturnToSideralSpeedEngineDevice_DLL() {
  return TRAMOX_GUARDED(ReturnToSideralSpeedEngineDevice)() != 0;
}

bool ControllerLibrary::GetSpeed_DLL(std::array<double, 10>& s) {
  return TRAMOX_GUARDED(GetSpeed)(&s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &s[6], &s[7], &s[8],
                                  &s[9]) != 0;
}

bool ControllerLibrary::GetKingPEC_DLL(Byte* king, std::array<double, 4>& a,
                                       std::array<double, 4>& b, std::array<double, 4>& c,
                                       Byte* pec) {
  return TRAMOX_GUARDED(GetKingPEC)(king, a.data(), kKingPecArrayHigh, b.data(), kKingPecArrayHigh,
                                    c.data(), kKingPecArrayHigh, pec) != 0;
}

Byte ControllerLibrary::IsAxisSlewing_DLL(std::int32_t axis) {
  return TRAMOX_GUARDED(IsAxisSlewing)(axis);
}

bool ControllerLibrary::InitTelescopeSeekerDevice_DLL(double* raRad, double* decRad,
                                                      double* lonWestRad, double* zero,
                                                      double* rateRadPerSec) {
  return TRAMOX_GUARDED(InitTelescopeSeekerDevice)(raRad, decRad, lonWestRad, zero,
                                                   rateRadPerSec) != 0;
}

bool ControllerLibrary::StopSlewing_TelescopeSeekerDevice_DLL() {
  return TRAMOX_GUARDED(StopSlewing_TelescopeSeekerDevice)() != 0;
}

bool ControllerLibrary::PulseGuideAscomDevice_DLL(Byte west, Byte south, std::uint16_t primaryMs,
                                                  std::uint16_t secondaryMs) {
  return TRAMOX_GUARDED(PulseGuideAscomDevice)(west, south, primaryMs, secondaryMs) != 0;
}

bool ControllerLibrary::IsPulseGuidingDevice_DLL() {
  return TRAMOX_GUARDED(IsPulseGuidingDevice)() != 0;
}

bool ControllerLibrary::IsParkedDevice_DLL(Byte* parked) {
  return TRAMOX_GUARDED(IsParkedDevice)(parked) != 0;
}

bool ControllerLibrary::ParkTel_DLL(double hourAngleRad, double decRad) {
  return TRAMOX_GUARDED(ParkTel)(hourAngleRad, decRad) != 0;
}

bool ControllerLibrary::UnParkTel_DLL() {
  return TRAMOX_GUARDED(UnParkTel)() != 0;
}

bool ControllerLibrary::StartKingDevice_DLL(double latRad, double lonWestRad, double elevationM,
                                            double pressureHpa) {
  return TRAMOX_GUARDED(StartKingDevice)(latRad, lonWestRad, elevationM, pressureHpa) != 0;
}

bool ControllerLibrary::StartPecSpeedEngineDevice_DLL(std::array<double, 4>& b,
                                                      std::array<double, 4>& c,
                                                      std::array<double, 4>& a) {
  return TRAMOX_GUARDED(StartPecSpeedEngineDevice)(b.data(), kKingPecArrayHigh, c.data(),
                                                   kKingPecArrayHigh, a.data(),
                                                   kKingPecArrayHigh) != 0;
}

bool ControllerLibrary::TelescopeOuest_DLL() {
  return TRAMOX_GUARDED(TelescopeOuest)() != 0;
}

bool ControllerLibrary::GermanMount_DLL() {
  return TRAMOX_GUARDED(GermanMount)() != 0;
}

#undef TRAMOX_GUARDED

}  // namespace tramox::controller
