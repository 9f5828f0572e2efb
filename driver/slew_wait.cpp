#include "driver/slew_wait.h"

#include <cstdio>

namespace tramox::driver {

double slewTimeLimitFrom(std::optional<std::int32_t> configuredSeconds) {
  if (configuredSeconds && *configuredSeconds > 0) {
    return *configuredSeconds;
  }
  return kDefaultSlewTimeoutSeconds;
}

std::string slewTimeoutMessage(double limitSeconds) {
  char text[96];
  std::snprintf(text, sizeof text, "Slew not finished after %.0f s, slew stopped", limitSeconds);
  return text;
}

}  // namespace tramox::driver
