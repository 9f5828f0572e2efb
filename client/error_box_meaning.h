#pragma once
// What a paddle error box means, for a front end that sees only its text: the paddle's
// handlers report a failure through the box alone, so no reason travels with it.
#include <string_view>

#include "driver/telescope_messages.h"

namespace tramox::client {

// Park before any Set Park.
inline bool showsMissingParkPosition(std::string_view errorBox) {
  return driver::messages::isMissingParkPosition(errorBox);
}

}  // namespace tramox::client
