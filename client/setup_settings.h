#pragma once
// The settings a setup page edits beside the driver's members (the slew time limit, the guide
// rate, where the controller library comes from), named and checked as the driver does: a
// front end reaches them here rather than in the driver's own headers.
#include "controller/controller_library.h"
#include "driver/guide_rate_setting.h"
#include "driver/slew_wait.h"

namespace tramox::client {

using controller::controllerLibraryPath;
using driver::kDefaultSlewTimeoutSeconds;
using driver::kGuideRateValue;
using driver::kSlewTimeoutValue;
using driver::storedGuideRate;
using driver::storeGuideRate;

}  // namespace tramox::client
