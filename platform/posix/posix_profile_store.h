#pragma once
// The ASCOM profile without the ASCOM platform: each driver's values are string values of its
// registration key "Software\ASCOM\Telescope Drivers\<driver id>" under HKEY_LOCAL_MACHINE.
#include <string>

#include "platform/profile_store.h"
#include "platform/registry.h"

namespace tramox::platform {

class PosixProfileStore : public IProfileStore {
 public:
  explicit PosixProfileStore(IRegistry& registry) : registry_(registry) {}

  void writeValue(const std::string& driverId, const std::string& name,
                  const std::string& text) override;
  std::string getValue(const std::string& driverId, const std::string& name) override;

  static std::string keyOf(const std::string& driverId);

 private:
  IRegistry& registry_;
};

}  // namespace tramox::platform
