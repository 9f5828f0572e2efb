#pragma once
// The loaded controller library: one handle and one slot per entry point, process-wide (owned
// by the driver's runtime). Every call goes through one guard, so nothing ever calls an empty
// slot or a released library.
#include <array>
#include <cstdint>
#include <string>

#include "controller/entry_points.h"
#include "platform/library_loader.h"
#include "platform/message_windows.h"

namespace tramox::controller {

// Message of the DriverError (code 0x80040401) raised by a call while no library is loaded.
inline constexpr const char* kNotLoadedMessage = "Controller library not loaded";

// TRAMOX_CONTROLLER when set; otherwise the platform's fixed location (Windows: the Windows
// directory followed by "\System32\Tramox_Telescope.dll").
std::string controllerLibraryPath(platform::ILibraryLoader& loader);

class ControllerLibrary {
 public:
  ControllerLibrary(platform::ILibraryLoader& loader, platform::IMessageWindows& messages,
                    std::string path);
  ~ControllerLibrary();  // does not release the library: the maker's library stays loaded
  ControllerLibrary(const ControllerLibrary&) = delete;
  ControllerLibrary& operator=(const ControllerLibrary&) = delete;

  // LoadControllerLibrary: loads once, resolves every entry point, shows a message for each
  // problem and never throws.
  void LoadControllerLibrary();
  // FreeLibrary and clear every slot; harmless when nothing is loaded.
  void Release();
  bool loaded() const;
  const std::string& path() const;

  // Guarded calls, one per entry point, with the contract's arguments. Each throws
  // DriverError(0x80040401, kNotLoadedMessage) while no library is loaded, and returns the
  // entry point's byte result as a bool (nonzero = true), except IsAxisSlewing_DLL which
  // returns the raw byte.
  bool Init_telescope_Panel_DLL(std::int32_t a, std::int32_t b, std::int32_t c);
  bool InitCodeursDevice_DLL(std::int32_t* port, std::int32_t zero, double latRad,
                             double lonWestRad);
  bool CloseCodeursDevice_DLL();
  bool CalibrateCodeursDevice_DLL(double raRad, double decRad);
  bool CheckCodeursCodeursDevice_DLL();
  bool GetAlphaCodeursDevice_DLL(double* raRad);
  bool GetDeltaCodeursDevice_DLL(double* decRad);
  bool MoveEngineDevice_DLL(Byte direction, Byte speedClass);
  bool StopTelescopeEngineDevice_DLL(Byte primary, Byte secondary);
  bool Stop_ALL_TelescopeEngineDevice_DLL();
  bool ReturnToSideralSpeedEngineDevice_DLL();
  bool GetSpeed_DLL(std::array<double, 10>& speedsRadPerSec);
  bool GetKingPEC_DLL(Byte* king, std::array<double, 4>& a, std::array<double, 4>& b,
                      std::array<double, 4>& c, Byte* pec);
  Byte IsAxisSlewing_DLL(std::int32_t axis);
  bool InitTelescopeSeekerDevice_DLL(double* raRad, double* decRad, double* lonWestRad,
                                     double* zero, double* rateRadPerSec);
  bool StopSlewing_TelescopeSeekerDevice_DLL();
  bool PulseGuideAscomDevice_DLL(Byte west, Byte south, std::uint16_t primaryMs,
                                 std::uint16_t secondaryMs);
  bool IsPulseGuidingDevice_DLL();
  bool IsParkedDevice_DLL(Byte* parked);
  bool ParkTel_DLL(double hourAngleRad, double decRad);
  bool UnParkTel_DLL();
  bool StartKingDevice_DLL(double latRad, double lonWestRad, double elevationM, double pressureHpa);
  bool StartPecSpeedEngineDevice_DLL(std::array<double, 4>& b, std::array<double, 4>& c,
                                     std::array<double, 4>& a);
  bool TelescopeOuest_DLL();
  bool GermanMount_DLL();

 private:
  // Implementation-defined: handle, slots and the guard.
  struct Slots;
  platform::ILibraryLoader& loader_;
  platform::IMessageWindows& messages_;
  std::string path_;
  platform::ILibraryLoader::Handle handle_ = nullptr;
  Slots* slots_ = nullptr;
};

}  // namespace tramox::controller
