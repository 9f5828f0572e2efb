#include "driver/guide_rate_setting.h"

#include "driver/value_ranges.h"

namespace tramox::driver {

std::optional<double> storedGuideRate(platform::SettingsKey& settings) {
  const std::optional<double> stored = settings.readDouble(kGuideRateValue);
  if (stored) {
    requireStoredInRange(kGuideRateValue, *stored, *stored, kGuideRateRange);
  }
  return stored;
}

void storeGuideRate(platform::SettingsKey& settings, double siderealMultiple) {
  requireInRange(siderealMultiple, kGuideRateRange);
  settings.writeDouble(kGuideRateValue, siderealMultiple);
}

}  // namespace tramox::driver
