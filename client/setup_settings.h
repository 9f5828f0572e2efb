#pragma once
// The settings a setup page edits or shows beside the driver's members (the log switch, the
// slew time limit, the guide rate, the park position, where the controller library comes
// from), named and checked as the driver does: a front end reaches them here rather than in
// the driver's own headers.
#include "controller/controller_library.h"
#include "diag/diagnostic_log.h"
#include "driver/guide_rate_setting.h"
#include "driver/park_setting.h"
#include "driver/slew_wait.h"

namespace tramox::client {

using controller::controllerLibraryPath;
using diag::kLogEnabledValue;
using driver::kDefaultSlewTimeoutSeconds;
using driver::kGuideRateValue;
using driver::kParkDeclinationValue;
using driver::kParkHourAngleValue;
using driver::kSlewTimeoutValue;
using driver::storedGuideRate;
using driver::storeGuideRate;

}  // namespace tramox::client
