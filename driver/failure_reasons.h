#pragma once
// The reason of a driver failure told from its code and message alone, for a client that
// receives only those (real COM's error information). It gives the reason the driver raised
// the failure with.
#include <cstdint>
#include <string_view>

#include "common/failure_reason.h"

namespace tramox::driver {

FailureReason failureReason(std::int32_t code, std::string_view message);

}  // namespace tramox::driver
