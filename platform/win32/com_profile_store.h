#pragma once
// The ASCOM profile store: the automation object "DriverHelper.Profile", created late-bound for
// each call (as the driver always did) and driven by name through IDispatch, so any version of
// the ASCOM platform, or a stand-in registered under the same name, will do.
#include "platform/profile_store.h"

namespace tramox::platform::win32 {

class ComProfileStore final : public IProfileStore {
 public:
  static constexpr const char* kProgId = "DriverHelper.Profile";

  void writeValue(const std::string& driverId, const std::string& name,
                  const std::string& text) override;
  std::string getValue(const std::string& driverId, const std::string& name) override;
};

}  // namespace tramox::platform::win32
