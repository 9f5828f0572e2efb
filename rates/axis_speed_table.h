#pragma once
// The ten controller speeds behind MoveAxis, process-wide, zero until the first AxisRates.
// AxisRates fills all ten from GetSpeed_DLL and converts values 3, 4, 7, 8, 9 and 10 to
// degrees per second; 1, 2, 5 and 6 stay as the controller gave them (rad/s) and are unused.
#include <array>

namespace tramox::rates {

struct AxisSpeedTable {
  std::array<double, 10> values{};

  // 1-based, as the controller numbers its speeds: value(9) is the primary axis's SMax.
  double value(int number) const { return values.at(static_cast<std::size_t>(number - 1)); }
};

}  // namespace tramox::rates
