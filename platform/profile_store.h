#pragma once
// The ASCOM platform's profile store ("DriverHelper.Profile"). The driver only creates it when
// the machine-wide key of ascomProfileKey() can be opened (checked through IRegistry).
#include <string>

namespace tramox::platform {

// Under HKEY_LOCAL_MACHINE.
inline constexpr const char* kAscomProfileKey =
    "Software\\ASCOM\\Telescope Drivers\\TRAMOX.Telescope";

class IProfileStore {
 public:
  virtual ~IProfileStore() = default;
  // Throw std::runtime_error when the store cannot be created or written.
  virtual void writeValue(const std::string& driverId, const std::string& name,
                          const std::string& text) = 0;
  // The empty text when the value is unset.
  virtual std::string getValue(const std::string& driverId, const std::string& name) = 0;
};

}  // namespace tramox::platform
