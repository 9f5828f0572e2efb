#pragma once
// The guide rate a person stores for the mount: the controller cannot tell it, so it is a
// settings value, "GuideRate", an 8-byte binary multiple of the sidereal rate in ]0, 2].
#include <optional>

#include "platform/settings_key.h"

namespace tramox::driver {

inline constexpr const char* kGuideRateValue = "GuideRate";
inline constexpr const char* kGuideRateNotSetMessage =
    "Guide rate not set: store \"GuideRate\" (a multiple of the sidereal rate, in ]0,2]) on the "
    "setup page or in the settings key";

// nullopt while not set; a stored value out of range fails as a stored site value does, one
// of another type with the settings key's own error.
std::optional<double> storedGuideRate(platform::SettingsKey& settings);
// DriverError 0x80040405 with the range's message for a value outside ]0, 2].
void storeGuideRate(platform::SettingsKey& settings, double siderealMultiple);

}  // namespace tramox::driver
