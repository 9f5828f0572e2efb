#include "driver/value_ranges.h"

#include <cstdio>

#include "common/driver_error.h"

namespace tramox::driver {

namespace {
bool inRange(double value, const ValueRange& range) {
  return value >= range.low && value <= range.high;
}
}  // namespace

void requireInRange(double value, const ValueRange& range) {
  if (!inRange(value, range)) {
    throw DriverError(codes::kInvalidValue, range.message);
  }
}

void requireStoredInRange(const std::string& name, double stored, double value,
                          const ValueRange& range) {
  if (inRange(value, range)) {
    return;
  }
  char shown[32];
  std::snprintf(shown, sizeof shown, "%.17g", stored);
  throw DriverError(codes::kInvalidValue,
                    "Stored \"" + name + "\"=" + shown + ": " + std::string(range.message));
}

}  // namespace tramox::driver
