#pragma once
// What a paddle error box means, for a front end that sees only its text: the paddle's
// handlers report a failure through the box alone, so no reason travels with it.
#include <string>
#include <string_view>

#include "driver/telescope_messages.h"
#include "paddle/error_box_text.h"

namespace tramox::client {

// Park before any Set Park.
inline bool showsMissingParkPosition(std::string_view errorBox) {
  return driver::messages::isMissingParkPosition(errorBox);
}

// The controller refused to stop an axis: the axis may still be moving.
inline bool showsRefusedStop(std::string_view errorBox) {
  static const std::string refused = paddle::errorBoxText(driver::messages::kStopAxisImpossible);
  return errorBox == refused;
}

}  // namespace tramox::client
